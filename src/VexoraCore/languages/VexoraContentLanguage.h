#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace vexora {

enum class VexoraContentLanguageRegion { core, europe, asia, middleEast, africaOther };

QString rawValue(VexoraContentLanguageRegion region);
QString title(VexoraContentLanguageRegion region);
const QList<VexoraContentLanguageRegion>& allContentLanguageRegions();

// The full catalogue of content languages the service knows, by region. The codes are the
// service's own ("br", "cn", "tw", "en-gb"), sent as they are.
struct VexoraContentLanguage {
    QString code;
    QString name;        // in English
    QString nativeName;
    QString label;       // nativeName + " (" + name + ")", or name alone when the two agree
    QString flag;
    VexoraContentLanguageRegion region = VexoraContentLanguageRegion::core;

    bool operator==(const VexoraContentLanguage&) const = default;

    static const QList<VexoraContentLanguage>& all();
    static std::optional<VexoraContentLanguage> byCode(const QString& code);
    // One pair per region, in region order, even for a region without languages.
    static QList<std::pair<VexoraContentLanguageRegion, QList<VexoraContentLanguage>>> grouped();
};

size_t qHash(const VexoraContentLanguage& language, size_t seed = 0);

}  // namespace vexora
