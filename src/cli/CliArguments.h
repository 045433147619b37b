#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace vexora::cli {

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

    // `valueOptions` name the options that take a value; any other --name is a flag.
    // None, with the reason in `error`, when an option lacks its value.
    static std::optional<CliArguments> parse(const QStringList& words, const QStringList& valueOptions, QString& error);
};

}  // namespace vexora::cli
