// Renders the panel against a private devserver, offscreen, into a PNG, so anyone can look at it
// without a tray, an account or a display.

#include "cache/UGCAvatarImageCache.h"
#include "panel/UGCPanelView.h"
#include "panel/UGCVideoPreview.h"
#include "preview/VideoPreviewBackend.h"
#include "ui/BrandResources.h"
#include "workflow/UGCAppState.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

using namespace vexora;

namespace {

const QStringList states{"signed-out", "workspace", "result", "error", "preview"};

// The workflow's waits, twenty times faster: a render that polls every 2 s finishes in a blink.
class BriskClock : public UGCClock {
public:
    QCoro::Task<void> sleep(std::chrono::milliseconds duration, std::stop_token stop) override {
        return UGCClock::sleep(duration / 20, std::move(stop));
    }
};

QProcess* runningServer = nullptr;

[[noreturn]] void fail(const QString& message) {
    if (runningServer) runningServer->kill();
    std::fprintf(stderr, "vexora-panel-demo: %s\n", qPrintable(message));
    std::exit(1);
}

void waitUntil(const std::function<bool()>& done, const QString& what) {
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 30000) fail(QStringLiteral("timed out waiting for ") + what);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
}

// Starts the devserver on a free port and answers its base URL.
QString startDevServer(QProcess& server, const QString& program) {
    server.setProgram(program);
    server.setArguments({QStringLiteral("--port"), QStringLiteral("0")});
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start();
    if (!server.waitForStarted(5000)) fail(QStringLiteral("cannot start ") + program);
    runningServer = &server;
    // Its first line on standard output is the port it bound.
    while (!server.canReadLine())
        if (!server.waitForReadyRead(5000)) fail(QStringLiteral("the devserver printed no port"));
    const int port = server.readLine().trimmed().toInt();
    if (port <= 0) fail(QStringLiteral("the devserver printed no port"));
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

void configureServer(QNetworkAccessManager& network, const QString& baseURL, const QByteArray& settings) {
    QNetworkRequest request(QUrl(baseURL + QStringLiteral("/__devserver/config")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QNetworkReply* reply = network.post(request, settings);
    waitUntil([reply] { return reply->isFinished(); }, QStringLiteral("the devserver's configuration"));
    reply->deleteLater();
}

bool contextLoaded(const UGCAppState& state) {
    return state.authState().tenantID && !state.isContextLoading() && state.step() != UGCStep::loadingContext &&
           !state.isAvatarsLoading();
}

void signIn(UGCAppState& state) {
    state.setSignInEmail(QStringLiteral("demo@vexora.local"));
    state.setSignInPassword(QStringLiteral("demo"));
    state.signIn();
    waitUntil([&] { return !state.isSigningIn() && contextLoaded(state); }, QStringLiteral("sign-in"));
    if (state.authState().status != AuthStatus::authenticated) fail(QStringLiteral("the demo account did not sign in"));
}

void runToEnd(UGCAppState& state, const QString& topic) {
    state.setTopic(topic);
    state.setAutoPublish(true);
    state.generate();
    waitUntil([&] { return state.step() == UGCStep::complete || state.step() == UGCStep::error; }, QStringLiteral("the run"));
}

// The section a state is about, scrolled into view.
void reveal(UGCPanelView& panel, const QString& identifier) {
    auto* scroll = panel.findChild<QScrollArea*>(QStringLiteral("ugcPanelScroll"));
    QWidget* target = panel.findChild<QWidget*>(identifier);
    if (!scroll || !target) return;
    scroll->verticalScrollBar()->setValue(target->mapTo(scroll->widget(), QPoint()).y() - 8);
}

// Opens the result's preview and lets the clip play a second, so the picture is a decoded frame.
void showPreview(UGCPanelView& panel) {
    auto* toggle = panel.findChild<UGCVideoPreviewToggle*>(QStringLiteral("ugc.result.preview"));
    if (!toggle || !toggle->isVisible()) fail(QStringLiteral("the result has no Preview"));
    toggle->click();
    UGCVideoPreview* preview = toggle->preview();
    waitUntil([&] { return !preview->surface() || preview->surface()->framesShown() >= 24; }, QStringLiteral("the clip's frames"));
    if (!preview->surface()) fail(QStringLiteral("the clip did not play"));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a PNG of the Vexora UGC Volley panel."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("screenshot"), QStringLiteral("PNG file to write."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("state"), QStringLiteral("signed-out, workspace, result, error or preview (default workspace)."),
                      QStringLiteral("STATE"), QStringLiteral("workspace")});
    parser.addOption({QStringLiteral("full"), QStringLiteral("Render the whole scrolling column, not only the panel's window.")});
    parser.addOption({QStringLiteral("devserver"), QStringLiteral("Path of vexora-devserver."), QStringLiteral("PATH"),
                      QStringLiteral(VEXORA_DEVSERVER_PATH)});
    parser.process(app);
    const QString output = parser.value(QStringLiteral("screenshot"));
    const QString shownState = parser.value(QStringLiteral("state"));
    if (output.isEmpty() || !states.contains(shownState)) {
        std::fprintf(stderr, "usage: vexora-panel-demo --screenshot FILE.png [--state %s] [--full]\n",
                     qPrintable(states.join(QLatin1Char('|'))));
        return 2;
    }

    QProcess server;
    const QString baseURL = startDevServer(server, parser.value(QStringLiteral("devserver")));
    qputenv("VEXORA_API_BASE_URL", baseURL.toUtf8());
    QTemporaryDir scratch;
    QNetworkAccessManager network;
    auto store = std::make_unique<UGCWorkspacePreferencesStore>(
        std::make_unique<QSettings>(scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    UGCAppState state(UGCRuntimeConfiguration{}, network, [](const QUrl&) {}, std::make_unique<BriskClock>(), std::move(store));
    UGCAvatarImageCache images(scratch.path(), network);
    state.avatarImageRemover = [&images](QString url) { return images.remove(std::move(url)); };

    state.bootstrap();
    waitUntil([&] { return !state.isBootstrapping(); }, QStringLiteral("start-up"));
    if (state.authState().status == AuthStatus::authenticated) {
        state.signOut();
        waitUntil([&] { return state.authState().status != AuthStatus::authenticated; }, QStringLiteral("sign-out"));
    }

    UGCPanelView panel(UGCPanelContext{state, &images, [](const QString&) {}});
    if (shownState != QLatin1String("signed-out")) signIn(state);
    if (shownState == QLatin1String("workspace")) {
        state.suggest(false);
        waitUntil([&] { return !state.isSuggesting(); }, QStringLiteral("suggestions"));
        if (!state.suggestions().isEmpty()) {
            state.setSelectedSuggestion(state.suggestions().first());
            state.setTopic(state.suggestions().first().topic);
        }
    } else if (shownState == QLatin1String("result") || shownState == QLatin1String("preview")) {
        runToEnd(state, QStringLiteral("A 10-second morning routine hack for busy founders"));
    } else if (shownState == QLatin1String("error")) {
        configureServer(network, baseURL, R"({"fail_topics": ["launch-day"]})");
        runToEnd(state, QStringLiteral("Behind the scenes of our launch-day checklist"));
    }

    panel.resize(state.preferredPanelSize().toSize());
    panel.show();
    // Let the faces arrive from the cache and the layout settle.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 600) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (shownState == QLatin1String("preview")) showPreview(panel);
    if (parser.isSet(QStringLiteral("full"))) {
        auto* scroll = panel.findChild<QScrollArea*>(QStringLiteral("ugcPanelScroll"));
        const int overflow = scroll->widget()->sizeHint().height() - scroll->viewport()->height();
        if (overflow > 0) panel.resize(panel.width(), panel.height() + overflow);
        QCoreApplication::processEvents();
    } else if (shownState == QLatin1String("result") || shownState == QLatin1String("error")) {
        reveal(panel, QStringLiteral("ugc.generator.estimate"));
    } else if (shownState == QLatin1String("preview")) {
        reveal(panel, QStringLiteral("ugc.result.title"));
    }

    const qreal ratio = 2.0;
    QPixmap picture(panel.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    panel.render(&picture);
    if (!picture.save(output, "PNG")) fail(QStringLiteral("cannot write ") + output);
    std::printf("%s: %s state, %dx%d\n", qPrintable(output), qPrintable(shownState), panel.width(), panel.height());
    server.kill();
    server.waitForFinished(2000);
    return 0;
}
