#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace vexora::cli {

// One --option of a command. The parser, --help, the manual page and the bash completion all read
// these records, so none of them can take or offer an option the others do not know.
struct CliOption {
    QString name;        // without the leading "--"
    QString valueName;   // what --help calls its value; empty for a flag unless `choices` is set
    QString description; // lower case, no full stop
    QStringList (*choices)() = nullptr;  // the only values it takes, when they are a fixed set
    bool takesFile = false;              // its value is a path

    bool takesValue() const { return !valueName.isEmpty() || choices; }
    // "--name VALUE", or "--name a|b|c" when only the choices name the value.
    QString withValue() const;
    // The choices to list after the description: those a placeholder such as G stands for.
    QStringList choicesToList() const;
};

// "a, b or c"
QString oneOf(const QStringList& words);

// The command line split into the command, its options and its positional words. `--json` and
// `--help` count wherever they stand.
struct CliArguments {
    QString command;
    QStringList positional;
    QMap<QString, QString> values;  // --name VALUE
    QStringList flags;              // --name
    bool json = false;
    bool help = false;

    bool has(const QString& flag) const { return flags.contains(flag); }
    std::optional<QString> value(const QString& name) const;

    // With `options` (the command's), an option it does not list, a missing value or a value
    // outside the option's choices is refused: none, with the reason in `error`. Without, as when
    // the command is unknown, every --name is a flag.
    static std::optional<CliArguments> parse(const QStringList& words, const QList<CliOption>* options, QString& error);
};

}  // namespace vexora::cli
