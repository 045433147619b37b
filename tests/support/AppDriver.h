#pragma once

#include "foundation/Json.h"

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace vexora::test {

// Checks every intervalMs until the check holds or timeoutMs have passed.
bool pollUntil(const std::function<bool()>& check, int timeoutMs, int intervalMs = 100);

// An X server of its own, so the application runs on a real windowing system.
class VirtualDisplay {
public:
    explicit VirtualDisplay(QSize size = {1280, 1024});
    ~VirtualDisplay();
    QString name() const { return name_; }

private:
    QProcess xvfb_;
    QString name_;
};

// The tray application as its users start it, driven through its controls' identifiers.
class AppDriver {
public:
    explicit AppDriver(QProcessEnvironment environment) : environment_(std::move(environment)) {}
    ~AppDriver();

    bool start(const QString& socketPath, const QStringList& arguments = {});
    // Ends the application the polite way and reports its exit code.
    int quit();
    // Ends it the way a crash or a power cut would.
    void kill();

    Json state(const QString& identifier);
    // Each says why when the application refused.
    ::testing::AssertionResult click(const QString& identifier);
    ::testing::AssertionResult type(const QString& identifier, const QString& text);
    ::testing::AssertionResult choose(const QString& identifier, int index);
    QStringList shownIdentifiers(const QString& prefix);
    // Signs the devserver's demo account in from the panel (signing out a session left in the
    // keyring first) and waits until the workspace has loaded.
    ::testing::AssertionResult signInDemo();
    ::testing::AssertionResult waitForWorkspace();

    // Checks again, while the application runs, until the check holds or the time runs out.
    bool waitUntil(const std::function<bool()>& check, int timeoutMs = 30000);
    // waitUntil over the state of one control.
    bool waitFor(const QString& identifier, const std::function<bool(const Json&)>& check, int timeoutMs = 30000);
    bool waitShown(const QString& identifier, int timeoutMs = 30000);
    bool waitText(const QString& identifier, const QString& text, int timeoutMs = 30000);
    // Everything the application wrote to stdout and stderr, over all its starts.
    QString output() const;
    qint64 processId() const { return process_.processId(); }

private:
    Json send(const Json& request);
    ::testing::AssertionResult perform(const Json& request);

    QProcessEnvironment environment_;
    QProcess process_;
    QLocalSocket socket_;
    QString logPath_;
};

}  // namespace vexora::test
