#include "workflow/WorkflowFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

using namespace vexora;
using namespace vexora::test;

namespace {

// One way the service or the network can let the client down, and what the user must read then.
struct Fault {
    const char* name;
    Json reply;  // a devserver script reply
    std::function<bool(const QString&)> explains;
};

bool startsWith(const QString& text, const char* prefix) { return text.startsWith(QLatin1String(prefix)); }
bool unreadable(const QString& text) { return startsWith(text, "The data couldn't be read"); }

const std::vector<Fault>& faults() {
    static const std::vector<Fault> all = {
        {"500 with a reason", {{"status", 500}, {"body", R"({"error":"Internal trouble"})"}},
         [](const QString& t) { return startsWith(t, "Internal trouble"); }},
        {"502 page", {{"status", 502}, {"body", "<html>Bad Gateway</html>"}, {"content_type", "text/html"}},
         [](const QString& t) { return startsWith(t, "Request failed"); }},
        {"503 without body", {{"status", 503}}, [](const QString& t) { return startsWith(t, "Request failed"); }},
        {"504 with a message", {{"status", 504}, {"body", R"({"message":"Upstream timed out"})"}},
         [](const QString& t) { return startsWith(t, "Upstream timed out"); }},
        {"429", {{"status", 429}, {"body", R"({"error":"Too many requests"})"}},
         [](const QString& t) { return startsWith(t, "Too many requests"); }},
        {"401 mid-session", {{"status", 401}, {"body", R"({"error":"Invalid or expired token"})"}},
         [](const QString& t) { return startsWith(t, "Invalid or expired token"); }},
        {"truncated JSON", {{"status", 200}, {"body", R"({"items":[{"id":"a")"}}, unreadable},
        {"malformed JSON", {{"status", 200}, {"body", "{not json"}}, unreadable},
        {"an array for an object", {{"status", 200}, {"body", "[1,2,3]"}}, unreadable},
        {"empty 200", {{"status", 200}}, unreadable},
        {"dropped connection", {{"drop", true}},
         [](const QString& t) { return !t.isEmpty() && !unreadable(t) && !startsWith(t, "Request failed"); }},
        {"slow error body", {{"status", 500}, {"body", R"({"error":"Slowly failing"})"}, {"trickle_ms", 120}},
         [](const QString& t) { return startsWith(t, "Slowly failing"); }},
        {"100 MB reply", {{"status", 200}, {"body_bytes", 100 << 20}, {"content_type", "application/octet-stream"}},
         [](const QString& t) { return t.contains("larger than 16 MB"); }},
        {"100 MB that gzip shrinks to 100 KB", {{"status", 200}, {"body_bytes", 100 << 20}, {"compressible", true}},
         [](const QString& t) { return t.contains("larger than 16 MB"); }},
    };
    return all;
}

class FaultInjection : public WorkflowFixture {
protected:
    void SetUp() override {
        WorkflowFixture::SetUp();
        if (IsSkipped()) return;
        signInDemo();
    }

    void inject(const std::string& method, const std::string& path, const Fault& fault) {
        server.script(method, path, Json::array({fault.reply}));
    }

    // What every fault must leave behind: the workspace, a readable preferences file, no secret in the text.
    void expectSoundAfter(const Fault& fault, const std::string& where) {
        const std::string context = where + " / " + fault.name;
        EXPECT_EQ(state->authState().tenantID, QStringLiteral("tenant-demo")) << context;
        QSettings stored(scratch.filePath("settings.ini"), QSettings::IniFormat);
        EXPECT_EQ(stored.status(), QSettings::NoError) << context;
        ASSERT_TRUE(state->authState().session) << context;
        const QString text = state->errorMessage().value_or(QString());
        EXPECT_FALSE(text.contains(state->authState().session->accessToken)) << context;
        EXPECT_FALSE(text.contains(state->authState().session->refreshToken)) << context;
    }

    void expectExplained(const Fault& fault, const std::string& where) {
        const QString text = state->errorMessage().value_or(QString());
        EXPECT_TRUE(fault.explains(text)) << where << " / " << fault.name << ": \"" << text.toStdString() << '"';
    }
};

// Every step of a run, each with every fault: the run ends in the error step with the fault's text.
TEST_F(FaultInjection, EveryRunStepEndsInAnExplainedError) {
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"POST", "/api/dashboard/shorts/script"},   {"POST", "/api/dashboard/shorts/avatar"},
        {"POST", "/api/dashboard/shorts/generate"}, {"GET", "/api/dashboard/shorts/render-*"},
        {"POST", "/api/dashboard/shorts/publish"},
    };
    state->setAutoPublish(true);
    for (const auto& [method, path] : steps)
        for (const Fault& fault : faults()) {
            inject(method, path, fault);
            state->resetPipeline();
            state->setTopic(QStringLiteral("Linen care"));
            state->generate();
            ASSERT_TRUE(waitUntil([&] { return !state->isPipelineRunning() && state->step() != UGCStep::publishing; }, 30000))
                << path << " / " << fault.name;
            EXPECT_EQ(state->step(), UGCStep::error) << path << " / " << fault.name;
            expectExplained(fault, path);
            expectSoundAfter(fault, path);
        }
}

