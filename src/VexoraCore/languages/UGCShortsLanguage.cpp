#include "languages/UGCShortsLanguage.h"

#include <QHashFunctions>

namespace vexora {

const QList<UGCShortsLanguage>& UGCShortsLanguage::all() {
    static const QList<UGCShortsLanguage> languages{
        {QString::fromUtf8("en"), QString::fromUtf8("🇺🇸"), QString::fromUtf8("English"), QString::fromUtf8("English")},
        {QString::fromUtf8("pt"), QString::fromUtf8("🇵🇹"), QString::fromUtf8("Português"), QString::fromUtf8("Portugues")},
        {QString::fromUtf8("de"), QString::fromUtf8("🇩🇪"), QString::fromUtf8("Deutsch"), QString::fromUtf8("Deutsch")},
        {QString::fromUtf8("es"), QString::fromUtf8("🇪🇸"), QString::fromUtf8("Español"), QString::fromUtf8("Espanol")},
        {QString::fromUtf8("fr"), QString::fromUtf8("🇫🇷"), QString::fromUtf8("Français"), QString::fromUtf8("Francais")},
        {QString::fromUtf8("it"), QString::fromUtf8("🇮🇹"), QString::fromUtf8("Italiano"), QString::fromUtf8("Italiano")},
    };
    return languages;
}

std::optional<UGCShortsLanguage> UGCShortsLanguage::byCode(const QString& code) {
    for (const auto& language : all())
        if (language.code == code) return language;
    return std::nullopt;
}

size_t qHash(const UGCShortsLanguage& language, size_t seed) { return qHash(language.code, seed); }

}  // namespace vexora
