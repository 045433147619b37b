#include "CliHelp.h"

#include "CliReference.h"

namespace vexora::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype width = 100;
constexpr qsizetype summaryColumn = 47;
constexpr qsizetype summaryLineWidth = 110;

// The words of a synopsis with each bracketed group kept whole, so a line breaks between groups.
QStringList groups(const QString& synopsis) {
    QStringList result;
    QString current;
    int depth = 0;
    for (QChar c : synopsis) {
        if (c == u' ' && depth == 0) {
            if (!current.isEmpty()) result.append(current);
            current.clear();
            continue;
        }
        if (c == u'[') ++depth;
        if (c == u']') --depth;
        current += c;
    }
    if (!current.isEmpty()) result.append(current);
    return result;
}

// The synopsis broken into lines of `width`, the later ones indented under the first option.
QStringList wrapped(const QString& synopsis, qsizetype indent) {
    const QStringList words = groups(synopsis);
    const QString continuation(indent + words.first().size() + 1, u' ');
    QStringList lines{QString(indent, u' ') + words.first()};
    for (const QString& word : words.mid(1)) {
        if (lines.last().size() + 1 + word.size() > width && lines.last().trimmed() != words.first())
            lines.append(continuation + word);
        else
            lines.last() += u' ' + word;
    }
    return lines;
}

// The manual page sets `spans` as code; a terminal shows them as they are.
QString unmarked(QString text) { return text.remove(u'`'); }

QString padded(const QString& text, qsizetype column) {
    return text + QString(std::max<qsizetype>(3, column - text.size()), u' ');
}

// Words joined into lines no wider than `width`; the first line starts `start` columns in (after
// what the caller wrote), the later ones `indent` columns in.
QString filled(const QString& text, qsizetype indent = 0, qsizetype start = 0) {
    QString result;
    qsizetype column = start;
    bool lineEmpty = true;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lineEmpty && column + 1 + word.size() > width) {
            result += u'\n' + QString(indent, u' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            result += u' ';
            ++column;
        }
        result += word;
        column += word.size();
        lineEmpty = false;
    }
    return result + u'\n';
}

// "--name VALUE" and its description, in two columns; a long first column puts its description
// on the next line.
QString optionLines(const QList<CliOption>& options) {
    constexpr qsizetype widest = 24;
    qsizetype column = 0;
    for (const CliOption& option : options)
        if (option.withValue().size() <= widest) column = std::max(column, option.withValue().size());
    const qsizetype indent = 2 + column + 3;
    QString text;
    for (const CliOption& option : options) {
        QString description = unmarked(option.description);
        if (const QStringList choices = option.choicesToList(); !choices.isEmpty()) description += u": "_s + oneOf(choices);
        QString line = u"  "_s + option.withValue();
        if (line.size() + 3 > indent) line += u'\n' + QString(indent, u' ');
        else line += QString(indent - line.size(), u' ');
        text += line + filled(description, indent, indent);
    }
    return text;
}

QString exitCodesSentence() {
    QStringList codes;
    for (const CliExitStatus& status : exitStatuses()) codes.append(QString::number(status.code) + u' ' + status.meaning);
    return u"Exit codes: "_s + codes.join(u", "_s) + u'.';
}

}  // namespace

QString helpText() {
    QString text = u"usage: vexora-ugc [--json] COMMAND [options]\n\ncommands:\n"_s;
    for (const CliCommand& command : cliCommands()) {
        QStringList lines;
        for (qsizetype index = 0; index < command.synopsis.size(); ++index) lines += wrapped(command.expandedSynopsis(index), 2);
        // The summary follows the last line, or else the first that leaves it room, or else stands alone.
        auto fits = [&](const QString& line) {
            return std::max(line.size() + 3, summaryColumn) + command.summary.size() <= summaryLineWidth;
        };
        qsizetype at = lines.size() - 1;
        if (!fits(lines[at])) at = std::find_if(lines.begin(), lines.end(), fits) - lines.begin();
        if (at == lines.size()) lines.append(QString());
        lines[at] = padded(lines[at], summaryColumn) + command.summary;
        text += lines.join(u'\n') + u'\n';
    }
    text += u'\n' + filled(u"--json prints machine-readable output. "_s + exitCodesSentence() +
                           u" Uses the same keyring session and workspace preferences as the tray app."_s);
    text += u"vexora-ugc COMMAND --help lists a command's options; man vexora-ugc tells the rest.\n"_s;
    return text;
}

QString commandHelpText(const CliCommand& command) {
    QString text;
    const QString prefix = u"usage: vexora-ugc [--json] "_s;
    for (qsizetype index = 0; index < command.synopsis.size(); ++index) {
        QStringList lines = wrapped(command.expandedSynopsis(index), prefix.size());
        if (index == 0) lines[0].replace(0, prefix.size(), prefix);
        text += lines.join(u'\n') + u'\n';
    }
    QString about = command.summary;
    about[0] = about[0].toUpper();
    text += u'\n' + filled(about + u". "_s + unmarked(command.details));
    QList<CliOption> options = command.options;
    options += globalOptions();
    text += u"\noptions:\n"_s + optionLines(options);
    return text;
}

}  // namespace vexora::cli