// The workspace's six context requests: the load ends, says why, and keeps what was shown.
TEST_F(FaultInjection, EveryContextRequestEndsInAnExplainedError) {
    const std::vector<std::string> paths = {
        "/api/ai-insights/usage/stats", "/api/ai-insights/favorites",     "/api/dashboard/products",
        "/api/social-accounts",         "/api/dashboard/shorts/history", "/api/dashboard/shorts/schedules",
    };
    const auto favorites = state->favorites();
    for (const std::string& path : paths)
        for (const Fault& fault : faults()) {
            inject("GET", path, fault);
            state->fetchContext();
            ASSERT_TRUE(waitUntil([&] { return contextLoaded(); }, 30000)) << path << " / " << fault.name;
            EXPECT_EQ(state->step(), UGCStep::error) << path << " / " << fault.name;
            expectExplained(fault, path);
            EXPECT_EQ(state->favorites().size(), favorites.size()) << path << " / " << fault.name;
            expectSoundAfter(fault, path);
        }
}

// Suggestions, the avatar library, history pages and schedule changes: each says why it failed.
TEST_F(FaultInjection, LibraryRequestsEndInAnExplainedError) {
    struct Request {
        std::string method, path;
        std::function<void()> send;
        std::function<bool()> busy;
    };
    const UGCSchedule schedule = state->schedules().value(0);
    const std::vector<Request> requests = {
        {"GET", "/api/dashboard/shorts/suggest-topics", [&] { state->suggest(false); }, [&] { return state->isSuggesting(); }},
        {"GET", "/api/dashboard/shorts/avatars", [&] { state->fetchAvatars(true); }, [&] { return state->isAvatarsLoading(); }},
        {"POST", "/api/dashboard/shorts/avatars/generate", [&] { state->generateStandaloneAvatar(); },
         [&] { return state->isGeneratingAvatar(); }},
        {"GET", "/api/dashboard/shorts/history", [&] { state->loadMoreHistory(); }, [&] { return state->isHistoryLoading(); }},
        {"PATCH", "/api/dashboard/shorts/schedules/" + schedule.id.toStdString(), [&] { state->toggleSchedule(schedule); },
         [&] { return !state->mutatingScheduleIDs().isEmpty(); }},
    };
    ASSERT_FALSE(schedule.id.isEmpty());
    ASSERT_TRUE(state->historyHasMore());
    for (const Request& request : requests)
        for (const Fault& fault : faults()) {
            inject(request.method, request.path, fault);
            state->setErrorMessage(std::nullopt);
            request.send();
            ASSERT_TRUE(waitUntil([&] { return !request.busy(); }, 30000)) << request.path << " / " << fault.name;
            expectExplained(fault, request.path);
            expectSoundAfter(fault, request.path);
        }
}

// Signing in: the workspace request fails with the service's reason; a 401 there means signed out.
TEST_F(FaultInjection, TheWorkspaceRequestAtSignInSaysWhy) {
    for (const Fault& fault : faults()) {
        state->signOut();
        ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
        inject("GET", "/api/tenants", fault);
        state->setSignInEmail(QStringLiteral("demo@vexora.local"));
        state->setSignInPassword(QStringLiteral("demo"));
        state->signIn();
        ASSERT_TRUE(waitUntil([&] { return !state->isSigningIn(); }, 30000)) << fault.name;
        if (fault.reply.value("status", 200) == 401) {
            EXPECT_EQ(state->authErrorMessage(), QStringLiteral("Session expired. Please sign in again."));
            EXPECT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
        } else {
            EXPECT_EQ(state->authState().status, AuthStatus::error) << fault.name;
            EXPECT_TRUE(fault.explains(state->authState().errorMessage.value_or(QString())))
                << fault.name << ": " << state->authState().errorMessage.value_or(QString()).toStdString();
            EXPECT_FALSE(state->authState().tenantID) << "no workspace is made up";
        }
    }
}

// A download that fails leaves the earlier file as it was and nothing beside it.
TEST_F(FaultInjection, AFailedDownloadLeavesNoPartialFile) {
    const QString destination = scratch.filePath("video.mp4");
    std::optional<QString> answer = destination;
    state->saveLocationChooser = [&](const QString&, std::function<void(const std::optional<QString>&)> chosen) { chosen(answer); };
    state->setVideoURL(server.baseURL() + "/assets/videos/gen-001.mp4");
    {
        QFile earlier(destination);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("the earlier video");
    }
    const QStringList failing = {"500 with a reason", "503 without body", "dropped connection", "slow error body"};
    for (const Fault& fault : faults()) {
        if (!failing.contains(QLatin1String(fault.name))) continue;
        inject("GET", "/assets/videos/gen-001.mp4", fault);
        state->setErrorMessage(std::nullopt);
        state->downloadVideo();
        ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }, 30000)) << fault.name;
        EXPECT_TRUE(state->errorMessage()) << fault.name;
        QFile kept(destination);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "the earlier video") << fault.name;
        EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"settings.ini", "video.mp4"}))
            << fault.name;
    }
}

// A service that never answers: the request gives up after its minute of silence and says so.
TEST_F(FaultInjection, ASilentServiceTimesOutAfterAMinute) {
    inject("GET", "/api/dashboard/shorts/suggest-topics", {"silence", {{"status", 200}, {"delay_ms", 65000}}, {}});
    state->suggest(false);
    ASSERT_TRUE(waitUntil([&] { return !state->isSuggesting(); }, 75000));
    EXPECT_EQ(state->errorMessage(), QStringLiteral("The request timed out."));
}

}  // namespace
