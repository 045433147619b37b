// vexora-ugc: the tray app's workflow from a terminal, for people and scripts.

#include "CliCommands.h"
#include "CliHelp.h"
#include "CliOutput.h"
#include "CliReference.h"
#include "config/UGCAppConfiguration.h"

#include <QCoreApplication>
#include <cstdio>

using namespace vexora::cli;

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // The tray app's names, so both share one preferences file.
    QCoreApplication::setOrganizationName(QLatin1String(organizationName));
    QCoreApplication::setApplicationName(vexora::UGCAppConfiguration::core().appName);

    QStringList words = application.arguments().mid(1);
    // The command picks which options it takes; find it first.
    const CliCommand* command = nullptr;
    for (const QString& word : words)
        if (!command && !word.startsWith(QLatin1Char('-'))) command = findCliCommand(word);

    QString error;
    const std::optional<CliArguments> arguments = CliArguments::parse(words, command ? &command->options : nullptr, error);
    if (!arguments) return usage(error);
    if (!command) {
        if (arguments->help) {
            std::printf("%s", qPrintable(helpText()));
            return success;
        }
        if (arguments->command.isEmpty()) std::fprintf(stderr, "vexora-ugc: no command given\n");
        else std::fprintf(stderr, "vexora-ugc: unknown command %s\n", qPrintable(arguments->command));
        std::printf("%s", qPrintable(helpText()));
        return usageError;
    }
    if (arguments->help) {
        std::printf("%s", qPrintable(commandHelpText(*command)));
        return success;
    }
    // Refused rather than replaced by the production service, which would get the password.
    if (const std::optional<QString> problem = vexora::UGCAppConfiguration::core().apiBaseURLProblem()) {
        std::fprintf(stderr, "vexora-ugc: %s\n", qPrintable(*problem));
        return usageError;
    }
    return command->run(*arguments);
}
