#include "CliCommands.h"
#include "foundation/Json.h"
#include "foundation/NetworkCall.h"
#include "support/RunSync.h"
#include "support/CliProcess.h"
#include "support/DevServer.h"
#include "support/PrivateKeyring.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <set>

namespace vexora::test {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// vexora-ugc as a user runs it, against a private devserver, in the keyring session of the suite.
class CliTest : public ::testing::Test {
protected:
    DevServer server;
    QTemporaryDir settings;  // each case starts with no workspace preferences

    void SetUp() override {
        if (!onPrivateTestBus()) GTEST_FAIL() << privateKeyringRefusal;
        run({"signout"});
    }

    void start(QProcess& process, const QStringList& arguments, const QString& baseURL = {}) {
        startCli(process, baseURL.isEmpty() ? server.baseURL() : baseURL, settings.path(), arguments);
    }

    // The bash completion as a shell runs it, for the built vexora-ugc: each line completed at its
    // end, the candidates sorted and joined by spaces. It must print nothing else.
    std::vector<std::string> complete(const QStringList& lines) {
        static const char* script = R"sh(
            source /usr/share/bash-completion/bash_completion
            source "$1"
            cli=$2
            shift 2
            function=$(complete -p vexora-ugc | sed -n 's/.* -F \([^ ]*\) .*/\1/p')
            for line; do
                COMP_LINE="$cli $line"
                COMP_POINT=${#COMP_LINE}
                read -ra COMP_WORDS <<<"$COMP_LINE"
                [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
                COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
                COMPREPLY=()
                "$function" "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
                printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
            done)sh";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VEXORA_API_BASE_URL", server.baseURL());
        environment.insert("XDG_CONFIG_HOME", settings.path());
        QProcess bash;
        bash.setProcessEnvironment(environment);
        bash.start("bash", QStringList{"-c", script, "bash", VEXORA_CLI_COMPLETION, VEXORA_CLI_PATH} + lines);
        EXPECT_TRUE(bash.waitForFinished(60000));
        EXPECT_EQ(bash.readAllStandardError().toStdString(), "") << lines.join('|').toStdString();
        std::vector<std::string> candidates;
        for (const QString& line : QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
            candidates.push_back(line.toStdString());
        return candidates;
    }

    CliRun run(const QStringList& arguments, const QByteArray& input = {}, const QString& baseURL = {}) {
        QProcess process;
        start(process, arguments, baseURL);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000)) << arguments.join(' ').toStdString();
        CliRun finished{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                        QString::fromUtf8(process.readAllStandardError())};
        EXPECT_FALSE(DevServer::containsIssuedToken(finished.out + finished.err)) << arguments.join(' ').toStdString();
        return finished;
    }
};

