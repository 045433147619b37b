#include "CliCommands.h"

#include "CliOutput.h"
#include "CliSession.h"
#include "foundation/Json.h"
#include "languages/UGCShortsLanguage.h"
#include "workflow/UGCAvatarOptions.h"

#include <QRegularExpression>
#include <QTextStream>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace vexora::cli {

using namespace Qt::Literals::StringLiterals;

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

// LinkedIn's id at the service; --provider calls it "linkedin", which reads better.
const QString linkedinID = QStringLiteral("linkedin_oidc");

QStringList providerChoices() {
    QStringList names;
    for (const NativeAuthProviderInfo& provider : allNativeAuthProviders())
        names.append(provider.id == linkedinID ? QStringLiteral("linkedin") : provider.id);
    return names;
}

// The provider named by --provider (one of its choices, the parser made sure), or none.
std::optional<NativeAuthProvider> providerOption(const CliArguments& arguments) {
    const std::optional<QString> name = arguments.value(QStringLiteral("provider"));
    if (!name) return std::nullopt;
    return nativeAuthProviderFromRawValue(*name == QLatin1String("linkedin") ? linkedinID : *name);
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
    const std::optional<NativeAuthProvider> provider = providerOption(arguments);
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

// The choices of the options whose values are a fixed set, from the tables the workflow uses.
QStringList durationChoices() {
    QStringList values;
    for (UGCDuration duration : {UGCDuration::five, UGCDuration::ten, UGCDuration::fifteen})
        values.append(QString::number(seconds(duration)));
    return values;
}

QStringList languageChoices() {
    QStringList codes;
    for (const UGCShortsLanguage& language : UGCShortsLanguage::all()) codes.append(language.code);
    return codes;
}

template <const QList<AvatarTraitOption>* options>
QStringList traitChoices() {
    QStringList values;
    for (const AvatarTraitOption& option : *options) values.append(option.value);
    return values;
}

QStringList sourceChoices() {
    QStringList names;
    for (ScheduleTopicSource source : {ScheduleTopicSource::manual, ScheduleTopicSource::gaps, ScheduleTopicSource::knowledge})
        names.append(storedName(source));
    return names;
}

QStringList runsChoices() { return {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s}; }

}  // namespace

QString CliCommand::expandedSynopsis(qsizetype line) const {
    static const QRegularExpression optionName(QStringLiteral("--([a-z-]+)"));
    const QString text = synopsis.at(line);
    QString expanded;
    qsizetype done = 0;
    for (auto matches = optionName.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const CliOption& candidate) { return candidate.name == match.captured(1); });
        expanded += text.mid(done, match.capturedStart() - done) + (option == options.end() ? match.captured() : option->withValue());
        done = match.capturedEnd();
    }
    return expanded + text.mid(done);
}

