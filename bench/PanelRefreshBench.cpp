// How much a change of the workflow state costs the panel: building it once, a keystroke in the
// topic editor, and a step change, against a 60 Hz frame.
#include "Benchmarks.h"
#include "panel/UGCPanelView.h"
#include "workflow/UGCAppState.h"
#include "workflow/UGCWorkspacePreferencesStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <vector>

namespace vexora::bench {

namespace {

constexpr double frameMilliseconds = 1000.0 / 60.0;

void fillWorkspace(UGCAppState& state) {
    AuthState auth;
    auth.status = AuthStatus::authenticated;
    auth.tenantID = QStringLiteral("tenant-bench");
    auth.tenantName = QStringLiteral("Bench Workspace");
    auth.balanceCredits = 1250;
    state.setAuthState(auth);
    QList<AvatarListItem> avatars;
    for (int index = 0; index < 50; ++index)
        avatars.append({QStringLiteral("avatar-%1").arg(index), QStringLiteral("https://cdn.example/a/%1.png").arg(index),
                        QStringLiteral("2026-12-01T10:00:00Z")});
    state.setAvatars(avatars);
    QList<UGCHistoryItem> history;
    for (int index = 0; index < 25; ++index) {
        UGCHistoryItem item;
        item.id = QStringLiteral("gen-%1").arg(index);
        item.topic = QStringLiteral("History topic %1").arg(index);
        item.script = QStringLiteral("A script");
        item.videoURL = QStringLiteral("https://cdn.example/v/%1.mp4").arg(index);
        history.append(item);
    }
    state.setHistory(history);
    state.setIsHistoryExpanded(true);
    state.setIsSchedulesExpanded(true);
}

}  // namespace

std::vector<BenchRow> panelRefreshRows() {
    QTemporaryDir scratch;
    QNetworkAccessManager network;
    auto store = std::make_unique<UGCWorkspacePreferencesStore>(
        std::make_unique<QSettings>(scratch.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
    UGCAppState state(UGCRuntimeConfiguration{}, network, [](const QUrl&) {}, std::make_unique<UGCClock>(), std::move(store));
    fillWorkspace(state);

    QElapsedTimer timer;
    timer.start();
    UGCPanelView panel(UGCPanelContext{state, nullptr, [](const QString&) {}});
    panel.resize(480, 820);
    panel.show();
    QCoreApplication::processEvents();
    const double build = double(timer.nsecsElapsed()) / 1e6;

    std::vector<double> keystrokes;
    QString topic;
    for (int index = 0; index < 200; ++index) {
        topic += QLatin1Char('a' + index % 26);
        timer.restart();
        state.setTopic(topic);
        keystrokes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::vector<double> steps;
    const UGCStep cycle[] = {UGCStep::script, UGCStep::avatar, UGCStep::video, UGCStep::polling, UGCStep::idle};
    for (int index = 0; index < 100; ++index) {
        timer.restart();
        state.setStep(cycle[index % 5]);
        steps.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    const std::string frame = milliseconds(frameMilliseconds);
    const auto ofFrame = [](double value) { return times(value / frameMilliseconds) + " of a 60 Hz frame"; };
    return {{"panel build and first layout (offscreen)", milliseconds(build), frame,
             ofFrame(build) + "; 50 avatars, 25 history entries"},
            {"panel refresh: topic keystroke", milliseconds(median(keystrokes)), frame,
             ofFrame(median(keystrokes)) + ", median of 200"},
            {"panel refresh: step change", milliseconds(median(steps)), frame, ofFrame(median(steps)) + ", median of 100"}};
}

}  // namespace vexora::bench
