#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vexora::bench {

// vexora-ugc as a user runs it against a devserver, with a settings folder of its own, in the
// keyring session the benchmarks run in.
class CliRunner {
public:
    struct Run {
        int exitCode = -1;
        QString err;
        double milliseconds = 0;
    };

    explicit CliRunner(QString baseURL) : baseURL_(std::move(baseURL)) {}

    Run run(const QStringList& arguments, const QByteArray& input = {});
    // Signs the demo account in; throws when the CLI could not.
    void signIn();

private:
    QString baseURL_;
    QTemporaryDir settings_;
};

}  // namespace vexora::bench