const QList<CliCommand>& cliCommands() {
    static const QList<CliCommand> commands{
        {u"generate"_s,
         u"make a video, print its address and the publish results"_s,
         u"What --duration, --language, --favorite, --product and the face leave out is the workspace's last "
         "choice, as the tray app keeps it. Progress goes to standard error. With --topics-file the topics are "
         "made one after another with the same options; each one's result is printed as it finishes (a line of "
         "JSON with --json), a failed one does not stop the others, and a count of those that succeeded and "
         "failed comes last. It exits with 1 when any failed. Ctrl+C stops the video under way, prints what was "
         "done and exits with 130."_s,
         {u"generate --topic|--topics-file [--duration] [--language] [--favorite] [--product] "
          "[--avatar | --auto-avatar | --gender --origin --age --role --scene] [--publish] [--stub]"_s},
         {{u"topic"_s, u"TEXT"_s, u"what the video is about"_s},
          {u"topics-file"_s, u"FILE"_s,
           u"make a video for each line of FILE (- for standard input); blank lines and lines starting with # are skipped"_s,
           nullptr, true},
          {u"duration"_s, {}, u"its length in seconds"_s, durationChoices},
          {u"language"_s, u"CODE"_s, u"the language of its script"_s, languageChoices},
          {u"favorite"_s, u"ID"_s, u"the id of the favorite product or site it is about"_s},
          {u"product"_s, u"ID"_s, u"the id of the product it shows"_s},
          {u"avatar"_s, u"URL"_s, u"reuse this face from the avatar library (its image address, as avatars lists it)"_s},
          {u"auto-avatar"_s, {}, u"a new face with traits drawn at random"_s},
          {u"gender"_s, u"G"_s, u"a new face of this gender"_s, traitChoices<&UGCAvatarOptions::genders>},
          {u"origin"_s, u"O"_s, u"a new face of this origin"_s, traitChoices<&UGCAvatarOptions::origins>},
          {u"age"_s, u"A"_s, u"a new face of this age range"_s, traitChoices<&UGCAvatarOptions::ageRanges>},
          {u"role"_s, u"R"_s, u"a new face in this role"_s, traitChoices<&UGCAvatarOptions::types>},
          {u"scene"_s, u"S"_s, u"a new face in this scene"_s, traitChoices<&UGCAvatarOptions::locations>},
          {u"publish"_s, {}, u"publish it to the workspace's connected accounts once it is rendered"_s},
          {u"stub"_s, {}, u"a rehearsal: the service makes no script, face or video, and placeholder addresses come back"_s}},
         {},
         false,
         runGenerate},
        {u"history"_s,
         u"the workspace's past videos"_s,
         u"Each line is a video's id and title; download takes the id."_s,
         {u"history [--more]"_s},
         {{u"more"_s, {}, u"load one more page after the first"_s}},
         {},
         false,
         runHistory},
        {u"download"_s,
         u"save a video from history or the last run"_s,
         u"ID is a video's id as history prints it; current is the last video that generate made."_s,
         {u"download ID|current --output"_s},
         {{u"output"_s, u"FILE"_s, u"where to save it; an existing file is replaced only once the whole video has arrived"_s,
           nullptr, true}},
         {u"current"_s},
         true,
         runDownload},
        {u"avatars"_s,
         u"the reusable avatar library"_s,
         u"list (the default) prints each face's id and image address; generate makes a new face from the "
         "workspace's avatar traits and prints it; delete removes a face by its id."_s,
         {u"avatars [list|generate|delete ID]"_s},
         {},
         {u"list"_s, u"generate"_s, u"delete"_s},
         false,
         runAvatars},
        {u"schedules"_s,
         u"automated runs"_s,
         u"list (the default) prints each schedule's id, title, state and times; pause, resume and delete act on "
         "one by its id; create adds one that runs every day."_s,
         {u"schedules [list|pause ID|resume ID|delete ID]"_s,
          u"schedules create --favorite [--source] [--topic] --avatar [--runs]"_s},
         {{u"favorite"_s, u"ID"_s, u"the id of the favorite product or site the runs are about"_s},
          {u"source"_s, {}, u"where each run's topic comes from (default manual)"_s, sourceChoices},
          {u"topic"_s, u"TEXT"_s, u"the topic of manual runs"_s},
          {u"avatar"_s, u"URL"_s, u"the face every run uses, from the avatar library"_s},
          {u"runs"_s, u"1-6"_s, u"runs a day (default 1)"_s, runsChoices}},
         {u"list"_s, u"create"_s, u"pause"_s, u"resume"_s, u"delete"_s},
         false,
         runSchedules},
        {u"publish"_s,
         u"publish the last video (or only its failed accounts)"_s,
         u"Exits with 1 when any account failed."_s,
         {u"publish [--retry-failed]"_s},
         {{u"retry-failed"_s, {}, u"publish again only to the accounts that failed"_s}},
         {},
         false,
         runPublish},
        {u"suggest"_s,
         u"topic ideas from gaps or the favorite's knowledge"_s,
         {},
         {u"suggest [--knowledge]"_s},
         {{u"knowledge"_s, {}, u"ideas from the selected favorite's knowledge documents instead of the workspace's content gaps"_s}},
         {},
         false,
         runSuggest},
        {u"signin"_s,
         u"sign in with e-mail and password, or in a browser"_s,
         u"Prints what status prints once the workspace has loaded. The session stays in the keyring for the "
         "commands that follow and for the tray app."_s,
         {u"signin --email [--password-stdin]"_s, u"signin --browser [--provider] [--signup]"_s},
         {{u"email"_s, u"ADDRESS"_s, u"the account's e-mail address; the password is asked for on the terminal"_s},
          {u"password-stdin"_s, {}, u"read the password from standard input, without a prompt"_s},
          {u"browser"_s, {}, u"sign in on the service's web page, whose address goes to standard error; waits until that is done"_s},
          {u"provider"_s, {}, u"go straight to this provider's sign-in"_s, providerChoices},
          {u"signup"_s, {}, u"create an account instead"_s}},
         {},
         false,
         runSignIn},
        {u"signout"_s, u"forget the session"_s, {}, {u"signout"_s}, {}, {}, false, runSignOut},
        {u"status"_s, u"user, workspace, credits, accounts, schedules"_s, {}, {u"status"_s}, {}, {}, false, runStatus},
    };
    return commands;
}

const CliCommand* findCliCommand(const QString& name) {
    for (const CliCommand& command : cliCommands())
        if (command.name == name) return &command;
    return nullptr;
}

const QList<CliOption>& globalOptions() {
    static const QList<CliOption> options{
        {u"json"_s, {}, u"print machine-readable output: JSON on standard output, with `{\"error\": TEXT}` when the command fails"_s},
        {u"help"_s, {}, u"print how to use vexora-ugc, or the command it follows, and exit (also -h)"_s},
    };
    return options;
}

}  // namespace vexora::cli
