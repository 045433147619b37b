#include "config/UGCAppConfiguration.h"
#include "config/UGCRuntimeConfiguration.h"
#include "foundation/BundleInfo.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

using namespace vexora;
using vexora::test::ScopedEnvironment;

namespace {

// Runs as the bundle with `identifier` (none: a bundle that reports no identifier).
class ScopedBundle {
public:
    explicit ScopedBundle(std::optional<QString> identifier) {
        BundleInfo bundle = BundleInfo::compiled();
        bundle.identifier = std::move(identifier);
        BundleInfo::setMainForTesting(bundle);
    }
    ~ScopedBundle() { BundleInfo::setMainForTesting(std::nullopt); }
};

const CoreAppConfiguration& core() { return UGCAppConfiguration::core(); }

}  // namespace

TEST(CoreAppConfiguration, BaseURLComesFromTheEnvironmentAndAnUnusableOneReachesNoService) {
    const QUrl builtIn = [] {
        ScopedEnvironment unset("VEXORA_API_BASE_URL", std::nullopt);
        EXPECT_EQ(core().apiBaseURLProblem(), std::nullopt);
        return core().apiBaseURL();
    }();
    EXPECT_EQ(builtIn.scheme(), "https");
    {
        ScopedEnvironment empty("VEXORA_API_BASE_URL", "");
        EXPECT_EQ(core().apiBaseURL(), builtIn);
        EXPECT_EQ(core().apiBaseURLProblem(), std::nullopt);
    }
    {
        ScopedEnvironment local("VEXORA_API_BASE_URL", "http://127.0.0.1:8080/");
        EXPECT_EQ(core().apiBaseURL(), QUrl("http://127.0.0.1:8080/"));
        EXPECT_EQ(core().apiBaseURLProblem(), std::nullopt);
    }
    // Not trimmed: a trailing blank makes the value unusable, like a missing scheme. The user meant
    // another service than the production one, so no request (nor password) may go there.
    for (const char* unusable : {"http://127.0.0.1:8080/ ", "localhost:8080"}) {
        ScopedEnvironment value("VEXORA_API_BASE_URL", unusable);
        EXPECT_TRUE(core().apiBaseURL().isEmpty()) << unusable;
        const std::optional<QString> problem = core().apiBaseURLProblem();
        ASSERT_TRUE(problem) << unusable;
        EXPECT_TRUE(problem->contains("VEXORA_API_BASE_URL")) << problem->toStdString();
    }
}

TEST(CoreAppConfiguration, AppcastURLIsTrimmedWithADefault) {
    {
        ScopedEnvironment blanks("VEXORA_APPCAST_URL", " \t\n ");
        EXPECT_EQ(core().appcastURL(), core().defaultAppcastURL);
        EXPECT_TRUE(core().defaultAppcastURL.startsWith("https://"));
        EXPECT_TRUE(core().defaultAppcastURL.endsWith("/macos/ugc-volley/appcast.xml"));
    }
    ScopedEnvironment padded("VEXORA_APPCAST_URL", "  https://example.test/feed.xml\n");
    EXPECT_EQ(core().appcastURL(), "https://example.test/feed.xml");
}

TEST(CoreAppConfiguration, BundleIdentityDecidesProduction) {
    {
        ScopedBundle production(QStringLiteral("com.vexora.ugcvolley"));
        EXPECT_TRUE(core().isProductionBundle());
        EXPECT_TRUE(core().supportsUpdater());
    }
    {
        ScopedBundle unnamed(std::nullopt);
        EXPECT_EQ(core().bundleIdentifier(), "com.vexora.ugcvolley.qa");
        EXPECT_FALSE(core().isProductionBundle());
    }
    ScopedBundle differentCase(QStringLiteral("com.Vexora.ugcvolley"));
    EXPECT_FALSE(core().isProductionBundle());
}

TEST(UGCAppConfiguration, BooleanSwitchesAreOnOnlyForExactlyOne) {
    for (const char* off : {"01", "true", "1 ", " 1", "yes", ""}) {
        ScopedEnvironment value("VEXORA_UGC_STUB_MODE", QByteArray(off));
        EXPECT_FALSE(UGCAppConfiguration::stubMode()) << '"' << off << '"';
    }
    ScopedEnvironment stub("VEXORA_UGC_STUB_MODE", "1");
    ScopedEnvironment panel("VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH", "1");
    ScopedEnvironment live("VEXORA_UGC_DEBUG_ALLOW_LIVE_AUTOGENERATE", "true");
    EXPECT_TRUE(UGCAppConfiguration::stubMode());
    EXPECT_TRUE(UGCAppConfiguration::debugShowPanelOnLaunch());
    EXPECT_FALSE(UGCAppConfiguration::allowsLiveDebugAutogenerate());
}

TEST(UGCAppConfiguration, PollTimeoutParsesTheWholeValueAsADecimal) {
    const std::pair<std::optional<QByteArray>, double> cases[] = {
        {"90", 90},   {"1e3", 1000}, {"-5", -5},  {"0", 0},    {"+2.5", 2.5}, {"90s", 600},  {"", 600},
        {" 90", 600}, {"90 ", 600},  {"9,5", 600}, {"0x10", 600}, {"nan", 600}, {"inf", 600}, {std::nullopt, 600},
    };
    for (const auto& [text, expected] : cases) {
        ScopedEnvironment value("VEXORA_UGC_VIDEO_POLL_TIMEOUT_SECONDS", text);
        EXPECT_EQ(UGCAppConfiguration::liveVideoPollTimeoutSeconds(), expected) << text.value_or("(unset)").constData();
    }
}

// The app builds its runtime configuration once at start: that is where an unusable base URL is told.
TEST(UGCRuntimeConfiguration, TrimsTheTopicAndWarnsOnceOfAnUnusableBaseURL) {
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg) warnings.append(text);
    });
    {
        ScopedEnvironment usable("VEXORA_API_BASE_URL", "http://127.0.0.1:8080");
        ScopedEnvironment blank("VEXORA_UGC_DEBUG_AUTOGENERATE_TOPIC", " \n\t ");
        EXPECT_EQ(UGCRuntimeConfiguration::fromEnvironment().debugAutogenerateTopic, std::nullopt);
    }
    ScopedEnvironment unusable("VEXORA_API_BASE_URL", "localhost:8080");
    ScopedEnvironment topic("VEXORA_UGC_DEBUG_AUTOGENERATE_TOPIC", "  Summer sale \n");
    ScopedEnvironment timeout("VEXORA_UGC_VIDEO_POLL_TIMEOUT_SECONDS", "42");
    const UGCRuntimeConfiguration runtime = UGCRuntimeConfiguration::fromEnvironment();
    qInstallMessageHandler(previous);
    EXPECT_EQ(runtime.debugAutogenerateTopic, QStringLiteral("Summer sale"));
    EXPECT_EQ(runtime.liveVideoPollTimeoutSeconds, 42);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("VEXORA_API_BASE_URL")) << warnings[0].toStdString();
    EXPECT_FALSE(warnings[0].contains('\n'));
}
