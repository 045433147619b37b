#include "CliCommands.h"

#include "CliOutput.h"
#include "CliSession.h"
#include "foundation/Json.h"
#include "languages/UGCShortsLanguage.h"

#include <QTextStream>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace vexora::cli {

namespace {

// Reads a line from the terminal without showing it; from a pipe, as it comes.
QString readPassword(bool prompt) {
    const bool terminal = isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        if (prompt) std::fprintf(stderr, "Password: ");
        tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    }
    QTextStream input(stdin);
    const QString password = input.readLine();
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fprintf(stderr, "\n");
    }
    return password;
}

Json statusJson(const UGCAppState& state) {
    const AuthState& auth = state.authState();
    Json json = {{"signed_in", auth.status == AuthStatus::authenticated}};
    if (auth.status != AuthStatus::authenticated) return json;
    if (auth.session && auth.session->email) json["email"] = text(*auth.session->email);
    json["workspace"] = {{"id", text(auth.tenantID.value_or(QString()))},
                         {"name", text(auth.tenantName.value_or(QStringLiteral("Workspace")))},
                         {"credits", auth.balanceCredits.value_or(0)}};
    Json accounts = Json::array();
    for (UGCPlatform platform : {UGCPlatform::tiktok, UGCPlatform::instagram}) {
        Json names = Json::array();
        for (const ConnectedSocialAccount& account : state.accounts(platform))
            names.push_back(text(account.displayName()));
        accounts.push_back({{"platform", text(accountKey(platform))},
                            {"locked", state.connectionLocks().isLocked(platform)},
                            {"accounts", names}});
    }
    json["accounts"] = accounts;
    json["schedules_enabled"] = state.schedulesFeatureEnabled();
    return json;
}

void printStatus(const Json& json) {
    if (!json.at("signed_in").get<bool>()) {
        print(QStringLiteral("Not signed in."));
        return;
    }
    print(QStringLiteral("Signed in as %1").arg(QString::fromStdString(json.value("email", std::string("(no e-mail)")))));
    const Json& workspace = json.at("workspace");
    print(QStringLiteral("Workspace: %1 (%2 credits available)")
              .arg(QString::fromStdString(workspace.at("name").get<std::string>()))
              .arg(workspace.at("credits").get<std::int64_t>()));
    for (const Json& platform : json.at("accounts")) {
        QStringList names;
        for (const Json& name : platform.at("accounts")) names.append(QString::fromStdString(name.get<std::string>()));
        const QString shown = platform.at("locked").get<bool>() ? QStringLiteral("locked")
                              : names.isEmpty()                ? QStringLiteral("not connected")
                                                               : names.join(QStringLiteral(", "));
        print(QStringLiteral("%1: %2").arg(QString::fromStdString(platform.at("platform").get<std::string>()), shown));
    }
    print(QStringLiteral("Schedules: %1").arg(json.at("schedules_enabled").get<bool>() ? "enabled" : "disabled"));
}

int runStatus(const CliArguments& arguments) {
    CliSession session(UGCRuntimeConfiguration::fromEnvironment());
    session.start();
    const Json json = statusJson(session.state());
    arguments.json ? printJson(json) : printStatus(json);
    return success;
}

// The provider named by --provider, or none; false (with the usage text) for an unknown name.
bool providerOption(const CliArguments& arguments, std::optional<NativeAuthProvider>& provider, QString& problem) {
    const std::optional<QString> name = arguments.value(QStringLiteral("provider"));
    if (!name) return true;
    provider = nativeAuthProviderFromRawValue(*name == QLatin1String("linkedin") ? QStringLiteral("linkedin_oidc") : *name);
    if (!provider) problem = QStringLiteral("--provider is google, apple, github, linkedin or facebook");
    return provider.has_value();
}

// Follows a browser sign-in: the page to open goes to stderr, then each status text as it changes.
void browserSignIn(const CliArguments& arguments, std::optional<NativeAuthProvider> provider, CliSession& session) {
    UGCAppState& state = session.state();
    QObject::connect(&state, &UGCAppState::browserAuthStatusMessageChanged, &state, [&state] {
        if (state.browserAuthStatusMessage()) std::fprintf(stderr, "%s\n", qPrintable(*state.browserAuthStatusMessage()));
    });
    state.startBrowserAuth(arguments.has(QStringLiteral("signup")) ? NativeAuthFlowMode::signup : NativeAuthFlowMode::signin,
                           provider);
    session.waitUntil([&] { return !state.isBrowserAuthInProgress(); }, 400);
}

