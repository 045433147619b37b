#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vexora {

// The six languages the generator offers for scripts.
struct UGCShortsLanguage {
    QString code;  // sent to the service
    QString flag;
    QString name;   // the language's own name
    QString label;  // the same without diacritics

    bool operator==(const UGCShortsLanguage&) const = default;

    static const QList<UGCShortsLanguage>& all();
    static std::optional<UGCShortsLanguage> byCode(const QString& code);  // exact, case-sensitive
};

size_t qHash(const UGCShortsLanguage& language, size_t seed = 0);

}  // namespace vexora
