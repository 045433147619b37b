#include "CliArguments.h"

#include <QRegularExpression>
#include <algorithm>

namespace vexora::cli {

QString CliOption::withValue() const {
    const QString flag = QStringLiteral("--") + name;
    if (!takesValue()) return flag;
    return flag + QLatin1Char(' ') + (valueName.isEmpty() ? choices().join(QLatin1Char('|')) : valueName);
}

QStringList CliOption::choicesToList() const {
    static const QRegularExpression placeholder(QStringLiteral("^[A-Z]+$"));
    return choices && placeholder.match(valueName).hasMatch() ? choices() : QStringList{};
}

QString oneOf(const QStringList& words) {
    if (words.size() < 2) return words.join(QString());
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + words.last();
}

std::optional<QString> CliArguments::value(const QString& name) const {
    if (!values.contains(name)) return std::nullopt;
    return values.value(name);
}

std::optional<CliArguments> CliArguments::parse(const QStringList& words, const QList<CliOption>* options, QString& error) {
    CliArguments parsed;
    for (qsizetype index = 0; index < words.size(); ++index) {
        const QString& word = words[index];
        if (word == QLatin1String("--json")) {
            parsed.json = true;
        } else if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            parsed.help = true;
        } else if (word.startsWith(QLatin1String("--"))) {
            const QString name = word.mid(2);
            if (!options) {
                parsed.flags.append(name);
                continue;
            }
            const auto option =
                std::find_if(options->begin(), options->end(), [&](const CliOption& candidate) { return candidate.name == name; });
            if (option == options->end()) {
                error = QStringLiteral("unknown option %1").arg(word);
                return std::nullopt;
            }
            if (!option->takesValue()) {
                parsed.flags.append(name);
                continue;
            }
            if (index + 1 >= words.size()) {
                error = QStringLiteral("%1 needs a value").arg(word);
                return std::nullopt;
            }
            const QString& value = words[++index];
            if (option->choices && !option->choices().contains(value)) {
                error = QStringLiteral("%1 is %2").arg(word, oneOf(option->choices()));
                return std::nullopt;
            }
            parsed.values.insert(name, value);
        } else if (parsed.command.isEmpty()) {
            parsed.command = word;
        } else {
            parsed.positional.append(word);
        }
    }
    return parsed;
}

}  // namespace vexora::cli
