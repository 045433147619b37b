#include "shell/MenuBarPopoverController.h"

#include "ui/BrandResources.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <QWidget>

namespace vexora {

namespace {

constexpr QSize iconSize(18, 18);

QRect screenAreaAround(QPoint point) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}

}  // namespace

MenuBarPopoverController::MenuBarPopoverController(CoreAppConfiguration configuration, PopoverHooks hooks,
                                                   ShellTimerFactory timers, QObject* parent)
    : QObject(parent), configuration_(std::move(configuration)), hooks_(std::move(hooks)) {
    contextMenu_ = std::make_unique<QMenu>();
    pendingShow_ = timers();
    animator_ = std::make_unique<StatusIconAnimator>(timers, [this](StatusIconLook look) { showLook(look); });
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_ = std::make_unique<QSystemTrayIcon>();
        tray_->setToolTip(configuration_.displayName);
        tray_->setContextMenu(contextMenu_.get());
        connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            // The context menu opens by itself on a right click; the panel must not stay over it.
            if (reason == QSystemTrayIcon::Context) return hidePanel();
            isPanelShown() ? hidePanel() : showPanel();
        });
        // A click on one of our notifications brings the panel up.
        connect(tray_.get(), &QSystemTrayIcon::messageClicked, this, &MenuBarPopoverController::showPanel);
        tray_->show();
    }
    isTrayReady = [this] { return trayIsReadyNow(); };
    applyStatusIcon(StatusIconState::idle);
    buildContextMenu();
}

MenuBarPopoverController::~MenuBarPopoverController() {
    if (watchingClicks_) qApp->removeEventFilter(this);
    delete window_;
}

void MenuBarPopoverController::buildContextMenu() {
    contextMenu_->clear();
    checkForUpdatesItem_ = contextMenu_->addAction(QString());
    connect(checkForUpdatesItem_, &QAction::triggered, this, [this] { hooks_.onCheckForUpdates(); });
    applyUpdateMenuState();
    contextMenu_->addSeparator();
    QAction* quit = contextMenu_->addAction(QStringLiteral("Quit ") + configuration_.displayName);
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, [this] { hooks_.onQuit(); });
}

void MenuBarPopoverController::applyUpdateMenuState() {
    const AppUpdateState state = hooks_.getUpdateState();
    checkForUpdatesItem_->setText(actionTitle(state));
    checkForUpdatesItem_->setEnabled(state.canCheckForUpdates);
}

bool MenuBarPopoverController::isPanelShown() const { return window_ && window_->isVisible(); }

bool MenuBarPopoverController::trayIsReadyNow() const {
    if (!tray_) return true;
    if (!tray_->isVisible()) return false;
    // Many trays never report where the icon is; the panel then opens at the pointer.
    const QRect icon = tray_->geometry();
    if (icon.width() <= 1 || icon.height() <= 1) return true;
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](QScreen* screen) { return screen->geometry().intersects(icon); });
}

std::optional<QRect> MenuBarPopoverController::iconRect() const {
    if (!tray_) return std::nullopt;
    const QRect icon = tray_->geometry();
    if (icon.width() <= 1 || icon.height() <= 1) return std::nullopt;
    return icon;
}

void MenuBarPopoverController::showPanel() {
    pendingShow_->stop();
    if (!isTrayReady()) return retryShowLater();
    if (!window_) {
        // A frameless tool window: no taskbar entry in tray mode. Without a tray it is the app's window.
        window_ = new QWidget(nullptr, tray_ ? Qt::Tool | Qt::FramelessWindowHint : Qt::Window);
        window_->setObjectName(QStringLiteral("panelWindow"));
        window_->setWindowTitle(configuration_.displayName);
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(hooks_.makeContent());
        window_->installEventFilter(this);
    }
    syncPanelSize();
    if (!window_->isVisible()) {
        if (tray_) placeWindow();
        window_->show();
    }
    if (!watchingClicks_ && tray_) {
        qApp->installEventFilter(this);
        watchingClicks_ = true;
    }
    pendingShowAttempts_ = 0;
    window_->raise();
    window_->activateWindow();
    hooks_.onPanelPresentedChange(true);
}

