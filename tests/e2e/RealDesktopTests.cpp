#include "config/UGCAppConfiguration.h"
#include "support/AppDriver.h"
#include "support/CliProcess.h"
#include "support/DevServer.h"
#include "support/LinuxDesktop.h"
#include "support/NotificationServer.h"

#include <QDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace vexora::test {

std::string configName(const DesktopConfig& config) {
    if (config.wayland) return "Weston";
    const char* host = config.host == TrayHost::xfcePanel ? "XfcePanel" : config.host == TrayHost::trayer ? "Trayer" : "NoTray";
    return std::string(host) + (config.edge == Edge::top ? "Top" : "Bottom") + (config.dark ? "Dark" : "Light");
}

void PrintTo(const DesktopConfig& config, std::ostream* out) { *out << configName(config); }

namespace {

const QString title = QStringLiteral("Vexora UGC Volley");
const QString skipTaskbar = QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR");

// The tray app on a desktop of its own, driven as a person would: clicks and keys through the X
// server, judged by what the screen and the window manager show.
class RealDesktop : public ::testing::TestWithParam<DesktopConfig> {
protected:
    // Ended in reverse order: the app, its desktop, then the service.
    DevServer server;
    std::unique_ptr<LinuxDesktop> desktop;
    std::unique_ptr<AppDriver> app;

    void TearDown() override {
        if (HasFailure() && app) std::cerr << "application output:\n" << app->output().toStdString();
    }

    void startDesktop(const DesktopConfig& config, bool withTrayHost = true) {
        desktop = std::make_unique<LinuxDesktop>(config);
        ASSERT_TRUE(desktop->start(withTrayHost));
    }

    QProcessEnvironment appEnvironment() const {
        QProcessEnvironment environment = desktop->environment();
        environment.insert("VEXORA_API_BASE_URL", server.baseURL());
        return environment;
    }

    void launch(const QStringList& arguments = {}) {
        app = std::make_unique<AppDriver>(appEnvironment());
        ASSERT_TRUE(app->start(desktop->home() + "/automation", arguments)) << app->output().toStdString();
    }

    // Qt titles each of the app's windows after it, its menus too (those are override-redirect).
    std::vector<XWindow> appWindows() { return desktop->search({"--name", "^" + title + "$"}); }

    // The panel as the window manager sees it: the app's mapped managed window.
    std::optional<XWindow> shownPanel() {
        for (const XWindow& window : appWindows())
            if (window.viewable && !window.overrideRedirect) return window;
        return std::nullopt;
    }

    bool waitPanel(bool shown, int timeoutMs = 3000) {
        return LinuxDesktop::waitUntil([&] { return shownPanel().has_value() == shown; }, timeoutMs);
    }

    std::optional<QRect> waitIcon(QImage& shot, int timeoutMs) {
        std::optional<QRect> icon, previous;
        // Judged once two screenshots agree: hosts paint a new icon in steps.
        LinuxDesktop::waitUntil([&] {
            previous = std::exchange(icon, desktop->trayIcon(shot = desktop->screenshot()));
            return icon && icon == previous;
        }, timeoutMs);
        return icon;
    }

    // With VEXORA_DESKTOP_SCREENSHOTS naming a folder, moments of the walk are kept there.
    void keepScreenshot(const char* moment) {
        const QString folder = qEnvironmentVariable("VEXORA_DESKTOP_SCREENSHOTS");
        if (!folder.isEmpty())
            desktop->screenshot().save(QDir(folder).filePath(QString::fromStdString(configName(desktop->config())) + "-" + moment + ".png"));
    }

    // Started in the background, the panel opens from the tray icon as a person would open it.
    std::optional<QRect> openFromIcon() {
        QImage shot;
        const std::optional<QRect> icon = waitIcon(shot, 10000);
        if (icon) desktop->click(icon->center());
        if (!icon || !waitPanel(true, 5000)) return std::nullopt;
        return icon;
    }

