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
};

// Every request of a run, of the workspace's context and of the libraries, each with every fault:
// it ends with the fault's text (a run or a context load in the error step), and the workspace, the
// shown favorites and a readable preferences file stay, with no secret in the text.
TEST_F(FaultInjection, EveryRequestEndsInAnExplainedError) {
    struct Request {
        std::string method, path;
        std::function<void()> send;
        bool endsInErrorStep = true;
    };
    const auto run = [&] {
        state->resetPipeline();
        state->setTopic(QStringLiteral("Linen care"));
        state->generate();
    };
    const auto load = [&] { state->fetchContext(); };
    const UGCSchedule schedule = state->schedules().value(0);
    ASSERT_FALSE(schedule.id.isEmpty());
    ASSERT_TRUE(state->historyHasMore());
    const std::vector<Request> requests = {
        {"GET", "/api/dashboard/shorts/suggest-topics", [&] { state->suggest(false); }, false},
        {"GET", "/api/dashboard/shorts/avatars", [&] { state->fetchAvatars(true); }, false},
        {"POST", "/api/dashboard/shorts/avatars/generate", [&] { state->generateStandaloneAvatar(); }, false},
        {"GET", "/api/dashboard/shorts/history", [&] { state->loadMoreHistory(); }, false},
        {"PATCH", "/api/dashboard/shorts/schedules/" + schedule.id.toStdString(), [&] { state->toggleSchedule(schedule); }, false},
        {"POST", "/api/dashboard/shorts/script", run},  {"POST", "/api/dashboard/shorts/avatar", run},
        {"POST", "/api/dashboard/shorts/generate", run}, {"GET", "/api/dashboard/shorts/render-*", run},
        {"POST", "/api/dashboard/shorts/publish", run},  {"GET", "/api/ai-insights/usage/stats", load},
        {"GET", "/api/ai-insights/favorites", load},     {"GET", "/api/dashboard/products", load},
        {"GET", "/api/social-accounts", load},           {"GET", "/api/dashboard/shorts/history", load},
        {"GET", "/api/dashboard/shorts/schedules", load},
    };
    const auto idle = [&] {
        return !state->isPipelineRunning() && state->step() != UGCStep::publishing && contextLoaded() && !state->isSuggesting() &&
               !state->isAvatarsLoading() && !state->isGeneratingAvatar() && !state->isHistoryLoading() &&
               state->mutatingScheduleIDs().isEmpty();
    };
    const auto favorites = state->favorites().size();
    state->setAutoPublish(true);
    for (const Request& request : requests)
        for (const Fault& fault : faults()) {
            SCOPED_TRACE(request.path + " / " + fault.name);
            inject(request.method, request.path, fault);
            state->setErrorMessage(std::nullopt);
            request.send();
            ASSERT_TRUE(waitUntil(idle, 30000));
            if (request.endsInErrorStep) { EXPECT_EQ(state->step(), UGCStep::error); }
            const QString text = state->errorMessage().value_or(QString());
            EXPECT_TRUE(fault.explains(text)) << '"' << text.toStdString() << '"';
            EXPECT_EQ(state->favorites().size(), favorites);
            EXPECT_EQ(state->authState().tenantID, QStringLiteral("tenant-demo"));
            EXPECT_EQ(QSettings(scratch.filePath("settings.ini"), QSettings::IniFormat).status(), QSettings::NoError);
            ASSERT_TRUE(state->authState().session);
            EXPECT_FALSE(text.contains(state->authState().session->accessToken));
            EXPECT_FALSE(text.contains(state->authState().session->refreshToken));
        }
}

// Signing in: the workspace request fails with the service's reason; a 401 there means signed out.
TEST_F(FaultInjection, TheWorkspaceRequestAtSignInSaysWhy) {
    for (const Fault& fault : faults()) {
        SCOPED_TRACE(fault.name);
        state->signOut();
        ASSERT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
        inject("GET", "/api/tenants", fault);
        state->setSignInEmail(QStringLiteral("demo@vexora.local"));
        state->setSignInPassword(QStringLiteral("demo"));
        state->signIn();
        ASSERT_TRUE(waitUntil([&] { return !state->isSigningIn(); }, 30000));
        if (fault.reply.value("status", 200) == 401) {
            EXPECT_EQ(state->authErrorMessage(), QStringLiteral("Session expired. Please sign in again."));
            EXPECT_TRUE(waitUntil([&] { return state->authState().status == AuthStatus::unauthenticated; }));
        } else {
            EXPECT_EQ(state->authState().status, AuthStatus::error);
            const QString text = state->authState().errorMessage.value_or(QString());
            EXPECT_TRUE(fault.explains(text)) << text.toStdString();
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
        SCOPED_TRACE(fault.name);
        inject("GET", "/assets/videos/gen-001.mp4", fault);
        state->setErrorMessage(std::nullopt);
        state->downloadVideo();
        ASSERT_TRUE(waitUntil([&] { return !state->isDownloadingVideo(); }, 30000));
        EXPECT_TRUE(state->errorMessage());
        QFile kept(destination);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "the earlier video");
        EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"settings.ini", "video.mp4"}));
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
