#include "support/AppDriver.h"
#include "support/DevServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vexora::test {
namespace {

const QString interrupted = QStringLiteral("Previous generation was interrupted. Generate again to continue.");

// The tray application on its own X display against a private devserver, in the keyring
// session of the suite, with a settings folder of its own.
class TrayApp : public ::testing::Test {
protected:
    DevServer server;
    QTemporaryDir home;
    std::unique_ptr<VirtualDisplay> display;
    std::unique_ptr<AppDriver> app;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "needs the private keyring session of ./dev test";
        display = std::make_unique<VirtualDisplay>();
        ASSERT_FALSE(display->name().isEmpty()) << "Xvfb did not start";
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("DISPLAY", display->name());
        environment.insert("VEXORA_API_BASE_URL", server.baseURL());
        environment.insert("VEXORA_DEBUG_SHOW_PANEL_ON_LAUNCH", "1");
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("HOME", home.path());
        app = std::make_unique<AppDriver>(environment);
    }

    void TearDown() override {
        if (HasFailure() && app) std::cerr << "application output:\n" << app->output().toStdString();
    }

    void launch() { ASSERT_TRUE(app->start(home.filePath("automation"))) << app->output().toStdString(); }

    void waitForPanel() {
        ASSERT_TRUE(app->waitUntil([&] {
            return app->state("auth.email").value("shown", false) || app->state("ugc.header.sign-out").value("shown", false);
        }));
    }
};

TEST_F(TrayApp, AUserMakesPublishesRetriesDownloadsSchedulesAndSignsOut) {
    launch();
    ASSERT_TRUE(app->signInDemo());

    server.configure({{"fail_accounts", {"acct-ig-1"}}});
    ASSERT_TRUE(app->type("ugc.topic.editor", "Linen care"));
    ASSERT_TRUE(app->click("ugc.duration.picker.10s"));
    if (!app->state("ugc.publish.auto").value("checked", false)) {
        ASSERT_TRUE(app->click("ugc.publish.auto"));
    }
    ASSERT_TRUE(app->click("ugc.generator.generate"));
    ASSERT_TRUE(app->waitText("ugc.publish-result.status.instagram_reels", "Publish failed", 40000));
    EXPECT_EQ(app->state("ugc.publish-result.status.tiktok").value("text", ""), "Publish succeeded");
    const auto renders = server.requests("/api/dashboard/shorts/generate");
    ASSERT_EQ(renders.size(), 1u);
    EXPECT_EQ(Json::parse(renders[0].body).at("duration"), 10);

    // The failed account alone is sent again.
    server.configure({{"fail_accounts", Json::array()}});
    server.clearLog();
    ASSERT_TRUE(app->waitText("ugc.result.publish", "Retry failed publish"));
    ASSERT_TRUE(app->click("ugc.result.publish"));
    ASSERT_TRUE(app->waitText("ugc.publish-result.status.instagram_reels", "Publish succeeded"));
    const auto published = server.requests("/api/dashboard/shorts/publish");
    ASSERT_EQ(published.size(), 1u);
    EXPECT_EQ(Json::parse(published[0].body).at("targets").size(), 1u);

    // Download through the save dialog into a folder that holds nothing else afterwards.
    const QString folder = home.filePath("videos");
    QDir().mkpath(folder);
    ASSERT_TRUE(app->click("ugc.result.download"));
    ASSERT_TRUE(app->waitShown("fileNameEdit")) << "the save dialog";
    ASSERT_TRUE(app->type("fileNameEdit", QDir(folder).filePath("linen.mp4") + "\n"));
    ASSERT_TRUE(app->waitUntil([&] {
        return QFileInfo(QDir(folder).filePath("linen.mp4")).size() > 0;
    }));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"linen.mp4"}) << "no partial file left beside it";

    // A new schedule, then paused.
    if (!app->state("ugc.schedule.create").value("shown", false)) {
        ASSERT_TRUE(app->click("ugc.schedules.disclosure"));
    }
    ASSERT_TRUE(app->waitShown("ugc.schedule.create"));
    const QStringList before = app->shownIdentifiers("ugc.schedule.toggle.");
    ASSERT_TRUE(app->choose("ugc.schedule.favorite", 1));
    const QStringList faces = app->shownIdentifiers("ugc.schedule.avatar.");
    ASSERT_FALSE(faces.isEmpty()) << "the library offers its faces";
    ASSERT_TRUE(app->click(faces.first()));
    ASSERT_TRUE(app->type("ugc.schedule.default-topic", "Weekday linen tips"));
    ASSERT_TRUE(app->click("ugc.schedule.create")) << app->state("ugc.schedule.validation-text").dump();
    QString created;
    ASSERT_TRUE(app->waitUntil([&] {
        for (const QString& toggle : app->shownIdentifiers("ugc.schedule.toggle."))
            if (!before.contains(toggle)) created = toggle.section('.', 3);
        return !created.isEmpty();
    }));
    std::string createBody;
    for (const LoggedRequest& request : server.requests("/api/dashboard/shorts/schedules"))
        if (request.method == "POST") createBody = request.body;
    EXPECT_EQ(Json::parse(createBody, nullptr, false).value("default_topic", ""), "Weekday linen tips");
    EXPECT_EQ(app->state("ugc.schedule.state." + created).value("text", ""), "Active");
    ASSERT_TRUE(app->click("ugc.schedule.toggle." + created));
    EXPECT_TRUE(app->waitText("ugc.schedule.state." + created, "Paused"));

    ASSERT_TRUE(app->click("ugc.header.sign-out"));
    EXPECT_TRUE(app->waitShown("auth.email"));
    EXPECT_EQ(app->quit(), 0);

    // The session lived only in the keyring: no token in any file the app wrote, nor in its output.
    EXPECT_FALSE(DevServer::containsIssuedToken(app->output()));
    for (QDirIterator file(home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); file.hasNext();) {
        QFile written(file.next());
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << file.filePath().toStdString();
        EXPECT_FALSE(DevServer::containsIssuedToken(QString::fromLatin1(written.readAll()))) << file.filePath().toStdString();
    }
}