void MenuBarPopoverController::retryShowLater() {
    if (pendingShowAttempts_ >= maximumShowAttempts) {
        pendingShowAttempts_ = 0;  // give up quietly; the next click starts afresh
        return;
    }
    ++pendingShowAttempts_;
    pendingShow_->start(showRetryMilliseconds, false, [this] { showPanel(); });
}

void MenuBarPopoverController::hidePanel() {
    pendingShow_->stop();
    pendingShowAttempts_ = 0;
    if (watchingClicks_) {
        qApp->removeEventFilter(this);
        watchingClicks_ = false;
    }
    if (window_) window_->hide();
    hooks_.onPanelPresentedChange(false);
}

void MenuBarPopoverController::syncPanelSize() {
    if (!window_) return;
    const QSizeF preferred = hooks_.getPreferredPanelSize();
    window_->resize(preferred.toSize());
}

void MenuBarPopoverController::placeWindow() {
    const QPoint cursor = QCursor::pos();
    const QRect anchor = iconRect().value_or(QRect(cursor, QSize(1, 1)));
    window_->move(panelPosition(window_->size(), anchor, screenAreaAround(anchor.center())));
}

QPoint MenuBarPopoverController::panelPosition(QSize panel, QRect anchor, QRect screenArea) {
    const bool anchorInLowerHalf = anchor.center().y() > screenArea.center().y();
    int x = anchor.x() + anchor.width() / 2 - panel.width() / 2;
    int y = anchorInLowerHalf ? anchor.top() - panel.height() - 4 : anchor.bottom() + 5;
    x = std::clamp(x, screenArea.left(), std::max(screenArea.left(), screenArea.right() + 1 - panel.width()));
    y = std::clamp(y, screenArea.top(), std::max(screenArea.top(), screenArea.bottom() + 1 - panel.height()));
    return {x, y};
}

bool MenuBarPopoverController::shouldClosePanel(bool isShown, QPoint pointer, QRect panelFrame, std::optional<QRect> iconRect) {
    if (!isShown || panelFrame.contains(pointer)) return false;
    if (!iconRect) return true;
    return !iconRect->adjusted(-buttonSlack, -buttonSlack, buttonSlack, buttonSlack).contains(pointer);
}

void MenuBarPopoverController::closeOnOutsideClick(QPoint pointer) {
    if (shouldClosePanel(isPanelShown(), pointer, window_ ? window_->frameGeometry() : QRect(), iconRect())) hidePanel();
}

bool MenuBarPopoverController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Close && !tray_) {
        hooks_.onQuit();  // the window is the whole application here
        return false;
    }
    if (watched == window_ && event->type() == QEvent::WindowDeactivate && tray_) {
        // A click in another application took the focus away.
        closeOnOutsideClick(QCursor::pos());
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && watchingClicks_) {
        const auto* click = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // Menus and dialogs of the panel itself are not outside.
        if (widget && widget->window() != window_ && !(widget->window()->windowFlags() & Qt::Popup))
            closeOnOutsideClick(click->globalPosition().toPoint());
    }
    return false;
}

void MenuBarPopoverController::applyStatusIcon(StatusIconState state) { animator_->apply(state); }

void MenuBarPopoverController::showLook(StatusIconLook look) {
    look_ = look;
    if (!tray_) return;
    const QSize size = iconSize * 2;  // drawn at twice the size so it stays sharp on dense screens
    const QImage base = BrandResources::statusSymbolImage(!look.tint, size, configuration_.statusIconAssetName,
                                                          configuration_.statusIconSystemName);
    tray_->setIcon(QIcon(QPixmap::fromImage(look.tint ? BrandResources::tinted(base, *look.tint) : base)));
}

}  // namespace vexora