    std::string windowsSeen() {
        std::ostringstream out;
        out << "windows titled \"" << title.toStdString() << "\":";
        for (const XWindow& window : appWindows())
            out << " [" << window << ' ' << desktop->netWmState(window.id).join(' ').toStdString() << ']';
        out << "; active 0x" << std::hex << desktop->activeWindow();
        return out.str();
    }
};

TEST_P(RealDesktop, Scenario) {
    const DesktopConfig config = GetParam();
    ASSERT_NO_FATAL_FAILURE(startDesktop(config));
    ASSERT_NO_FATAL_FAILURE(launch({"--autostart"}));

    // Started from autostart: an icon in the tray, the panel closed.
    QImage shot;
    const std::optional<QRect> icon = waitIcon(shot, 10000);
    ASSERT_TRUE(icon) << "no icon in the panel strip " << desktop->panelStrip();
    EXPECT_FALSE(app->output().contains("QSystemTrayIcon::setVisible: No Icon set"));
    EXPECT_FALSE(shownPanel()) << windowsSeen();
    const double contrast = desktop->iconContrast(shot, *icon);
    RecordProperty("icon_contrast", QString::number(contrast, 'f', 2).toStdString());
    std::cout << "[ figures  ] " << configName(config) << ": icon " << *icon << ", contrast " << contrast << std::endl;
    EXPECT_GE(contrast, 0.5) << "against " << desktop->panelColor().name().toStdString();
    const QPoint iconCenter = icon->center();

    // A left click opens the panel next to the tray, inside the work area, outside the taskbar.
    desktop->click(iconCenter);
    ASSERT_TRUE(waitPanel(true, 5000)) << windowsSeen();
    keepScreenshot("signed-out");
    const QRect area = desktop->workArea();
    const XWindow opened = *shownPanel();
    const QStringList state = desktop->netWmState(opened.id);
    EXPECT_TRUE(state.contains(skipTaskbar) && state.contains("_NET_WM_STATE_SKIP_PAGER")) << state.join(' ').toStdString();
    EXPECT_TRUE(area.contains(opened.geometry)) << opened << " outside the work area " << area;
    const int gap = config.edge == Edge::top ? opened.geometry.top() - area.top() : area.bottom() - opened.geometry.bottom();
    EXPECT_TRUE(gap >= 0 && gap <= 10) << opened << " is " << gap << " px from the tray's edge of " << area;

    // Keys go to the panel at once: e-mail, Tab, password, Return signs in.
    desktop->type("demo@vexora.local");
    EXPECT_TRUE(app->waitText("auth.email", "demo@vexora.local", 3000))
        << app->state("auth.email").dump() << "; " << windowsSeen();
    desktop->key("Tab");
    desktop->type("demo");
    desktop->key("Return");
    ASSERT_TRUE(app->waitText("ugc.tenant.name", "Demo Workspace", 5000))
        << "typing did not sign in: " << app->state("auth.email").dump() << app->state("auth.error").dump();
    ASSERT_TRUE(app->waitForWorkspace());
    // Signed in, the panel wants more height than the screen has; judged once its size holds still.
    QRect grown;
    int still = 0;
    LinuxDesktop::waitUntil([&] {
        const QRect now = shownPanel().value_or(XWindow()).geometry;
        still = now == std::exchange(grown, now) ? still + 1 : 0;
        return now.size() != opened.geometry.size() && still >= 2;
    }, 4000);
    EXPECT_TRUE(area.contains(grown) && grown.height() <= area.height())
        << "signed in, the panel is " << grown << " in the work area " << area;
    keepScreenshot("signed-in");

    // The command line finds the same session in the keyring.
    QProcess cli;
    startCli(cli, server.baseURL(), desktop->home() + "/.config", {"status", "--json"}, desktop->environment());
    ASSERT_TRUE(cli.waitForFinished(15000));
    const Json status = Json::parse(cli.readAllStandardOutput().toStdString(), nullptr, false);
    EXPECT_TRUE(status.is_object() && status.value("signed_in", false))
        << status.dump() << cli.readAllStandardError().toStdString();

    // Escape closes; the icon opens again with the keyboard in the topic; a click elsewhere closes.
    desktop->key("Escape");
    ASSERT_TRUE(waitPanel(false)) << "Escape left the panel open: " << windowsSeen();
    desktop->click(iconCenter);
    ASSERT_TRUE(waitPanel(true)) << windowsSeen();
    desktop->type("Linen care");
    EXPECT_TRUE(app->waitFor("ugc.topic.editor", [](const Json& s) {
        return QString::fromStdString(s.value("text", "")).contains("Linen care");
    }, 3000)) << app->state("ugc.topic.editor").dump() << "; " << windowsSeen();
    const QRect panelNow = shownPanel().value_or(XWindow()).geometry;
    const QPoint elsewhere(panelNow.center().x() > area.center().x() ? area.left() + 40 : area.right() - 40, area.center().y());
    desktop->click(elsewhere);
    EXPECT_TRUE(waitPanel(false)) << "a click on the desktop at " << elsewhere.x() << ',' << elsewhere.y()
                                  << " left the panel open: " << windowsSeen();

    // A right click closes the panel and opens the menu, whose first item opens the panel.
    if (!shownPanel()) desktop->click(iconCenter);
    ASSERT_TRUE(waitPanel(true)) << windowsSeen();
    std::vector<quint32> before;
    for (const XWindow& window : desktop->overrideRedirectWindows()) before.push_back(window.id);
    desktop->click(iconCenter, 3);
    std::optional<XWindow> menu;
    LinuxDesktop::waitUntil([&] {
        for (const XWindow& window : desktop->overrideRedirectWindows())
            if (std::find(before.begin(), before.end(), window.id) == before.end() &&
                window.geometry.adjusted(-40, -40, 40, 40).contains(iconCenter))
                menu = window;
        return menu.has_value();
    }, 3000);
    EXPECT_TRUE(waitPanel(false)) << "the panel stayed over the context menu: " << windowsSeen();
    ASSERT_TRUE(menu) << "no menu showed near the icon";
    desktop->click({menu->geometry.center().x(), menu->geometry.top() + 15});
    EXPECT_TRUE(waitPanel(true)) << "the menu's first item did not open the panel; menu " << *menu;

    // A second start hands over to the running one: exits at once, its panel shows, one icon.
    if (shownPanel()) desktop->click(iconCenter);
    EXPECT_TRUE(waitPanel(false)) << "the icon did not close the panel: " << windowsSeen();
    QProcess second;
    second.setProcessEnvironment(appEnvironment());
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(QStringLiteral(VEXORA_APP_PATH), QStringList());
    const bool exited = second.waitForFinished(1000);
    EXPECT_TRUE(exited && second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0)
        << (exited ? "exit code " + std::to_string(second.exitCode()) : std::string("still running after 1 s"))
        << ' ' << second.readAll().toStdString();
    EXPECT_TRUE(waitPanel(true)) << "the running instance's panel did not show: " << windowsSeen();
    const auto icons = [&] {
        if (config.host == TrayHost::xfcePanel) return desktop->statusNotifierItems().join(' ').toStdString();
        return ::testing::PrintToString(desktop->trayIcon(desktop->screenshot()).value_or(QRect()));
    };
    const std::string alone =
        config.host == TrayHost::xfcePanel ? desktop->statusNotifierItems().value(0).toStdString() : ::testing::PrintToString(*icon);
    // A second icon would come while the second process runs: watched for as long as it does.
    EXPECT_FALSE(LinuxDesktop::waitUntil([&] { return icons() != alone; }, exited ? 500 : 3000))
        << "icons now: " << icons() << ", before: " << alone;
    if (!exited) {
        second.kill();
        second.waitForFinished(3000);
    }
}

INSTANTIATE_TEST_SUITE_P(, RealDesktop,
                         ::testing::Values(DesktopConfig{TrayHost::xfcePanel, Edge::top, true},
                                           DesktopConfig{TrayHost::xfcePanel, Edge::bottom, false},
                                           DesktopConfig{TrayHost::trayer, Edge::top, false},
                                           DesktopConfig{TrayHost::trayer, Edge::bottom, true}),
                         [](const ::testing::TestParamInfo<DesktopConfig>& info) { return configName(info.param); });

// Without a tray the panel is the application's window; a tray that comes takes it in, and when
// the tray goes the window comes back.
TEST_F(RealDesktop, TrayArrivesAndLeaves) {
    ASSERT_NO_FATAL_FAILURE(startDesktop({TrayHost::trayer, Edge::top, false}, false));
    ASSERT_NO_FATAL_FAILURE(launch());
    const auto taskbarWindow = [&] {
        const std::optional<XWindow> window = shownPanel();
        return window && !desktop->netWmState(window->id).contains(skipTaskbar);
    };
    ASSERT_TRUE(LinuxDesktop::waitUntil(taskbarWindow, 10000)) << "no normal window without a tray: " << windowsSeen();

    ASSERT_TRUE(desktop->startTrayHost());
    QImage shot;
    EXPECT_TRUE(waitIcon(shot, 5000)) << "no icon once trayer came";
    EXPECT_TRUE(LinuxDesktop::waitUntil([&] { return !taskbarWindow(); }, 5000))
        << "still a taskbar window with a tray: " << windowsSeen();

    desktop->stopTrayHost();
    EXPECT_TRUE(LinuxDesktop::waitUntil(taskbarWindow, 5000)) << "no normal window once the tray left: " << windowsSeen();
}

// What a screen reader meets: pyatspi, Orca's AT-SPI client, walks the panel on the accessibility
// bus that this session's bus starts, signs in through it and presses Generate for a run that
// fails, whose reason must arrive as a notification that shows, which Orca speaks.
TEST_F(RealDesktop, ScreenReaderWalksThePanel) {
    ASSERT_NO_FATAL_FAILURE(startDesktop({TrayHost::none, Edge::top, false}));
    const std::string failure = "Script writer is overloaded";
    server.script("POST", "/api/dashboard/shorts/script",
                  Json::array({{{"status", 503}, {"body", Json{{"message", failure}}.dump()}}}));
    QProcessEnvironment environment = appEnvironment();
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    app = std::make_unique<AppDriver>(environment);
    ASSERT_TRUE(app->start(desktop->home() + "/automation")) << app->output().toStdString();

    QProcess walk;
    walk.setProcessEnvironment(desktop->environment());
    walk.setProcessChannelMode(QProcess::MergedChannels);
    // Debian's interpreter, which has python3-pyatspi, whatever python3 comes first in PATH.
    walk.start("/usr/bin/python3", {VEXORA_ATSPI_WALK, "--pid", QString::number(app->processId()), "--web-host",
                                    QUrl(server.baseURL()).host(), "--error", QString::fromStdString(failure)});
    const bool finished = walk.waitForFinished(60000);
    const std::string output = walk.readAll().toStdString();
    std::cout << output;
    ASSERT_TRUE(finished) << "the walk did not end";
    EXPECT_TRUE(walk.exitStatus() == QProcess::NormalExit && walk.exitCode() == 0) << output;
    // The accessibility bus is this session's, activated from its bus, with its socket in this home.
    EXPECT_TRUE(desktop->hasBusName("org.a11y.Bus"));
    EXPECT_NE(output.find("accessibility bus: unix:path=" + desktop->home().toStdString()), std::string::npos);
}

// Weston has no tray and a client cannot place itself: the panel is a window that works.
TEST_F(RealDesktop, WaylandOpensUsableWindow) {
    DesktopConfig config;
    config.wayland = true;
    ASSERT_NO_FATAL_FAILURE(startDesktop(config));
    ASSERT_NO_FATAL_FAILURE(launch());
    EXPECT_TRUE(app->signInDemo());
}

std::string received(NotificationServer& notifications) { return ::testing::PrintToString(notifications.received()); }

// Runs that end out of sight are told through the desktop's notification server, one notification
// per run in place of the one before; none while the panel shows; choosing it opens the panel.
TEST_F(RealDesktop, NotifiesOfRunsThatEndWhileThePanelIsHidden) {
    ASSERT_NO_FATAL_FAILURE(startDesktop({TrayHost::trayer, Edge::top, false}));
    NotificationServer notifications(*desktop);
    ASSERT_TRUE(notifications.start());
    server.configure({{"render_polls", 2}, {"fail_accounts", {"acct-ig-1"}}});
    ASSERT_NO_FATAL_FAILURE(launch({"--autostart"}));
    const std::optional<QRect> icon = openFromIcon();
    ASSERT_TRUE(icon);
    ASSERT_TRUE(app->signInDemo());
    const auto runEnded = [&](const char* badge) {
        return app->waitFor("ugc.result.badge", [&](const Json& s) { return s.value("text", "") == badge; }, 40000);
    };

    ASSERT_TRUE(app->type("ugc.topic.editor", "Linen care"));
    ASSERT_TRUE(app->click("ugc.generator.generate"));
    ASSERT_TRUE(runEnded("Ready"));
    ASSERT_TRUE(shownPanel()) << windowsSeen();
    QThread::msleep(500);
    EXPECT_TRUE(notifications.received().empty()) << "while the panel showed: " << received(notifications);

    // Generated and auto-published out of sight: one notification, once publishing has ended.
    if (!app->state("ugc.publish.auto").value("checked", false)) {
        ASSERT_TRUE(app->click("ugc.publish.auto"));
    }
    ASSERT_TRUE(app->click("ugc.generator.generate"));
    desktop->key("Escape");
    ASSERT_TRUE(waitPanel(false)) << windowsSeen();
    ASSERT_TRUE(LinuxDesktop::waitUntil([&] { return !notifications.received().empty(); }, 40000)) << "no notification";
    ASSERT_TRUE(runEnded("Ready"));
    QThread::msleep(500);
    std::vector<ReceivedNotification> posted = notifications.received();
    ASSERT_EQ(posted.size(), 1u) << received(notifications);
    const ReceivedNotification& published = posted[0];
    std::cout << "[ received ] " << published << std::endl;
    const std::string applicationId = UGCAppConfiguration::core().bundleIdentifier().toStdString();
    EXPECT_EQ(published.appName.toStdString(), title.toStdString());
    EXPECT_EQ(published.replacesId, 0u);
    EXPECT_EQ(published.summary.toStdString(), "Linen care");
    EXPECT_EQ(published.body.toStdString(), "Instagram Reels: Publish failed · TikTok: Publish succeeded");
    EXPECT_EQ(published.actions.join(", ").toStdString(), "default, Open " + title.toStdString());
    EXPECT_EQ(published.appIcon.toStdString(), applicationId);
    EXPECT_EQ(published.hints.value("desktop-entry").toStdString(), applicationId);
    ASSERT_TRUE(published.id);

    // A render that fails out of sight replaces that notification with the panel's reason.
    desktop->click(icon->center());
    ASSERT_TRUE(waitPanel(true)) << windowsSeen();
    ASSERT_TRUE(app->type("ugc.topic.editor", " fail"));
    ASSERT_TRUE(app->click("ugc.generator.generate"));
    desktop->key("Escape");
    ASSERT_TRUE(waitPanel(false)) << windowsSeen();
    ASSERT_TRUE(LinuxDesktop::waitUntil([&] { return notifications.received().size() >= 2; }, 40000)) << received(notifications);
    posted = notifications.received();
    const ReceivedNotification& failed = posted.back();
    std::cout << "[ received ] " << failed << std::endl;
    EXPECT_EQ(posted.size(), 2u) << received(notifications);
    EXPECT_EQ(failed.replacesId, *published.id);
    EXPECT_EQ(failed.summary.toStdString(), "Generation stopped");
    EXPECT_EQ(notifications.displayed(), 1) << "stacked instead of replaced";

    // Clicked as a person would: the panel opens and shows the same reason.
    std::optional<XWindow> popup;
    ASSERT_TRUE(LinuxDesktop::waitUntil([&] { return (popup = notifications.window()).has_value(); }, 5000));
    desktop->click(popup->geometry.center());
    EXPECT_TRUE(waitPanel(true)) << "the notification's action did not open the panel: " << windowsSeen();
    EXPECT_EQ(notifications.invokedActions().join(", ").toStdString(), std::to_string(failed.id.value_or(0)) + " default");
    EXPECT_EQ(failed.body.toStdString(), app->state("ugc.error.message").value("text", ""));
}

// The menu's switch turns notifications off and stays off after a restart.
TEST_F(RealDesktop, NotificationSwitchIsKeptAcrossRestarts) {
    ASSERT_NO_FATAL_FAILURE(startDesktop({TrayHost::trayer, Edge::top, false}));
    NotificationServer notifications(*desktop);
    ASSERT_TRUE(notifications.start());
    server.configure({{"render_polls", 2}});
    ASSERT_NO_FATAL_FAILURE(launch({"--autostart"}));
    ASSERT_TRUE(openFromIcon());
    ASSERT_TRUE(app->signInDemo());
    const QString item = "tray.menu.notify-when-ready";
    ASSERT_TRUE(app->state(item).value("checked", false)) << "off by default: " << app->state(item).dump();
    ASSERT_TRUE(app->click(item));
    ASSERT_EQ(app->quit(), 0);

    ASSERT_NO_FATAL_FAILURE(launch({"--autostart"}));
    ASSERT_TRUE(openFromIcon());
    ASSERT_TRUE(app->waitForWorkspace());
    EXPECT_FALSE(app->state(item).value("checked", true)) << "on again after a restart";
    ASSERT_TRUE(app->type("ugc.topic.editor", "Linen care"));
    ASSERT_TRUE(app->click("ugc.generator.generate"));
    desktop->key("Escape");
    ASSERT_TRUE(waitPanel(false)) << windowsSeen();
    ASSERT_TRUE(app->waitFor("ugc.result.badge", [](const Json& s) { return s.value("text", "") == "Ready"; }, 40000));
    QThread::msleep(500);
    EXPECT_TRUE(notifications.received().empty()) << "notified while switched off: " << received(notifications);
}

}  // namespace
}  // namespace vexora::test