int runSignIn(const CliArguments& arguments) {
    const bool browser = arguments.has(QStringLiteral("browser"));
    const std::optional<QString> email = arguments.value(QStringLiteral("email"));
    if (!browser && (!email || email->trimmed().isEmpty())) return usage(QStringLiteral("signin needs --email ADDRESS or --browser"));
    std::optional<NativeAuthProvider> provider;
    if (QString problem; !providerOption(arguments, provider, problem)) return usage(problem);
    // Not started: the new session replaces the stored one, whose workspace would only be loaded
    // for nothing and would pass for the new one's while that is still loading.
    CliSession session(UGCRuntimeConfiguration::fromEnvironment());
    UGCAppState& state = session.state();
    if (browser) {
        browserSignIn(arguments, provider, session);
    } else {
        state.setSignInEmail(*email);
        state.setSignInPassword(readPassword(!arguments.has(QStringLiteral("password-stdin"))));
        state.signIn();
        session.waitUntil([&] { return !state.isSigningIn(); }, 120);
    }
    // A session is installed before its workspace is known; without one the workflow signs out
    // again, and the process must not end before that sign-out has cleared the keyring.
    session.waitUntil([&] { return !session.isSignedIn() || state.authState().tenantID; }, 120);
    if (!session.isSignedIn()) return fail(arguments, state.authErrorMessage().value_or(QStringLiteral("Sign in failed.")));
    session.waitUntil([&] { return session.contextLoaded(); }, 120);
    const Json json = statusJson(state);
    arguments.json ? printJson(json) : printStatus(json);
    return success;
}

int runSignOut(const CliArguments& arguments) {
    CliSession session(UGCRuntimeConfiguration::fromEnvironment());
    session.start();
    UGCAppState& state = session.state();
    if (session.isSignedIn()) {
        state.cancelTenantScopedWork();
        state.signOut();
        session.waitUntil([&] { return !session.isSignedIn(); }, 60);
    }
    arguments.json ? printJson({{"signed_in", false}}) : print(QStringLiteral("Signed out."));
    return success;
}

}  // namespace

const QList<CliCommand>& cliCommands() {
    static const QList<CliCommand> commands{
        {QStringLiteral("generate"),
         QStringLiteral("generate --topic TEXT [--duration 5|10|15] [--language CODE] [--favorite ID] [--product ID]\n"
                        "           [--avatar URL | --auto-avatar | --gender G --origin O --age A --role R --scene S]\n"
                        "           [--publish] [--stub]   make a video, print its address and the publish results"),
         {QStringLiteral("topic"), QStringLiteral("duration"), QStringLiteral("language"), QStringLiteral("favorite"),
          QStringLiteral("product"), QStringLiteral("avatar"), QStringLiteral("gender"), QStringLiteral("origin"),
          QStringLiteral("age"), QStringLiteral("role"), QStringLiteral("scene")},
         runGenerate},
        {QStringLiteral("history"), QStringLiteral("history [--more]                             the workspace's past videos"), {},
         runHistory},
        {QStringLiteral("download"), QStringLiteral("download ID|current --output FILE           save a video from history or the last run"),
         {QStringLiteral("output")}, runDownload},
        {QStringLiteral("avatars"), QStringLiteral("avatars [list|generate|delete ID]            the reusable avatar library"), {},
         runAvatars},
        {QStringLiteral("schedules"),
         QStringLiteral("schedules [list|pause ID|resume ID|delete ID]\n"
                        "           schedules create --favorite ID [--source manual|gaps|knowledge] [--topic TEXT]\n"
                        "                            --avatar URL [--runs 1-6]   automated runs"),
         {QStringLiteral("favorite"), QStringLiteral("source"), QStringLiteral("topic"), QStringLiteral("avatar"), QStringLiteral("runs")},
         runSchedules},
        {QStringLiteral("publish"),
         QStringLiteral("publish [--retry-failed]                     publish the last video (or only its failed accounts)"), {},
         runPublish},
        {QStringLiteral("suggest"), QStringLiteral("suggest [--knowledge]                        topic ideas from gaps or the favorite's knowledge"),
         {}, runSuggest},
        {QStringLiteral("signin"),
         QStringLiteral("signin --email ADDRESS [--password-stdin]   sign in with e-mail and password\n"
                        "  signin --browser [--provider google|apple|github|linkedin|facebook] [--signup]"),
         {QStringLiteral("email"), QStringLiteral("provider")}, runSignIn},
        {QStringLiteral("signout"), QStringLiteral("signout                                      forget the session"), {}, runSignOut},
        {QStringLiteral("status"),
         QStringLiteral("status                                       user, workspace, credits, accounts, schedules"), {}, runStatus},
    };
    return commands;
}

}  // namespace vexora::cli
