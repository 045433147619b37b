#include "support/AppDriver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace vexora::test {

bool pollUntil(const std::function<bool()>& check, int timeoutMs, int intervalMs) {
    QElapsedTimer waited;
    waited.start();
    while (!check()) {
        if (waited.elapsed() >= timeoutMs) return false;
        QThread::msleep(intervalMs);
    }
    return true;
}

VirtualDisplay::VirtualDisplay(QSize size) {
    // -displayfd picks a free display and writes its number once the server accepts clients.
    const QString screen = QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height());
    xvfb_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
    QByteArray number;
    while (!number.contains('\n') && xvfb_.waitForReadyRead(10000)) number += xvfb_.readAllStandardOutput();
    if (!number.trimmed().isEmpty()) name_ = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

VirtualDisplay::~VirtualDisplay() {
    xvfb_.terminate();
    xvfb_.waitForFinished(5000);
}

AppDriver::~AppDriver() {
    if (process_.state() != QProcess::NotRunning) kill();
}

bool AppDriver::start(const QString& socketPath, const QStringList& arguments) {
    QProcessEnvironment environment = environment_;
    environment.insert(QStringLiteral("VEXORA_DEBUG_AUTOMATION_SOCKET"), socketPath);
    process_.setProcessEnvironment(environment);
    // To a file: a pipe nobody reads would stall the application once it filled up.
    logPath_ = socketPath + QStringLiteral(".log");
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(logPath_, QIODevice::Append);
    process_.start(QStringLiteral(VEXORA_APP_PATH), arguments);
    if (!process_.waitForStarted(10000)) return false;
    return pollUntil([&] {
        socket_.connectToServer(socketPath);
        return socket_.waitForConnected(500) || process_.state() != QProcess::Running;
    }, 15000, 50) && socket_.state() == QLocalSocket::ConnectedState;
}

int AppDriver::quit() {
    send({{"op", "quit"}});
    if (!process_.waitForFinished(15000)) return -1;
    socket_.abort();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void AppDriver::kill() {
    socket_.abort();
    process_.kill();
    process_.waitForFinished(5000);
}

Json AppDriver::send(const Json& request) {
    if (socket_.state() != QLocalSocket::ConnectedState) return {{"ok", false}, {"error", "not connected"}};
    socket_.write(encodeJson(request) + '\n');
    socket_.flush();
    while (!socket_.canReadLine())
        if (!socket_.waitForReadyRead(20000)) return {{"ok", false}, {"error", "no answer"}};
    return Json::parse(socket_.readLine().toStdString(), nullptr, false);
}

Json AppDriver::state(const QString& identifier) { return send({{"op", "state"}, {"id", identifier}}); }

::testing::AssertionResult AppDriver::perform(const Json& request) {
    const Json answer = send(request);
    if (answer.is_object() && answer.value("ok", false)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << request.dump() << " -> " << answer.dump();
}

::testing::AssertionResult AppDriver::click(const QString& identifier) {
    return perform({{"op", "click"}, {"id", identifier}});
}

::testing::AssertionResult AppDriver::type(const QString& identifier, const QString& text) {
    return perform({{"op", "type"}, {"id", identifier}, {"text", text}});
}

::testing::AssertionResult AppDriver::choose(const QString& identifier, int index) {
    return perform({{"op", "choose"}, {"id", identifier}, {"index", index}});
}

QStringList AppDriver::shownIdentifiers(const QString& prefix) {
    QStringList identifiers;
    const Json answer = send({{"op", "list"}, {"prefix", prefix}});
    for (const Json& identifier : answer.value("ids", Json::array()))
        identifiers << QString::fromStdString(identifier.get<std::string>());
    return identifiers;
}

::testing::AssertionResult AppDriver::signInDemo() {
    const auto shown = [this](const char* identifier) { return state(identifier).value("shown", false); };
    if (!waitUntil([&] { return shown("auth.email") || shown("ugc.header.sign-out"); }))
        return ::testing::AssertionFailure() << "neither the signed-out panel nor the workspace showed";
    if (shown("ugc.header.sign-out"))
        if (auto signedOut = click("ugc.header.sign-out"); !signedOut) return signedOut;
    if (!waitShown("auth.email")) return ::testing::AssertionFailure() << "the signed-out panel did not show";
    if (auto typed = type("auth.email", "demo@vexora.local"); !typed) return typed;
    if (auto typed = type("auth.password", "demo"); !typed) return typed;
    if (auto clicked = click("auth.signin"); !clicked) return clicked;
    if (!waitText("ugc.tenant.name", "Demo Workspace"))
        return ::testing::AssertionFailure() << "no workspace: " << state("auth.error").dump();
    return waitForWorkspace();
}

::testing::AssertionResult AppDriver::waitForWorkspace() {
    // The workspace's records and the stored form are in place once the loading notice is gone.
    if (!waitShown("ugc.topic.editor") || !waitFor("ugc.tenant.loading", [](const Json& s) { return !s.value("shown", true); }))
        return ::testing::AssertionFailure() << "the workspace did not finish loading";
    return ::testing::AssertionSuccess();
}

bool AppDriver::waitUntil(const std::function<bool()>& check, int timeoutMs) {
    bool held = false;
    pollUntil([&] { return (held = check()) || process_.state() != QProcess::Running; }, timeoutMs, 50);
    return held;
}

bool AppDriver::waitFor(const QString& identifier, const std::function<bool(const Json&)>& check, int timeoutMs) {
    return waitUntil([&] { return check(state(identifier)); }, timeoutMs);
}

bool AppDriver::waitShown(const QString& identifier, int timeoutMs) {
    return waitFor(identifier, [](const Json& s) { return s.value("shown", false); }, timeoutMs);
}

bool AppDriver::waitText(const QString& identifier, const QString& text, int timeoutMs) {
    const std::string wanted = text.toStdString();
    return waitFor(identifier, [&](const Json& s) { return s.value("shown", false) && s.value("text", "") == wanted; },
                   timeoutMs);
}

QString AppDriver::output() const {
    QFile log(logPath_);
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

}  // namespace vexora::test
