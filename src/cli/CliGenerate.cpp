// vexora-ugc generate: one run of the pipeline with a live progress line.
#include "CliCommands.h"
#include "CliOutput.h"
#include "CliSession.h"
#include "panel/UGCStepTexts.h"

#include <QElapsedTimer>
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
    if (!topic || topic->trimmed().isEmpty()) return QStringLiteral("generate needs --topic TEXT");
    return std::nullopt;
}

// Applies the form options, checked by formUsageProblem; a usage error's text when a favorite or
// product is not in the workspace.
std::optional<QString> applyForm(const CliArguments& arguments, UGCAppState& state) {
    state.setTopic(*arguments.value(QStringLiteral("topic")));
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

// One line that rewrites itself on a terminal; a plain line per step elsewhere.
class ProgressLine {
public:
    explicit ProgressLine(UGCAppState& state) : state_(state), terminal_(isatty(STDERR_FILENO)) {
        clock_.start();
        QObject::connect(&state_, &UGCAppState::stepChanged, &ticker_, [this] { show(true); });
        QObject::connect(&ticker_, &QTimer::timeout, [this] { show(false); });
        if (terminal_) ticker_.start(100);
    }
    ~ProgressLine() {
        if (terminal_) std::fprintf(stderr, "\n");
    }

private:
    void show(bool stepChanged) {
        // The reset to idle as the run starts is no progress; video and polling read the same.
        const QString title = UGCStepTexts::headerSubtitle(state_.step());
        if (state_.step() == UGCStep::idle || (stepChanged && title == lastTitle_)) return;
        lastTitle_ = title;
        const QString line = QStringLiteral("%1  %2 s").arg(title).arg(double(clock_.elapsed()) / 1000.0, 0, 'f', 1);
        if (terminal_) std::fprintf(stderr, "\r\033[K%s", qPrintable(line));
        else if (stepChanged) std::fprintf(stderr, "%s\n", qPrintable(line));
    }

    UGCAppState& state_;
    bool terminal_;
    QElapsedTimer clock_;
    QTimer ticker_;
    QString lastTitle_;
};

}  // namespace

int runGenerate(const CliArguments& arguments) {
    if (const std::optional<QString> problem = formUsageProblem(arguments)) return usage(*problem);
    UGCRuntimeConfiguration runtime = UGCRuntimeConfiguration::fromEnvironment();
    if (arguments.has(QStringLiteral("stub"))) runtime.stubMode = true;
    int exitCode = success;
    const auto session = signedInSession(arguments, exitCode, runtime);
    if (!session) return exitCode;
    UGCAppState& state = session->state();
    if (const std::optional<QString> problem = applyForm(arguments, state)) return usage(*problem);
    if (!state.canGenerate()) return fail(arguments, state.errorMessage().value_or(QStringLiteral("Nothing to generate.")));
    {
        ProgressLine progress(state);
        state.generate();
        session->waitUntil([&] { return !state.isRunActive(); });
    }
    if (state.step() == UGCStep::error)
        return fail(arguments, state.errorMessage().value_or(QStringLiteral("The last operation failed.")));
    printRunResult(arguments, state);
    return success;
}

}  // namespace vexora::cli
