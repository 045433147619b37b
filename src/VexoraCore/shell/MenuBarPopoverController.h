#pragma once

#include "foundation/CoreAppConfiguration.h"
#include "shell/AppUpdateState.h"
#include "shell/ShellTimer.h"
#include "shell/StatusIconAnimator.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSizeF>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace vexora {

// What the controller asks of its owner; it knows nothing else of the application.
struct PopoverHooks {
    std::function<QWidget*()> makeContent;  // the panel's content, made once; the controller owns it
    std::function<QSizeF()> getPreferredPanelSize;
    std::function<AppUpdateState()> getUpdateState;
    std::function<void(bool)> onPanelPresentedChange;
    std::function<void()> onQuit;
    std::function<void()> onCheckForUpdates;
};

// The tray icon, its context menu, and the popup panel that a click on the icon toggles. On a
// desktop without a system tray the panel is an ordinary window, and closing it quits.
class MenuBarPopoverController : public QObject {
    Q_OBJECT

public:
    static constexpr int showRetryMilliseconds = 160;
    static constexpr int maximumShowAttempts = 20;
    static constexpr int buttonSlack = 4;  // clicks this close to the icon belong to the icon

    MenuBarPopoverController(CoreAppConfiguration configuration, PopoverHooks hooks,
                             ShellTimerFactory timers = qtShellTimers(), QObject* parent = nullptr);
    ~MenuBarPopoverController() override;

    void showPanel();
    void hidePanel();
    void syncPanelSize();
    void applyStatusIcon(StatusIconState state);
    void applyUpdateMenuState();

    bool isPanelShown() const;
    bool hasSystemTray() const { return tray_ != nullptr; }
    int pendingShowAttempts() const { return pendingShowAttempts_; }
    QMenu& contextMenu() { return *contextMenu_; }
    QAction& checkForUpdatesItem() { return *checkForUpdatesItem_; }
    QWidget* panelWindow() const { return window_; }
    const StatusIconAnimator& iconAnimator() const { return *animator_; }
    StatusIconLook currentIconLook() const { return look_; }

    // Whether the tray icon is placed on screen; replaceable for tests.
    std::function<bool()> isTrayReady;

    // A click at `pointer` closes the shown panel unless it lands on the panel or near the icon.
    static bool shouldClosePanel(bool isShown, QPoint pointer, QRect panelFrame, std::optional<QRect> iconRect);
    // Below (or above, near the bottom) the anchor, centred on it, kept inside `screenArea`.
    static QPoint panelPosition(QSize panel, QRect anchor, QRect screenArea);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildContextMenu();
    void retryShowLater();
    void closeOnOutsideClick(QPoint pointer);
    void showLook(StatusIconLook look);
    std::optional<QRect> iconRect() const;
    void placeWindow();
    bool trayIsReadyNow() const;

    CoreAppConfiguration configuration_;
    PopoverHooks hooks_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> contextMenu_;
    QAction* checkForUpdatesItem_ = nullptr;
    QPointer<QWidget> window_;
    std::unique_ptr<StatusIconAnimator> animator_;
    std::unique_ptr<ShellTimer> pendingShow_;
    int pendingShowAttempts_ = 0;
    bool watchingClicks_ = false;
    StatusIconLook look_;
};

}  // namespace vexora
