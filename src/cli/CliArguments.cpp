#include "CliArguments.h"

namespace vexora::cli {

std::optional<QString> CliArguments::value(const QString& name) const {
    if (!values.contains(name)) return std::nullopt;
    return values.value(name);
}

std::optional<CliArguments> CliArguments::parse(const QStringList& words, const QStringList& valueOptions, QString& error) {
    CliArguments parsed;
    for (qsizetype index = 0; index < words.size(); ++index) {
        const QString& word = words[index];
        if (word == QLatin1String("--json")) {
            parsed.json = true;
        } else if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            parsed.help = true;
        } else if (word.startsWith(QLatin1String("--"))) {
            const QString name = word.mid(2);
            if (!valueOptions.contains(name)) {
                parsed.flags.append(name);
                continue;
            }
            if (index + 1 >= words.size()) {
                error = QStringLiteral("--%1 needs a value").arg(name);
                return std::nullopt;
            }
            parsed.values.insert(name, words[++index]);
        } else if (parsed.command.isEmpty()) {
            parsed.command = word;
        } else {
            parsed.positional.append(word);
        }
    }
    return parsed;
}

}  // namespace vexora::cli