TEST_F(TrayApp, TheFormAndAnInterruptedRunComeBackAfterTheApplicationDied) {
    launch();
    ASSERT_TRUE(app->signInDemo());
    ASSERT_TRUE(app->type("ugc.topic.editor", "Linen after the crash"));
    ASSERT_TRUE(app->click("ugc.duration.picker.15s"));
    ASSERT_TRUE(app->click("ugc.language.menu.es"));
    ASSERT_TRUE(app->waitFor("ugc.language.menu", [](const Json& s) {
        return QString::fromStdString(s.value("text", "")).contains("Español");
    }));
    ASSERT_TRUE(app->click("ugc.generator.generate"));
    ASSERT_TRUE(app->waitUntil([&] {
        return !server.requests("/api/dashboard/shorts/generate").empty();
    })) << app->state("ugc.error.message").dump() << app->state("ugc.status.line").dump();
    app->kill();

    // The session is still in the keyring: the workspace loads without signing in.
    launch();
    ASSERT_TRUE(app->waitText("ugc.tenant.name", "Demo Workspace"));
    ASSERT_TRUE(app->waitForWorkspace());
    ASSERT_TRUE(app->waitText("ugc.error.message", interrupted));
    EXPECT_EQ(app->state("ugc.topic.editor").value("text", ""), "Linen after the crash");
    EXPECT_TRUE(app->state("ugc.duration.picker.15s").value("checked", false));
    EXPECT_TRUE(QString::fromStdString(app->state("ugc.language.menu").value("text", "")).contains("Español"));
    EXPECT_TRUE(app->state("ugc.result.script").value("shown", false)) << "the run's script comes back with it";
    EXPECT_TRUE(app->state("ugc.generator.generate").value("enabled", false)) << "nothing resumes by itself";
    EXPECT_EQ(app->quit(), 0);
}

// The start-up benchmark's mark: one line, only in a launch that asks for it.
TEST_F(TrayApp, ReportsReadyOnceAndOnlyWhenAsked) {
    launch();
    ASSERT_NO_FATAL_FAILURE(waitForPanel());
    EXPECT_EQ(app->quit(), 0);
    EXPECT_FALSE(app->output().contains("vexora: ready"));

    environment.insert("VEXORA_DEBUG_REPORT_READY", "1");
    app = std::make_unique<AppDriver>(environment);
    launch();
    ASSERT_NO_FATAL_FAILURE(waitForPanel());
    EXPECT_EQ(app->quit(), 0);
    EXPECT_EQ(app->output().count("vexora: ready\n"), 1) << app->output().toStdString();
}

// Without a session bus the runtime directory's lock file keeps a second start out; the lock of
// an instance that died must not keep every later start out too.
TEST_F(TrayApp, WithoutASessionBusOneInstanceRunsAndADeadOnesLockIsTakenOver) {
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.filePath("no-bus"));
    environment.insert("XDG_RUNTIME_DIR", home.path());
    app = std::make_unique<AppDriver>(environment);
    launch();
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(VEXORA_APP_PATH), {});
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(app->state("auth.email").value("found", false)) << "the first runs on";

    app->kill();
    app = std::make_unique<AppDriver>(environment);
    launch();
    EXPECT_TRUE(app->state("auth.email").value("found", false));
    EXPECT_EQ(app->quit(), 0);
}

}  // namespace
}  // namespace vexora::test
