// vexora-ugc: the tray app's workflow from a terminal, for people and scripts.

#include "CliCommands.h"
#include "config/UGCAppConfiguration.h"

#include <QCoreApplication>
#include <cstdio>

using namespace vexora::cli;

namespace {

void printHelp() {
    std::printf("usage: vexora-ugc [--json] COMMAND [options]\n\ncommands:\n");
    for (const CliCommand& command : cliCommands()) std::printf("  %s\n", qPrintable(command.usage));
    std::printf("\n--json prints machine-readable output. Exit codes: 0 done, 1 the service or the workflow failed,\n"
                "2 a usage error. Uses the same keyring session and workspace preferences as the tray app.\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // The tray app's names, so both share one preferences file.
    QCoreApplication::setOrganizationName(QStringLiteral("Vexora"));
    QCoreApplication::setApplicationName(QStringLiteral("VexoraUGCVolley"));

    QStringList words = application.arguments().mid(1);
    // The command picks which options take values; find it first.
    const CliCommand* command = nullptr;
    for (const QString& word : words)
        if (!word.startsWith(QLatin1Char('-')))
            for (const CliCommand& candidate : cliCommands())
                if (!command && candidate.name == word) command = &candidate;

    QString error;
    const std::optional<CliArguments> arguments =
        CliArguments::parse(words, command ? command->valueOptions : QStringList{}, error);
    if (!arguments) {
        std::fprintf(stderr, "vexora-ugc: %s\n", qPrintable(error));
        return usageError;
    }
    if (!command) {
        if (arguments->help) {
            printHelp();
            return success;
        }
        if (arguments->command.isEmpty()) std::fprintf(stderr, "vexora-ugc: no command given\n");
        else std::fprintf(stderr, "vexora-ugc: unknown command %s\n", qPrintable(arguments->command));
        printHelp();
        return usageError;
    }
    if (arguments->help) {
        std::printf("usage: vexora-ugc [--json] %s\n", qPrintable(command->usage));
        return success;
    }
    // Refused rather than replaced by the production service, which would get the password.
    if (const std::optional<QString> problem = vexora::UGCAppConfiguration::core().apiBaseURLProblem()) {
        std::fprintf(stderr, "vexora-ugc: %s\n", qPrintable(*problem));
        return usageError;
    }
    return command->run(*arguments);
}