TEST_F(CliTest, SignsInByPasswordOrBrowserShowsStatusAndSignsOutWithExitCodes) {
    CliRun signedOut = run({"status"});
    EXPECT_EQ(signedOut.exitCode, 0);
    EXPECT_EQ(signedOut.out.trimmed(), "Not signed in.");

    CliRun refused = run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "wrong\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(refused.err.trimmed().isEmpty()) << "the service's reason goes to stderr";
    EXPECT_FALSE((refused.out + refused.err).contains("wrong")) << "the password is never echoed";

    // A service that lists no workspace ends the sign-in, and the session does not stay behind.
    server.script("GET", "/api/tenants", Json::array({{{"body", R"({"tenants":[]})"}}}));
    CliRun noWorkspace = run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n");
    EXPECT_EQ(noWorkspace.exitCode, 1);
    EXPECT_TRUE(noWorkspace.err.contains("vexora-ugc: Session expired. Please sign in again.\n")) << noWorkspace.err.toStdString();
    EXPECT_EQ(run({"status"}).out.trimmed(), "Not signed in.");

    // --json stands before or after the command.
    CliRun signedIn = run({"--json", "signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n");
    ASSERT_EQ(signedIn.exitCode, 0) << signedIn.err.toStdString();
    const Json status = Json::parse(signedIn.out.toStdString());
    EXPECT_TRUE(status.at("signed_in").get<bool>());
    EXPECT_EQ(status.at("email"), "demo@vexora.local");
    EXPECT_EQ(status.at("workspace").at("name"), "Demo Workspace");
    EXPECT_EQ(status.at("accounts").size(), 2u);
    EXPECT_TRUE(status.contains("schedules_enabled"));

    // The session stays in the keyring for the next command.
    EXPECT_EQ(Json::parse(run({"status", "--json"}).out.toStdString()).at("signed_in"), true);
    EXPECT_EQ(run({"signout"}).exitCode, 0);
    EXPECT_EQ(Json::parse(run({"status", "--json"}).out.toStdString()).at("signed_in"), false);

    // In the browser: the page to open, and once it is approved, the workspace as a later status shows it.
    QProcess process;
    start(process, {"--json", "signin", "--browser", "--provider", "github"});
    process.setReadChannel(QProcess::StandardError);
    QString err;
    const QString marker = QStringLiteral("Open this page to sign in: ");
    while (!err.contains(marker) || !err.section(marker, 1).contains('\n')) {
        ASSERT_TRUE(process.waitForReadyRead(15000)) << err.toStdString();
        err += QString::fromUtf8(process.readAllStandardError());
    }
    const QString page = err.section(marker, 1).section('\n', 0, 0).trimmed();
    QNetworkAccessManager network;
    runSync(sendRequest(network, QNetworkRequest(QUrl(page + "/approve")), "POST", QByteArray()));
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << err.toStdString();
    const Json byBrowser = Json::parse(process.readAllStandardOutput().toStdString());
    EXPECT_EQ(byBrowser, Json::parse(run({"status", "--json"}).out.toStdString()));
    EXPECT_EQ(byBrowser.at("workspace").at("name"), "Demo Workspace");
    EXPECT_EQ(run({"signin", "--browser", "--provider", "myspace"}).exitCode, 2);
}

TEST_F(CliTest, GenerateRefreshesAnExpiringSessionAndPrintsTheVideoAndPublishResultsOrTheFailure) {
    // Tokens live 34 s, so the session counts as expiring 4 s after sign-in: during the render polls.
    server.configure({{"token_lifetime_seconds", 34}});
    ASSERT_EQ(run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n").exitCode, 0);
    server.clearLog();
    CliRun made = run({"generate", "--topic", "Linen care", "--duration", "10", "--publish", "--json"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    const Json result = Json::parse(made.out.toStdString());
    EXPECT_EQ(result.at("step"), "complete");
    EXPECT_TRUE(result.at("video_url").get<std::string>().starts_with("http://127.0.0.1:"));
    EXPECT_EQ(result.at("publish_results").size(), 2u);
    EXPECT_EQ(made.err.count("Rendering video"), 1) << "plain progress lines off a terminal, one per shown step";
    EXPECT_FALSE(server.requests("/api/auth/refresh").empty());
    std::set<std::string> tokens;
    for (const LoggedRequest& poll : server.requests("/api/dashboard/shorts/render-"))
        tokens.insert(poll.headers.value("authorization", std::string()));
    EXPECT_GE(tokens.size(), 2u) << "the polls went on with the refreshed token";
    // A refresh token works once: the next command only works if the new session was stored.
    CliRun status = run({"status", "--json"});
    EXPECT_EQ(Json::parse(status.out.toStdString()).at("signed_in"), true) << status.err.toStdString();
    EXPECT_TRUE(server.requests("/api/auth/signin").empty());

    CliRun failed = run({"generate", "--topic", "this will fail"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("vexora-ugc: ")) << failed.err.toStdString();
    EXPECT_EQ(run({"generate", "--topic", "x", "--duration", "7"}).exitCode, 2);
}

TEST_F(CliTest, ATopicsFileMakesEachTopicInTurnAndAFailedOneDoesNotStopTheOthers) {
    ASSERT_EQ(run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n").exitCode, 0);
    server.configure({{"render_polls", 1}});
    CliRun volley = run({"generate", "--topics-file", "-", "--json"}, "# ideas\n\n  Linen care \nthis will fail\nSummer linen\n");
    EXPECT_EQ(volley.exitCode, 1) << volley.err.toStdString();
    const QStringList lines = volley.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << volley.out.toStdString();
    std::vector<Json> results;
    for (const QString& line : lines) results.push_back(Json::parse(line.toStdString()));
    EXPECT_EQ(results[0].at("topic"), "Linen care");
    EXPECT_EQ(results[0].at("step"), "complete");
    EXPECT_TRUE(results[0].contains("video_url"));
    EXPECT_EQ(results[1].at("topic"), "this will fail");
    EXPECT_EQ(results[1].at("error"), "Rendering failed for this topic.");
    EXPECT_EQ(results[2].at("topic"), "Summer linen");
    EXPECT_EQ(results[2].at("step"), "complete");
    EXPECT_EQ(results[3], Json::parse(R"({"summary":{"topics":3,"succeeded":2,"failed":1}})"));
    EXPECT_FALSE(volley.err.contains("Topic ")) << "no progress when standard error is no terminal";
}

// Ctrl+C once the second topic's render is being polled.
TEST_F(CliTest, CtrlCStopsAVolleyWithNoFurtherPollAndLeavesTheRunStoredAsInterrupted) {
    ASSERT_EQ(run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n").exitCode, 0);
    const std::string tenant = Json::parse(run({"status", "--json"}).out.toStdString()).at("workspace").at("id");
    server.configure({{"render_polls", 2}});
    const QString topics = settings.filePath("topics.txt");
    QFile file(topics);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("One\nTwo\nThree\n") > 0);
    file.close();
    server.clearLog();
    QProcess process;
    start(process, {"generate", "--topics-file", topics});
    std::set<std::string> polled;
    std::string secondRender;
    QElapsedTimer clock;
    clock.start();
    while (polled.size() < 2) {
        ASSERT_LT(clock.elapsed(), 30000) << process.readAllStandardError().toStdString();
        QThread::msleep(50);
        for (const LoggedRequest& poll : server.requests("/api/dashboard/shorts/render-")) {
            polled.insert(poll.path);
            secondRender = poll.path;
        }
    }
    const double interruptedAt = double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 130);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith("Topic 1 of 3: One\nOne\nVideo: ")) << out.toStdString();
    EXPECT_TRUE(out.contains("Topic 2 of 3: Two\nInterrupted (Rendering video)\n")) << out.toStdString();
    EXPECT_TRUE(out.endsWith("3 topics: 1 succeeded, 0 failed, 1 interrupted, 1 not started\n")) << out.toStdString();

    for (const LoggedRequest& request : server.requests("/api/dashboard/shorts/"))
        EXPECT_LT(request.startedAt, interruptedAt) << request.path;
    EXPECT_EQ(server.requests("/api/dashboard/shorts/script").size(), 2u);
    // The record the app reads at its next start: the second run as it stood, still polling.
    UGCWorkspacePreferencesStore store(std::make_unique<QSettings>(settings.filePath("Vexora/VexoraUGCVolley.conf"), QSettings::IniFormat));
    const std::optional<UGCWorkspacePreferences> stored = store.load(QString::fromStdString(tenant));
    ASSERT_TRUE(stored && stored->pendingGeneration);
    EXPECT_EQ(stored->pendingGeneration->step, UGCStep::polling);
    EXPECT_EQ(stored->pendingGeneration->topic, "Two");
    EXPECT_EQ(stored->pendingGeneration->title, "Two");
    EXPECT_EQ(("/api/dashboard/shorts/" + stored->pendingGeneration->generationID.value_or(QString())).toStdString(), secondRender);
}

TEST_F(CliTest, AFailedPublishIsRetriedForItsAccountOnlyInALaterCommand) {
    ASSERT_EQ(run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n").exitCode, 0);
    EXPECT_EQ(run({"publish"}).exitCode, 1) << "nothing made yet";
    server.configure({{"fail_accounts", {"acct-ig-1"}}});
    CliRun made = run({"generate", "--topic", "Linen care", "--publish"});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_TRUE(made.out.contains("instagram_reels: Publish failed"));

    server.configure({{"fail_accounts", Json::array()}});
    server.clearLog();
    CliRun retried = run({"publish", "--retry-failed", "--json"});
    ASSERT_EQ(retried.exitCode, 0) << retried.err.toStdString();
    const auto sent = server.requests("/api/dashboard/shorts/publish");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(Json::parse(sent[0].body).at("targets"),
              Json::parse(R"([{"platform":"instagram_reels","account_id":"acct-ig-1"}])"));
    EXPECT_EQ(run({"publish", "--retry-failed"}).exitCode, 1) << "nothing failed any more";

    CliRun ideas = run({"suggest", "--json"});
    ASSERT_EQ(ideas.exitCode, 0);
    EXPECT_FALSE(Json::parse(ideas.out.toStdString()).at("suggestions").empty());
}

TEST_F(CliTest, HistoryDownloadsAvatarsAndSchedulesAreManagedByID) {
    ASSERT_EQ(run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n").exitCode, 0);
    const Json first = Json::parse(run({"history", "--json"}).out.toStdString());
    ASSERT_FALSE(first.at("items").empty());
    if (first.at("has_more").get<bool>()) {
        const Json more = Json::parse(run({"history", "--more", "--json"}).out.toStdString());
        EXPECT_GT(more.at("items").size(), first.at("items").size());
    }
    const std::string id = first.at("items")[0].at("id");
    const QString file = settings.filePath("video.mp4");
    CliRun saved = run({"download", QString::fromStdString(id), "--output", file});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_GT(QFileInfo(file).size(), 0);
    EXPECT_EQ(run({"download", "no-such-id", "--output", file}).exitCode, 1);
    EXPECT_EQ(run({"download", "current", "--output", file}).exitCode, 1) << "no run yet";
    EXPECT_EQ(run({"download", "--output", file}).exitCode, 2);

    const Json library = Json::parse(run({"avatars", "--json"}).out.toStdString());
    server.configure({{"latency_ms", 200}});  // the library reloads after the new face is made, at a service's pace
    CliRun generated = run({"avatars", "generate", "--json"});
    server.configure({{"latency_ms", 0}});
    ASSERT_EQ(generated.exitCode, 0) << generated.err.toStdString();
    const std::string newID = Json::parse(generated.out.toStdString()).at("avatars")[0].at("id");
    EXPECT_NE(newID, library.at("avatars")[0].at("id")) << "the new face, not the one that led the library before";
    EXPECT_EQ(run({"avatars", "delete", QString::fromStdString(newID)}).exitCode, 0);
    EXPECT_EQ(run({"avatars", "delete", QString::fromStdString(newID)}).exitCode, 1) << "already gone";

    CliRun listed = run({"schedules"});
    EXPECT_TRUE(listed.out.contains("sched-3  UGC Schedule  Paused  3x/day at 07:00, 12:00, 19:00")) << listed.out.toStdString();
    CliRun paused = run({"schedules", "pause", "sched-1", "--json"});
    ASSERT_EQ(paused.exitCode, 0);
    EXPECT_TRUE(std::ranges::any_of(Json::parse(paused.out.toStdString()).at("schedules"),
                                    [](const Json& s) { return s.at("id") == "sched-1" && s.at("is_paused") == true; }));
    EXPECT_EQ(run({"schedules", "create", "--topic", "x"}).exitCode, 1) << "a draft without a favorite is refused";
    EXPECT_EQ(run({"schedules", "pause"}).exitCode, 2);
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
    EXPECT_EQ(run({}).exitCode, 2);
    EXPECT_EQ(run({"bogus"}).exitCode, 2);
    CliRun missing = run({"signin"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("--email"));
    // Signed out, a wrong command line is still a usage error, not "Not signed in."
    EXPECT_EQ(run({"generate"}).exitCode, 2);
    EXPECT_EQ(run({"generate", "--topic", "x", "--topics-file", "-"}, "y\n").exitCode, 2);
    CliRun noTopics = run({"generate", "--topics-file", "-"}, "# none yet\n\n");
    EXPECT_EQ(noTopics.exitCode, 2);
    EXPECT_TRUE(noTopics.err.contains("standard input holds no topics")) << noTopics.err.toStdString();
    EXPECT_EQ(run({"generate", "--topics-file", settings.filePath("missing.txt")}).exitCode, 2);
    EXPECT_EQ(run({"schedules", "create", "--favorite", "fav-1", "--avatar", "x", "--runs", "9"}).exitCode, 2);
    // A set but unusable service address is refused, never replaced by the production service.
    CliRun misconfigured = run({"status"}, {}, "localhost:8080");
    EXPECT_EQ(misconfigured.exitCode, 2);
    EXPECT_TRUE(misconfigured.out.isEmpty());
    EXPECT_EQ(misconfigured.err.count('\n'), 1) << misconfigured.err.toStdString();
    EXPECT_TRUE(misconfigured.err.contains("VEXORA_API_BASE_URL")) << misconfigured.err.toStdString();
    CliRun help = run({"status", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("usage: vexora-ugc"));
}

TEST_F(CliTest, BashCompletionOffersCommandsValuesFilesAndHistoryIDsWithoutEverHanging) {
    QFile(settings.filePath("clip.mp4")).open(QIODevice::WriteOnly);
    const QString output = "download current --output " + settings.filePath("cl");
    // Signed out, the ids are quietly left out.
    EXPECT_EQ(complete({"sig", "generate --duration ", "signin --provider ", "download ", output}),
              std::vector<std::string>({"signin signout", "10 15 5", "apple facebook github google linkedin", "current",
                                        settings.filePath("clip.mp4").toStdString()}));

    ASSERT_EQ(run({"signin", "--email", "demo@vexora.local", "--password-stdin"}, "demo\n").exitCode, 0);
    const Json history = Json::parse(run({"history", "--json"}).out.toStdString());
    std::set<std::string> ids{"current"};
    for (const Json& item : history.at("items")) ids.insert(item.at("id").get<std::string>());
    ASSERT_GT(ids.size(), 2u);
    std::string expected;
    for (const std::string& id : ids) expected += (expected.empty() ? "" : " ") + id;
    EXPECT_EQ(complete({"download "}), std::vector<std::string>{expected});

    // A service that never answers costs the shell a few seconds, not its prompt.
    server.script("GET", "/api/tenants", Json::array({{{"delay_ms", 30000}}}));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(complete({"download "}), std::vector<std::string>{"current"});
    EXPECT_LT(clock.elapsed(), 10000);
}

// Runs a program to its end; its standard output.
QString outputOf(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every command of the dispatch table is in the built --help and the built manual page, with
// each of its options in its own --help and in its paragraph of the page.
TEST(CliDocs, HelpAndManualPageListEveryCommandOfTheTableWithItsOptions) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString help = outputOf(VEXORA_CLI_PATH, {"--help"}, environment);
    environment.insert("MANWIDTH", "250");  // a synopsis on one line
    environment.insert("LC_ALL", "C.UTF-8");
    const QString page = outputOf("man", {"-l", VEXORA_CLI_MANPAGE}, environment);
    const QString commands = page.section("\nCOMMANDS\n", 1).section("\nOPTIONS\n", 0, 0);
    ASSERT_FALSE(commands.isEmpty()) << page.toStdString();
    const auto line = [](const QString& pattern) { return QRegularExpression(pattern, QRegularExpression::MultilineOption); };
    for (const cli::CliCommand& command : cli::cliCommands()) {
        const std::string name = command.name.toStdString();
        EXPECT_TRUE(line("^  " + command.name + "( |$)").match(help).hasMatch()) << name;
        // Its paragraph: from its synopsis to the next command's.
        const QRegularExpressionMatch start = line("^ {7}" + command.name + "( |$)").match(commands);
        ASSERT_TRUE(start.hasMatch()) << name;
        const QRegularExpressionMatch next = line("^ {7}(?!" + command.name + "( |$))\\S").match(commands, start.capturedEnd());
        const QString paragraph = commands.mid(start.capturedStart(), next.hasMatch() ? next.capturedStart() - start.capturedStart() : -1);
        const QString commandHelp = outputOf(VEXORA_CLI_PATH, {command.name, "--help"}, environment);
        for (const cli::CliOption& option : command.options) {
            EXPECT_TRUE(line("^ {14}--" + option.name + "( |$)").match(paragraph).hasMatch()) << name << " --" << option.name.toStdString();
            EXPECT_TRUE(line("^  --" + option.name + "( |$)").match(commandHelp).hasMatch()) << name << " --" << option.name.toStdString();
        }
    }
}

}  // namespace
}  // namespace vexora::test
