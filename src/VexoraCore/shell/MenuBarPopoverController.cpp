#include "shell/MenuBarPopoverController.h"

#include "shell/DisplayPlatform.h"
#include "shell/PanelPlacement.h"
#include "shell/TrayIconArt.h"
#include "shell/X11Desktop.h"
#include "ui/BrandResources.h"
#include "ui/PanelWidgets.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWindow>

namespace vexora {

namespace {

QRect availableAreaNear(QPoint point) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}

}  // namespace

MenuBarPopoverController::MenuBarPopoverController(CoreAppConfiguration configuration, PopoverHooks hooks,
                                                   ShellTimerFactory timers, QObject* parent)
    : QObject(parent),
      configuration_(std::move(configuration)),
      hooks_(std::move(hooks)),
      autostart_(configuration_.bundleIdentifier(), configuration_.displayName, QCoreApplication::applicationFilePath()) {
    contextMenu_ = std::make_unique<QMenu>();
    contextMenu_->installEventFilter(this);  // it hears of palette and theme changes even while hidden
    pendingShow_ = timers();
    trayCheck_ = timers();
    animator_ = std::make_unique<StatusIconAnimator>(timers, [this](StatusIconLook look) { showLook(look); });
    isTrayReady = [this] { return trayIsReadyNow(); };
    isTrayAvailable = [this] { return trayPresence_.canShowIcon(); };
    availableAreaAt = availableAreaNear;
    buildContextMenu();
    applyStatusIcon(StatusIconState::idle);
    if (isTrayAvailable()) createTrayIcon();
    trayCheck_->start(trayCheckMilliseconds, true, [this] { followTray(); });
}

MenuBarPopoverController::~MenuBarPopoverController() {
    outsideClicks_.reset();
    delete window_;
}

void MenuBarPopoverController::buildContextMenu() {
    contextMenu_->clear();
    // Hosts that open the menu on a left click need a way to the panel from it.
    openPanelItem_ = contextMenu_->addAction(QStringLiteral("Open ") + configuration_.displayName);
    openPanelItem_->setObjectName(QStringLiteral("tray.menu.open"));
    connect(openPanelItem_, &QAction::triggered, this, &MenuBarPopoverController::showPanel);
    contextMenu_->setDefaultAction(openPanelItem_);
    contextMenu_->addSeparator();
    checkForUpdatesItem_ = contextMenu_->addAction(QString());
    checkForUpdatesItem_->setObjectName(QStringLiteral("tray.menu.check-for-updates"));
    connect(checkForUpdatesItem_, &QAction::triggered, this, [this] { hooks_.onCheckForUpdates(); });
    applyUpdateMenuState();
    startAtLoginItem_ = contextMenu_->addAction(QStringLiteral("Start at Login"));
    startAtLoginItem_->setObjectName(QStringLiteral("tray.menu.start-at-login"));
    startAtLoginItem_->setCheckable(true);
    startAtLoginItem_->setChecked(autostart_.isEnabled());
    connect(startAtLoginItem_, &QAction::toggled, this, &MenuBarPopoverController::setStartAtLogin);
    if (hooks_.getNotifyWhenReady && hooks_.onNotifyWhenReadyChange) {
        notifyWhenReadyItem_ = contextMenu_->addAction(QStringLiteral("Notify When Videos Are Ready"));
        notifyWhenReadyItem_->setObjectName(QStringLiteral("tray.menu.notify-when-ready"));
        notifyWhenReadyItem_->setCheckable(true);
        notifyWhenReadyItem_->setChecked(hooks_.getNotifyWhenReady());
        connect(notifyWhenReadyItem_, &QAction::toggled, this, [this](bool on) { hooks_.onNotifyWhenReadyChange(on); });
    }
    contextMenu_->addSeparator();
    QAction* quit = contextMenu_->addAction(QStringLiteral("Quit ") + configuration_.displayName);
    quit->setObjectName(QStringLiteral("tray.menu.quit"));
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, this, [this] { hooks_.onQuit(); });
}

void MenuBarPopoverController::applyUpdateMenuState() {
    const AppUpdateState state = hooks_.getUpdateState();
    checkForUpdatesItem_->setText(actionTitle(state));
    checkForUpdatesItem_->setEnabled(state.canCheckForUpdates);
}

void MenuBarPopoverController::setStartAtLogin(bool enabled) {
    QString error;
    if (autostart_.setEnabled(enabled, &error)) return;
    qWarning("%s", qPrintable(error));
    const QSignalBlocker quiet(startAtLoginItem_);
    startAtLoginItem_->setChecked(autostart_.isEnabled());
}

// --- the tray ---

