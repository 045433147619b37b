#include "languages/VexoraContentLanguage.h"

#include <QHashFunctions>

namespace vexora {

using Region = VexoraContentLanguageRegion;

namespace {

VexoraContentLanguage entry(QString code, QString name, QString nativeName, QString flag, Region region) {
    QString label = nativeName == name ? name : nativeName + QStringLiteral(" (") + name + QLatin1Char(')');
    return VexoraContentLanguage{std::move(code), std::move(name), std::move(nativeName), std::move(label),
                                 std::move(flag), region};
}

}  // namespace

QString rawValue(Region region) {
    switch (region) {
    case Region::core: return QStringLiteral("core");
    case Region::europe: return QStringLiteral("europe");
    case Region::asia: return QStringLiteral("asia");
    case Region::middleEast: return QStringLiteral("middleEast");
    case Region::africaOther: return QStringLiteral("africaOther");
    }
    return {};
}

QString title(Region region) {
    switch (region) {
    case Region::core: return QStringLiteral("Core");
    case Region::europe: return QStringLiteral("Europe");
    case Region::asia: return QStringLiteral("Asia");
    case Region::middleEast: return QStringLiteral("Middle East");
    case Region::africaOther: return QStringLiteral("Africa & Other");
    }
    return {};
}

const QList<Region>& allContentLanguageRegions() {
    static const QList<Region> regions{Region::core, Region::europe, Region::asia, Region::middleEast, Region::africaOther};
    return regions;
}

const QList<VexoraContentLanguage>& VexoraContentLanguage::all() {
    static const QList<VexoraContentLanguage> languages{
        entry(QString::fromUtf8("en"), QString::fromUtf8("English"), QString::fromUtf8("English"), QString::fromUtf8("🇺🇸"), Region::core),
        entry(QString::fromUtf8("es"), QString::fromUtf8("Spanish"), QString::fromUtf8("Español"), QString::fromUtf8("🇪🇸"), Region::core),
        entry(QString::fromUtf8("ru"), QString::fromUtf8("Russian"), QString::fromUtf8("Русский"), QString::fromUtf8("🇷🇺"), Region::core),
        entry(QString::fromUtf8("fr"), QString::fromUtf8("French"), QString::fromUtf8("Français"), QString::fromUtf8("🇫🇷"), Region::core),
        entry(QString::fromUtf8("de"), QString::fromUtf8("German"), QString::fromUtf8("Deutsch"), QString::fromUtf8("🇩🇪"), Region::core),
        entry(QString::fromUtf8("it"), QString::fromUtf8("Italian"), QString::fromUtf8("Italiano"), QString::fromUtf8("🇮🇹"), Region::core),
        entry(QString::fromUtf8("pt"), QString::fromUtf8("Portuguese"), QString::fromUtf8("Português"), QString::fromUtf8("🇵🇹"), Region::core),
        entry(QString::fromUtf8("br"), QString::fromUtf8("Brazilian Portuguese"), QString::fromUtf8("Português (Brasil)"), QString::fromUtf8("🇧🇷"), Region::core),
        entry(QString::fromUtf8("cn"), QString::fromUtf8("Chinese (Simplified)"), QString::fromUtf8("简体中文"), QString::fromUtf8("🇨🇳"), Region::core),
        entry(QString::fromUtf8("ja"), QString::fromUtf8("Japanese"), QString::fromUtf8("日本語"), QString::fromUtf8("🇯🇵"), Region::core),
        entry(QString::fromUtf8("ko"), QString::fromUtf8("Korean"), QString::fromUtf8("한국어"), QString::fromUtf8("🇰🇷"), Region::core),
        entry(QString::fromUtf8("hi"), QString::fromUtf8("Hindi"), QString::fromUtf8("हिन्दी"), QString::fromUtf8("🇮🇳"), Region::core),
        entry(QString::fromUtf8("pl"), QString::fromUtf8("Polish"), QString::fromUtf8("Polski"), QString::fromUtf8("🇵🇱"), Region::core),
        entry(QString::fromUtf8("nl"), QString::fromUtf8("Dutch"), QString::fromUtf8("Nederlands"), QString::fromUtf8("🇳🇱"), Region::europe),
        entry(QString::fromUtf8("tr"), QString::fromUtf8("Turkish"), QString::fromUtf8("Türkçe"), QString::fromUtf8("🇹🇷"), Region::europe),
        entry(QString::fromUtf8("sv"), QString::fromUtf8("Swedish"), QString::fromUtf8("Svenska"), QString::fromUtf8("🇸🇪"), Region::europe),
        entry(QString::fromUtf8("no"), QString::fromUtf8("Norwegian"), QString::fromUtf8("Norsk"), QString::fromUtf8("🇳🇴"), Region::europe),
        entry(QString::fromUtf8("da"), QString::fromUtf8("Danish"), QString::fromUtf8("Dansk"), QString::fromUtf8("🇩🇰"), Region::europe),
        entry(QString::fromUtf8("fi"), QString::fromUtf8("Finnish"), QString::fromUtf8("Suomi"), QString::fromUtf8("🇫🇮"), Region::europe),
        entry(QString::fromUtf8("cs"), QString::fromUtf8("Czech"), QString::fromUtf8("Čeština"), QString::fromUtf8("🇨🇿"), Region::europe),
        entry(QString::fromUtf8("hu"), QString::fromUtf8("Hungarian"), QString::fromUtf8("Magyar"), QString::fromUtf8("🇭🇺"), Region::europe),
        entry(QString::fromUtf8("ro"), QString::fromUtf8("Romanian"), QString::fromUtf8("Română"), QString::fromUtf8("🇷🇴"), Region::europe),
        entry(QString::fromUtf8("en-gb"), QString::fromUtf8("English (UK)"), QString::fromUtf8("English (UK)"), QString::fromUtf8("🇬🇧"), Region::europe),
        entry(QString::fromUtf8("bg"), QString::fromUtf8("Bulgarian"), QString::fromUtf8("Български"), QString::fromUtf8("🇧🇬"), Region::europe),
        entry(QString::fromUtf8("sr"), QString::fromUtf8("Serbian"), QString::fromUtf8("Српски"), QString::fromUtf8("🇷🇸"), Region::europe),
        entry(QString::fromUtf8("hr"), QString::fromUtf8("Croatian"), QString::fromUtf8("Hrvatski"), QString::fromUtf8("🇭🇷"), Region::europe),
        entry(QString::fromUtf8("el"), QString::fromUtf8("Greek"), QString::fromUtf8("Ελληνικά"), QString::fromUtf8("🇬🇷"), Region::europe),
        entry(QString::fromUtf8("sk"), QString::fromUtf8("Slovak"), QString::fromUtf8("Slovenčina"), QString::fromUtf8("🇸🇰"), Region::europe),
        entry(QString::fromUtf8("sl"), QString::fromUtf8("Slovenian"), QString::fromUtf8("Slovenščina"), QString::fromUtf8("🇸🇮"), Region::europe),
        entry(QString::fromUtf8("lt"), QString::fromUtf8("Lithuanian"), QString::fromUtf8("Lietuvių"), QString::fromUtf8("🇱🇹"), Region::europe),
        entry(QString::fromUtf8("lv"), QString::fromUtf8("Latvian"), QString::fromUtf8("Latviešu"), QString::fromUtf8("🇱🇻"), Region::europe),
        entry(QString::fromUtf8("et"), QString::fromUtf8("Estonian"), QString::fromUtf8("Eesti"), QString::fromUtf8("🇪🇪"), Region::europe),
        entry(QString::fromUtf8("tw"), QString::fromUtf8("Chinese (Traditional)"), QString::fromUtf8("繁體中文"), QString::fromUtf8("🇹🇼"), Region::asia),
        entry(QString::fromUtf8("id"), QString::fromUtf8("Indonesian"), QString::fromUtf8("Bahasa Indonesia"), QString::fromUtf8("🇮🇩"), Region::asia),
        entry(QString::fromUtf8("th"), QString::fromUtf8("Thai"), QString::fromUtf8("ไทย"), QString::fromUtf8("🇹🇭"), Region::asia),
        entry(QString::fromUtf8("vi"), QString::fromUtf8("Vietnamese"), QString::fromUtf8("Tiếng Việt"), QString::fromUtf8("🇻🇳"), Region::asia),
        entry(QString::fromUtf8("ms"), QString::fromUtf8("Malay"), QString::fromUtf8("Bahasa Melayu"), QString::fromUtf8("🇲🇾"), Region::asia),
        entry(QString::fromUtf8("fil"), QString::fromUtf8("Filipino"), QString::fromUtf8("Filipino"), QString::fromUtf8("🇵🇭"), Region::asia),
        entry(QString::fromUtf8("bn"), QString::fromUtf8("Bengali"), QString::fromUtf8("বাংলা"), QString::fromUtf8("🇧🇩"), Region::asia),
        entry(QString::fromUtf8("ta"), QString::fromUtf8("Tamil"), QString::fromUtf8("தமிழ்"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("te"), QString::fromUtf8("Telugu"), QString::fromUtf8("తెలుగు"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("kn"), QString::fromUtf8("Kannada"), QString::fromUtf8("ಕನ್ನಡ"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("ml"), QString::fromUtf8("Malayalam"), QString::fromUtf8("മലയാളം"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("mr"), QString::fromUtf8("Marathi"), QString::fromUtf8("मराठी"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("gu"), QString::fromUtf8("Gujarati"), QString::fromUtf8("ગુજરાતી"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("pa"), QString::fromUtf8("Punjabi"), QString::fromUtf8("ਪੰਜਾਬੀ"), QString::fromUtf8("🇮🇳"), Region::asia),
        entry(QString::fromUtf8("ar"), QString::fromUtf8("Arabic"), QString::fromUtf8("العربية"), QString::fromUtf8("🇸🇦"), Region::middleEast),
        entry(QString::fromUtf8("he"), QString::fromUtf8("Hebrew"), QString::fromUtf8("עברית"), QString::fromUtf8("🇮🇱"), Region::middleEast),
        entry(QString::fromUtf8("fa"), QString::fromUtf8("Persian"), QString::fromUtf8("فارسی"), QString::fromUtf8("🇮🇷"), Region::middleEast),
        entry(QString::fromUtf8("ur"), QString::fromUtf8("Urdu"), QString::fromUtf8("اردو"), QString::fromUtf8("🇵🇰"), Region::middleEast),
        entry(QString::fromUtf8("ps"), QString::fromUtf8("Pashto"), QString::fromUtf8("پښتو"), QString::fromUtf8("🇦🇫"), Region::middleEast),
        entry(QString::fromUtf8("sw"), QString::fromUtf8("Swahili"), QString::fromUtf8("Kiswahili"), QString::fromUtf8("🇰🇪"), Region::africaOther),
        entry(QString::fromUtf8("af"), QString::fromUtf8("Afrikaans"), QString::fromUtf8("Afrikaans"), QString::fromUtf8("🇿🇦"), Region::africaOther),
        entry(QString::fromUtf8("zu"), QString::fromUtf8("Zulu"), QString::fromUtf8("isiZulu"), QString::fromUtf8("🇿🇦"), Region::africaOther),
        entry(QString::fromUtf8("am"), QString::fromUtf8("Amharic"), QString::fromUtf8("አማርኛ"), QString::fromUtf8("🇪🇹"), Region::africaOther),
    };
    return languages;
}

std::optional<VexoraContentLanguage> VexoraContentLanguage::byCode(const QString& code) {
    for (const auto& language : all())
        if (language.code == code) return language;
    return std::nullopt;
}

QList<std::pair<Region, QList<VexoraContentLanguage>>> VexoraContentLanguage::grouped() {
    QList<std::pair<Region, QList<VexoraContentLanguage>>> groups;
    for (Region region : allContentLanguageRegions()) {
        QList<VexoraContentLanguage> members;
        for (const auto& language : all())
            if (language.region == region) members.append(language);
        groups.append({region, members});
    }
    return groups;
}

size_t qHash(const VexoraContentLanguage& language, size_t seed) { return qHash(language.code, seed); }

}  // namespace vexora
