// vexora-ugc generate: one run of the pipeline with a live progress line, or one run for each
// topic of a file.
#include "CliCommands.h"
#include "CliInterrupt.h"
#include "CliOutput.h"
#include "CliSession.h"
#include "panel/UGCStepTexts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace vexora::cli {

namespace {

struct TraitOption {
    const char* name;
    void (UGCAppState::*set)(const QString&);
};

const TraitOption traitOptions[] = {
    {"gender", &UGCAppState::setAvatarGender}, {"origin", &UGCAppState::setAvatarOrigin},
    {"age", &UGCAppState::setAvatarAgeRange},  {"role", &UGCAppState::setAvatarType},
    {"scene", &UGCAppState::setAvatarLocation},
};

std::optional<UGCDuration> durationFromSeconds(const QString& text) {
    for (UGCDuration duration : {UGCDuration::five, UGCDuration::ten, UGCDuration::fifteen})
        if (text == QString::number(seconds(duration))) return duration;
    return std::nullopt;
}

// What is wrong with the form options whatever the session and workspace: a usage error's text.
// Values with a fixed set of choices were checked by the parser.
std::optional<QString> formUsageProblem(const CliArguments& arguments) {
    const std::optional<QString> topic = arguments.value(QStringLiteral("topic"));
    const bool fromFile = arguments.value(QStringLiteral("topics-file")).has_value();
    if (topic && fromFile) return QStringLiteral("generate takes --topic or --topics-file, not both");
    if (fromFile) return std::nullopt;
    if (!topic || topic->trimmed().isEmpty()) return QStringLiteral("generate needs --topic TEXT or --topics-file FILE");
    return std::nullopt;
}

// The topics of --topics-file, one a line, or none with the reason in `problem`. Read before
// anything is sent, so a file that cannot be used is a usage error like an empty --topic.
std::optional<QStringList> readTopics(const QString& path, QString& problem) {
    const bool standardInput = path == QLatin1String("-");
    const QString name = standardInput ? QStringLiteral("standard input") : path;
    QFile file(standardInput ? QString() : path);
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    const QByteArray content = opened ? file.readAll() : QByteArray();
    if (!opened || file.error() != QFileDevice::NoError) {
        problem = QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    QStringList topics;
    for (const QString& line : QString::fromUtf8(content).split(QLatin1Char('\n'))) {
        const QString topic = line.trimmed();
        if (!topic.isEmpty() && !topic.startsWith(QLatin1Char('#'))) topics.append(topic);
    }
    if (topics.isEmpty()) problem = QStringLiteral("%1 holds no topics").arg(name);
    return topics.isEmpty() ? std::nullopt : std::optional(topics);
}

// Applies the form options but the topic, checked by formUsageProblem; a usage error's text when a
// favorite or product is not in the workspace.
std::optional<QString> applyForm(const CliArguments& arguments, UGCAppState& state) {
    if (auto text = arguments.value(QStringLiteral("duration"))) state.setSelectedDuration(*durationFromSeconds(*text));
    if (auto code = arguments.value(QStringLiteral("language"))) state.setLanguage(*code);
    if (auto id = arguments.value(QStringLiteral("favorite"))) {
        if (!state.validatedFavoriteID(*id)) return QStringLiteral("no favorite %1 in this workspace").arg(*id);
        state.setSelectedFavoriteID(*id);
        state.selectedFavoriteDidChange();
    }
    if (auto id = arguments.value(QStringLiteral("product"))) {
        if (!state.validatedProductID(*id)) return QStringLiteral("no product %1 in this workspace").arg(*id);
        state.setSelectedProductID(*id);
    }
    if (auto url = arguments.value(QStringLiteral("avatar"))) {
        state.setReusedAvatarURL(*url);
    } else if (arguments.has(QStringLiteral("auto-avatar"))) {
        state.clearSelectedAvatar();
        state.setAvatarAutoMode(true);
    }
    for (const TraitOption& trait : traitOptions) {
        const std::optional<QString> value = arguments.value(QString::fromLatin1(trait.name));
        if (!value) continue;
        state.setAvatarAutoMode(false);
        (state.*trait.set)(*value);
    }
    state.setAutoPublish(arguments.has(QStringLiteral("publish")));
    return std::nullopt;
}

// One line that rewrites itself on a terminal; a plain line per step elsewhere. With a `label`
// ("Topic 2 of 3: ") it leads the line, shows only on a terminal and is wiped at the end, so
// scripts get only the results and a terminal keeps them apart from the progress.
class ProgressLine {
public:
    explicit ProgressLine(UGCAppState& state, QString label = {})
        : state_(state), label_(std::move(label)), terminal_(isatty(STDERR_FILENO)) {
        clock_.start();
        QObject::connect(&state_, &UGCAppState::stepChanged, &ticker_, [this] { show(true); });
        QObject::connect(&ticker_, &QTimer::timeout, [this] { show(false); });
        if (terminal_) ticker_.start(100);
    }
    ~ProgressLine() {
        if (terminal_) std::fprintf(stderr, label_.isEmpty() ? "\n" : "\r\033[K");
    }

private:
    void show(bool stepChanged) {
        if (!terminal_ && !label_.isEmpty()) return;
        // The reset to idle as the run starts is no progress; video and polling read the same.
        const QString title = UGCStepTexts::headerSubtitle(state_.step());
        if (state_.step() == UGCStep::idle || (stepChanged && title == lastTitle_)) return;
        lastTitle_ = title;
        const QString line =
            QStringLiteral("%1%2  %3 s").arg(label_, title).arg(double(clock_.elapsed()) / 1000.0, 0, 'f', 1);
        if (terminal_) std::fprintf(stderr, "\r\033[K%s", qPrintable(line));
        else if (stepChanged) std::fprintf(stderr, "%s\n", qPrintable(line));
    }

    UGCAppState& state_;
    QString label_;
    bool terminal_;
    QElapsedTimer clock_;
    QTimer ticker_;
    QString lastTitle_;
};

int runOne(const CliArguments& arguments, CliSession& session, const QString& topic) {
    UGCAppState& state = session.state();
    state.setTopic(topic);
    if (!state.canGenerate()) return fail(arguments, state.errorMessage().value_or(QStringLiteral("Nothing to generate.")));
    {
        ProgressLine progress(state);
        state.generate();
        session.waitUntil([&] { return !state.isRunActive(); });
    }
    if (state.step() == UGCStep::error)
        return fail(arguments, state.errorMessage().value_or(QStringLiteral("The last operation failed.")));
    printRunResult(arguments, state);
    return success;
}

enum class Outcome { succeeded, failed, interrupted };

// A topic's result as it finishes: generate's own result with the topic, and why it failed or where
// it was stopped. `run` is none for a topic that never started.
void printTopic(const CliArguments& arguments, const QString& heading, const QString& topic, Outcome outcome,
                const UGCAppState* run, const QString& error = {}) {
    if (arguments.json) {
        Json json = run ? runResultJson(*run) : Json::object();
        json["topic"] = text(topic);
        if (outcome == Outcome::failed) json["error"] = text(error);
        if (outcome == Outcome::interrupted) json["interrupted"] = true;
        printJsonLine(json);
        return;
    }
    print(heading + topic);
    if (outcome == Outcome::failed) print(QStringLiteral("Failed: ") + error);
    else if (outcome == Outcome::interrupted) print(QStringLiteral("Interrupted (%1)").arg(UGCStepTexts::headerSubtitle(run->step())));
    else printRunResultText(*run);
    print(QString());
    std::fflush(stdout);
}

int runVolley(const CliArguments& arguments, CliSession& session, const QStringList& topics) {
    UGCAppState& state = session.state();
    // Ctrl+C ends the run as signing out in the panel does: the stop tokens end its request or its
    // wait for the next poll. Its stored record stays as it was at its last step, which the app
    // reads at its next start as an interrupted run.
    InterruptWatcher interrupt([&state] { state.cancelTenantScopedWork(); });
    const qsizetype count = topics.size();
    int started = 0, succeeded = 0, failed = 0, stopped = 0;
    for (const QString& topic : topics) {
        if (interrupt.interrupted()) break;
        const QString heading = QStringLiteral("Topic %1 of %2: ").arg(++started).arg(count);
        state.setTopic(topic);
        if (!state.canGenerate()) {  // the session ended under an earlier topic
            ++failed;
            printTopic(arguments, heading, topic, Outcome::failed, nullptr,
                       state.authErrorMessage().value_or(QStringLiteral("Not signed in. Run vexora-ugc signin first.")));
            continue;
        }
        {
            ProgressLine progress(state, heading);
            state.generate();
            session.waitUntil([&] { return !state.isRunActive() || interrupt.interrupted(); });
        }
        if (state.isRunActive()) state.cancelTenantScopedWork();  // the wait's guard ran out
        // A Ctrl+C that came with the run's last reply did not stop it.
        const UGCStep step = state.step();
        const Outcome outcome = step == UGCStep::complete                             ? Outcome::succeeded
                                : interrupt.interrupted() && step != UGCStep::error ? Outcome::interrupted
                                                                                      : Outcome::failed;
        ++(outcome == Outcome::failed ? failed : outcome == Outcome::succeeded ? succeeded : stopped);
        printTopic(arguments, heading, topic, outcome, &state, state.errorMessage().value_or(QStringLiteral("The last operation failed.")));
    }
    const int notStarted = int(count) - started;
    if (arguments.json) {
        Json summary = {{"topics", count}, {"succeeded", succeeded}, {"failed", failed}};
        if (interrupt.interrupted()) summary.update({{"interrupted", stopped}, {"not_started", notStarted}});
        printJsonLine({{"summary", summary}});
    } else {
        QString line = QStringLiteral("%1 topics: %2 succeeded, %3 failed").arg(count).arg(succeeded).arg(failed);
        if (interrupt.interrupted()) line += QStringLiteral(", %1 interrupted, %2 not started").arg(stopped).arg(notStarted);
        print(line);
    }
    return interrupt.interrupted() ? interrupted : failed > 0 ? failure : success;
}

}  // namespace

int runGenerate(const CliArguments& arguments) {
    if (const std::optional<QString> problem = formUsageProblem(arguments)) return usage(*problem);
    const std::optional<QString> topicsFile = arguments.value(QStringLiteral("topics-file"));
    QStringList topics;
    if (topicsFile) {
        QString problem;
        const std::optional<QStringList> read = readTopics(*topicsFile, problem);
        if (!read) return usage(problem);
        topics = *read;
    }
    UGCRuntimeConfiguration runtime = UGCRuntimeConfiguration::fromEnvironment();
    if (arguments.has(QStringLiteral("stub"))) runtime.stubMode = true;
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode, runtime);
    if (!session) return exitCode;
    if (const std::optional<QString> problem = applyForm(arguments, session->state())) return usage(*problem);
    return topicsFile ? runVolley(arguments, *session, topics) : runOne(arguments, *session, *arguments.value(QStringLiteral("topic")));
}

}  // namespace vexora::cli