void MenuBarPopoverController::createTrayIcon() {
    tray_ = std::make_unique<QSystemTrayIcon>();
    trayPresence_.noteIconCreated();
    tray_->setToolTip(configuration_.displayName);
    tray_->setContextMenu(contextMenu_.get());
    connect(tray_.get(), &QSystemTrayIcon::activated, this, &MenuBarPopoverController::onTrayActivated);
    // A click on one of our notifications brings the panel up.
    connect(tray_.get(), &QSystemTrayIcon::messageClicked, this, &MenuBarPopoverController::showPanel);
    drawTrayIcon();  // shown only once it has an image
    tray_->show();
}

void MenuBarPopoverController::followTray() {
    const bool available = isTrayAvailable();
    if (available == hasSystemTray()) return;
    if (available) {
        createTrayIcon();
        // The window the user had becomes the popover, reached from the icon from now on.
        if (window_) {
            window_->hide();
            applyWindowKind();
        }
        return;
    }
    tray_.reset();
    if (window_) applyWindowKind();
    // With no icon left to click, the window is the way back in.
    showPanel();
}

void MenuBarPopoverController::onTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    lastActivation_ = QCursor::pos();
    // The context menu opens by itself on a right click; the panel must not stay over it.
    if (reason == QSystemTrayIcon::Context) return hidePanel();
    // The press of a double click has toggled the panel already.
    if (reason == QSystemTrayIcon::DoubleClick) return;
    if (isPanelShown()) return hidePanel();
    if (closedOnIcon_.isValid() && closedOnIcon_.elapsed() < reopenGraceMilliseconds) return;
    showPanel();
}

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

// --- the panel window ---

// A minimized window is out of sight, so a click shows it rather than hiding it.
bool MenuBarPopoverController::isPanelShown() const { return window_ && window_->isVisible() && !window_->isMinimized(); }

bool MenuBarPopoverController::isPopover() const { return tray_ && DisplayPlatform::canPlaceWindows(); }

void MenuBarPopoverController::preparePanel() {
    if (findSymbolicIcon()) drawTrayIcon();
    ensureWindow();
    // What the first show would do otherwise: styles, layouts and the native window.
    window_->ensurePolished();
    window_->layout()->activate();
    window_->winId();
}

void MenuBarPopoverController::ensureWindow() {
    if (window_) return;
    window_ = new QWidget;
    window_->setObjectName(QStringLiteral("panelWindow"));
    // Qt gives a plain QWidget window the role of a filler.
    PanelWidgets::setAccessibleRole(window_, QAccessible::Window);
    window_->setWindowTitle(configuration_.displayName);
    // The window manager reads the icon at every map; the application's, up to 512 px, would
    // slow each click down for nothing a tray popover shows.
    QIcon compactIcon;
    for (int side : {16, 24, 32, 48, 64}) compactIcon.addPixmap(QApplication::windowIcon().pixmap(side));
    window_->setWindowIcon(compactIcon);
    auto* layout = new QVBoxLayout(window_);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = hooks_.makeContent();
    layout->addWidget(content_);
    window_->installEventFilter(this);
    applyWindowKind();
    syncPanelSize();
}

void MenuBarPopoverController::applyWindowKind() {
    const Qt::WindowFlags kind = isPopover() ? Qt::Tool | Qt::FramelessWindowHint : Qt::Window;
    if (window_->windowFlags() != kind) window_->setWindowFlags(kind);  // this hides a shown window
}

void MenuBarPopoverController::showPanel() {
    pendingShow_->stop();
    if (!isTrayReady()) return retryShowLater();
    ensureWindow();
    syncPanelSize();
    if (!window_->isVisible()) {
        if (isPopover()) {
            placeWindow();
            window_->winId();  // the native window, for the hints to go on before it maps
            X11Desktop::skipTaskbarAndPager(window_->windowHandle());
        }
        window_->show();
    }
    pendingShowAttempts_ = 0;
    window_->raise();
    window_->activateWindow();
    X11Desktop::activate(window_->windowHandle());  // this also sends the map on its way
    giveKeyboard();
    // Observers may refresh the whole panel; that waits until the window is on its way.
    hooks_.onPanelPresentedChange(true);
}

void MenuBarPopoverController::giveKeyboard() {
    // The content names its first field through its focus proxy.
    if (content_) content_->setFocus(Qt::ActiveWindowFocusReason);
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
    if (window_) window_->hide();
}

void MenuBarPopoverController::closeFromOutside(std::optional<QPoint> press) {
    // The press that closed the panel on the icon reaches the icon too, as a click that must not
    // reopen it. Hosts that do not say where the icon is had it under the pointer when last clicked.
    const QRect icon = iconRect().value_or(QRect(lastActivation_, QSize(1, 1)).adjusted(-16, -16, 16, 16));
    // (Hiding the active window also reports a focus loss, which must not undo this.)
    if (press && icon.adjusted(-buttonSlack, -buttonSlack, buttonSlack, buttonSlack).contains(*press)) closedOnIcon_.start();
    hidePanel();
}

