#pragma once

#include "foundation/CoreAppConfiguration.h"
#include "shell/AppUpdateState.h"
#include "shell/AutostartEntry.h"
#include "shell/ShellTimer.h"
#include "shell/StatusIconAnimator.h"
#include "shell/TrayPresence.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSizeF>
#include <QSystemTrayIcon>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;

namespace vexora {

namespace X11Desktop {
class GlobalClickWatcher;
}

// What the controller asks of its owner; it knows nothing else of the application.
struct PopoverHooks {
    std::function<QWidget*()> makeContent;  // the panel's content, made once; the controller owns it
    std::function<QSizeF()> getPreferredPanelSize;
    std::function<AppUpdateState()> getUpdateState;
    std::function<void(bool)> onPanelPresentedChange;
    std::function<void()> onQuit;
    std::function<void()> onCheckForUpdates;
    // The "Notify When Videos Are Ready" switch: its stored value and where a change goes. The
    // menu has the item only when both are given.
    std::function<bool()> getNotifyWhenReady;
    std::function<void(bool)> onNotifyWhenReadyChange;
};

// The tray icon, its context menu, and the panel that a click on the icon toggles. With a tray
// the panel is a popover: a frameless window next to the icon, out of the taskbar, closed by
// Escape, an outside click or the loss of the focus. Without a tray (or where windows cannot
// place themselves) it is an ordinary window; without a tray, closing it quits. The tray is
// followed while the application runs: hosts may start after it or go away.
class MenuBarPopoverController : public QObject {
    Q_OBJECT

public:
    static constexpr int showRetryMilliseconds = 160;
    static constexpr int maximumShowAttempts = 20;
    static constexpr int buttonSlack = 4;  // clicks this close to the icon belong to the icon
    static constexpr int trayCheckMilliseconds = 1500;
    // The press on the icon that closed the panel reaches the icon too; it must not reopen it.
    static constexpr int reopenGraceMilliseconds = 500;

    MenuBarPopoverController(CoreAppConfiguration configuration, PopoverHooks hooks,
                             ShellTimerFactory timers = qtShellTimers(), QObject* parent = nullptr);
    ~MenuBarPopoverController() override;

    void showPanel();
    void hidePanel();
    void syncPanelSize();
    void applyStatusIcon(StatusIconState state);
    void applyUpdateMenuState();
    // Builds the panel without showing it, so that the first click only has to show it.
    void preparePanel();

    bool isPanelShown() const;
    bool hasSystemTray() const { return tray_ != nullptr; }
    // A popover next to the tray icon, rather than an ordinary window.
    bool isPopover() const;
    int pendingShowAttempts() const { return pendingShowAttempts_; }
    QMenu& contextMenu() { return *contextMenu_; }
    QAction& openPanelItem() { return *openPanelItem_; }
    QAction& checkForUpdatesItem() { return *checkForUpdatesItem_; }
    QAction& startAtLoginItem() { return *startAtLoginItem_; }
    QAction* notifyWhenReadyItem() { return notifyWhenReadyItem_; }
    QSystemTrayIcon* trayIcon() const { return tray_.get(); }
    QWidget* panelWindow() const { return window_; }
    const StatusIconAnimator& iconAnimator() const { return *animator_; }
    StatusIconLook currentIconLook() const { return look_; }

    // Whether the tray icon is placed on screen, and whether a tray host runs; replaceable for tests.
    std::function<bool()> isTrayReady;
    std::function<bool()> isTrayAvailable;
    // Where the desktop may place a window near `anchor`; replaceable for tests.
    std::function<QRect(QPoint anchor)> availableAreaAt;

    // A press at `pointer` closes the shown panel unless it lands on the panel, or is a left
    // click near the icon (the icon's own click toggles the panel).
    static bool shouldClosePanel(bool isShown, QPoint pointer, QRect panelFrame, std::optional<QRect> iconRect,
                                 Qt::MouseButton button = Qt::LeftButton);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildContextMenu();
    void retryShowLater();
    void followTray();
    void createTrayIcon();
    void onTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void ensureWindow();
    void applyWindowKind();
    void placeWindow();
    QRect popoverFrame() const;
    void giveKeyboard();
    void closeFromOutside(std::optional<QPoint> press = std::nullopt);
    void onGlobalPress(Qt::MouseButton button, QPoint pointer);
    void setStartAtLogin(bool enabled);
    void showLook(StatusIconLook look);
    void drawTrayIcon();
    bool findSymbolicIcon();  // true when the name changed
    std::optional<QRect> iconRect() const;
    bool trayIsReadyNow() const;

    CoreAppConfiguration configuration_;
    PopoverHooks hooks_;
    AutostartEntry autostart_;
    TrayPresence trayPresence_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> contextMenu_;
    QAction* openPanelItem_ = nullptr;
    QAction* checkForUpdatesItem_ = nullptr;
    QAction* startAtLoginItem_ = nullptr;
    QAction* notifyWhenReadyItem_ = nullptr;
    QPointer<QWidget> window_;
    QPointer<QWidget> content_;
    std::unique_ptr<StatusIconAnimator> animator_;
    std::unique_ptr<ShellTimer> pendingShow_;
    std::unique_ptr<ShellTimer> trayCheck_;
    std::unique_ptr<X11Desktop::GlobalClickWatcher> outsideClicks_;
    int pendingShowAttempts_ = 0;
    QPoint lastActivation_;  // the pointer at the icon's last click, where the icon is
    QElapsedTimer closedOnIcon_;  // since a press on the icon closed the panel
    bool activatedSinceShown_ = false;
    StatusIconLook look_;
    QString symbolicIconName_;  // empty until looked up, and where the theme has none
    std::function<QImage(QSize)> marks_;  // the tray mark by size, drawn once each
};

}  // namespace vexora