void MenuBarPopoverController::syncPanelSize() {
    if (!window_) return;
    // A popover is never taller than the free area: the column scrolls instead. The resize
    // places it again.
    window_->resize(isPopover() ? popoverFrame().size() : hooks_.getPreferredPanelSize().toSize());
}

QRect MenuBarPopoverController::popoverFrame() const {
    const QRect anchor = iconRect().value_or(QRect(lastActivation_.isNull() ? QCursor::pos() : lastActivation_, QSize(1, 1)));
    return PanelPlacement::panelFrame(hooks_.getPreferredPanelSize().toSize(), anchor, availableAreaAt(anchor.center()));
}

void MenuBarPopoverController::placeWindow() {
    const QRect frame = popoverFrame();
    if (window_->size() != frame.size()) window_->resize(frame.size());
    window_->move(frame.topLeft());
}

bool MenuBarPopoverController::shouldClosePanel(bool isShown, QPoint pointer, QRect panelFrame, std::optional<QRect> iconRect,
                                                Qt::MouseButton button) {
    if (!isShown || panelFrame.contains(pointer)) return false;
    if (!iconRect || button != Qt::LeftButton) return true;
    return !iconRect->adjusted(-buttonSlack, -buttonSlack, buttonSlack, buttonSlack).contains(pointer);
}

void MenuBarPopoverController::onGlobalPress(Qt::MouseButton button, QPoint pointer) {
    // Menus and lists of the panel itself open outside its frame; they are not outside.
    if (QApplication::activePopupWidget()) return;
    if (shouldClosePanel(isPanelShown(), pointer, window_ ? window_->frameGeometry() : QRect(), iconRect(), button))
        closeFromOutside(pointer);
}

bool MenuBarPopoverController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == contextMenu_.get()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::ThemeChange || type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange ||
            type == QEvent::StyleChange) {
            findSymbolicIcon();
            drawTrayIcon();
        }
        return false;
    }
    if (watched != window_) return false;
    switch (event->type()) {
    case QEvent::Show:
        activatedSinceShown_ = false;
        if (isPopover())
            outsideClicks_ = std::make_unique<X11Desktop::GlobalClickWatcher>(
                [this](Qt::MouseButton button, QPoint pointer) { onGlobalPress(button, pointer); });
        break;
    case QEvent::Hide:
        // Hidden follows the window itself, whoever hid it.
        outsideClicks_.reset();
        hooks_.onPanelPresentedChange(false);
        break;
    case QEvent::Resize:
        // A panel that grows (after sign-in, say) is placed again, inside the free area.
        if (isPopover() && window_->isVisible()) placeWindow();
        break;
    case QEvent::WindowActivate:
        activatedSinceShown_ = true;
        break;
    case QEvent::WindowDeactivate:
        // Another window took the focus: the browser, a dialog, a click elsewhere. A focus loss
        // from before this show (the panel hidden and shown again quickly) is not one.
        if (isPopover() && window_->isVisible() && activatedSinceShown_ && !QApplication::activePopupWidget()) closeFromOutside();
        break;
    case QEvent::KeyPress:
        // Escape reaches the window when no field used it; without a tray the window is the
        // whole application and stays.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && tray_) {
            hidePanel();
            return true;
        }
        break;
    case QEvent::Close:
        // Without a tray the window is the whole application.
        if (!tray_) hooks_.onQuit();
        break;
    default:
        break;
    }
    return false;
}

// --- the icon ---

void MenuBarPopoverController::applyStatusIcon(StatusIconState state) { animator_->apply(state); }

void MenuBarPopoverController::showLook(StatusIconLook look) {
    look_ = look;
    drawTrayIcon();
}

bool MenuBarPopoverController::findSymbolicIcon() {
    // Hosts that recolour symbolic icons get the installed one by name. The first look into the
    // icon theme takes milliseconds, so it waits until start-up is over.
    const QString name = configuration_.bundleIdentifier() + QStringLiteral("-symbolic");
    const QString found = QIcon::hasThemeIcon(name) ? name : QString();
    if (found == symbolicIconName_) return false;
    symbolicIconName_ = found;
    return true;
}

void MenuBarPopoverController::drawTrayIcon() {
    if (!tray_) return;
    if (!marks_) {
        // The animation asks for a new icon every 0.4 s: each size of the mark is drawn once.
        const std::optional<QString> assetName = configuration_.statusIconAssetName;
        const std::optional<QString> systemName = configuration_.statusIconSystemName;
        marks_ = [assetName, systemName, drawn = std::make_shared<std::map<std::pair<int, int>, QImage>>()](QSize size) {
            QImage& mark = (*drawn)[{size.width(), size.height()}];
            if (mark.isNull()) mark = BrandResources::statusSymbolImage(true, size, assetName, systemName);
            return mark;
        };
    }
    tray_->setIcon(TrayIconArt::icon(look_, marks_, symbolicIconName_));
}

}  // namespace vexora
