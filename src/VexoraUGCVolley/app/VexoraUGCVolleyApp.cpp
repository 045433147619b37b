#include "app/VexoraUGCVolleyApp.h"

#include "cache/UGCAvatarImageCache.h"
#include "config/UGCAppConfiguration.h"
#include "foundation/NetworkCall.h"
#include "panel/UGCPanelView.h"
#include "panel/UGCPublishTexts.h"
#include "shell/DesktopNotifier.h"
#include "shell/DesktopSupport.h"
#include "shell/MenuBarPopoverController.h"
#include "shell/VexoraUpdaterService.h"
#include "workflow/UGCWorkspacePreferencesStore.h"
#include "ui/BrandResources.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace vexora {

namespace {

constexpr int trayWaitAtLoginMilliseconds = 10000;

// Runs `work` once the event loop has nothing else to do.
void runWhenIdle(QObject* context, std::function<void()> work) {
    auto* dispatcher = QAbstractEventDispatcher::instance();
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, context, [once, context, work] {
        QObject::disconnect(*once);
        QTimer::singleShot(0, context, work);
    });
}

// Non-modal, so the panel stays usable while the user picks a place.
void chooseSaveLocation(const QString& defaultFileName, std::function<void(const std::optional<QString>&)> chosen) {
    auto* dialog = new QFileDialog(nullptr, QStringLiteral("Save Video"), QDir::home().filePath(defaultFileName));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::fileSelected, [chosen, answered](const QString& path) {
        *answered = true;
        chosen(path);
    });
    QObject::connect(dialog, &QFileDialog::finished, [chosen, answered] {
        if (!*answered) chosen(std::nullopt);
    });
    dialog->open();
}

struct Notice {
    QString summary;
    QString body;
};

// What the user missed when the last run or publish ended: the video, where it went, or why it
// stopped, in the panel's words. None when it was cancelled.
std::optional<Notice> noticeForEndedRun(const UGCAppState& state) {
    if (state.step() == UGCStep::error && state.errorMessage())
        return Notice{QStringLiteral("Generation stopped"), *state.errorMessage()};
    if (state.step() != UGCStep::complete) return std::nullopt;
    const QString ready = QStringLiteral("UGC is ready.");
    QString title = state.title().value_or(QString()).trimmed();
    if (title.isEmpty()) title = state.topic().trimmed();
    if (!state.publishResults().isEmpty())
        return Notice{title.isEmpty() ? ready : title, UGCPublishTexts::summary(state.publishResults())};
    if (!state.videoURL()) return std::nullopt;
    if (title.isEmpty()) return Notice{ready, QString()};
    return Notice{title, ready};
}

}  // namespace

VexoraUGCVolleyApp::VexoraUGCVolleyApp() {
    appState_ = std::make_unique<UGCAppState>(UGCRuntimeConfiguration::fromEnvironment(), network_,
                                              [](const QUrl& page) { QDesktopServices::openUrl(page); });
    appState_->saveLocationChooser = chooseSaveLocation;
    appState_->avatarImageRemover = [](QString url) { return UGCAvatarImageCache::shared().remove(std::move(url)); };
    appState_->onErrorAnnouncementRequested = [this](const QString& text) { announcer_.announce(text); };
}

// Members go in their reverse order, then requests still in flight at quit are ended rather than
// left suspended.
VexoraUGCVolleyApp::~VexoraUGCVolleyApp() {
    notifier_.reset();
    updaterService_.reset();
    statusItemController_.reset();
    mainMenu_.reset();
    appState_.reset();
    finishPendingReplies(network_);
}

void VexoraUGCVolleyApp::applicationDidFinishLaunching(bool inBackground) {
    const CoreAppConfiguration& core = UGCAppConfiguration::core();
    mainMenu_ = DesktopSupport::makeMainMenu(core.displayName);
    BrandResources::applyApplicationIcon();

    UGCAppState* state = appState_.get();
    notifier_ = std::make_unique<DesktopNotifier>(core.bundleIdentifier(), core.displayName,
                                                  QStringLiteral("Open ") + core.displayName);
    notifier_->onActivated = [this] { activate(); };
    DesktopNotifier* notifier = notifier_.get();
    PopoverHooks hooks;
    hooks.makeContent = [this] { return makePanelContent(); };
    hooks.getPreferredPanelSize = [state] { return state->preferredPanelSize(); };
    hooks.getUpdateState = [state] { return state->appUpdateState(); };
    hooks.onPanelPresentedChange = [state](bool shown) { state->setIsPanelPresented(shown); };
    hooks.onQuit = [] { QCoreApplication::quit(); };
    hooks.onCheckForUpdates = [state] {
        if (state->onCheckForUpdatesRequested) state->onCheckForUpdatesRequested();
    };
    hooks.getNotifyWhenReady = [notifier] { return notifier->isEnabled(); };
    hooks.onNotifyWhenReadyChange = [notifier](bool enabled) { notifier->setEnabled(enabled); };
    statusItemController_ = std::make_unique<MenuBarPopoverController>(core, hooks);

    QPointer<VexoraUGCVolleyApp> self(this);
    state->onStatusIconStateChange = [self](StatusIconState icon) {
        if (self && self->statusItemController_) self->statusItemController_->applyStatusIcon(icon);
    };
    state->onPanelRequested = [self] {
        if (self && self->statusItemController_) self->statusItemController_->showPanel();
    };
    state->onPreferredPanelSizeChange = [self](QSizeF) {
        if (self && self->statusItemController_) self->statusItemController_->syncPanelSize();
    };
    state->onUpdateStateChange = [self](AppUpdateState) {
        if (self && self->statusItemController_) self->statusItemController_->applyUpdateMenuState();
    };

    updaterService_ = std::make_unique<VexoraUpdaterService>(
        core, [state] { return state->appUpdateState(); },
        [state](AppUpdateState next) {
            state->setAppUpdateState(next);
            if (state->onUpdateStateChange) state->onUpdateStateChange(next);
        },
        network_);
    state->onCheckForUpdatesRequested = [self] {
        if (self && self->updaterService_) self->updaterService_->checkForUpdates();
    };

    connect(state, &UGCAppState::runActivityChanged, this, &VexoraUGCVolleyApp::runActivityChanged);

    state->bootstrap();
    updaterService_->start();
    if (!inBackground) {
        statusItemController_->showPanel();  // so a person sees that the start did something
    } else {
        // A tray host may start later than we do at login; without one the window is the way in.
        QTimer::singleShot(trayWaitAtLoginMilliseconds, this, [this] {
            if (statusItemController_ && !statusItemController_->hasSystemTray()) statusItemController_->showPanel();
        });
    }
    if (UGCAppConfiguration::debugShowPanelOnLaunch())
        QTimer::singleShot(350, this, [this] {
            if (statusItemController_) statusItemController_->showPanel();
        });
    // The first click only has to show the panel: build it once start-up has gone idle.
    runWhenIdle(this, [this] {
        if (statusItemController_) statusItemController_->preparePanel();
    });
}

void VexoraUGCVolleyApp::activate() {
    if (statusItemController_) statusItemController_->showPanel();
}

void VexoraUGCVolleyApp::runActivityChanged() {
    // A run hands over to its auto-publish without a gap: it ends when neither holds on.
    const bool active = appState_->isRunActive();
    const bool ended = std::exchange(wasRunActive_, active) && !active;
    if (!ended || !notifier_ || !notifier_->isEnabled() ||
        (statusItemController_ && statusItemController_->isPanelShown()))
        return;
    if (const std::optional<Notice> notice = noticeForEndedRun(*appState_)) notifier_->post(notice->summary, notice->body);
}

QWidget* VexoraUGCVolleyApp::makePanelContent() {
    UGCPanelContext context{*appState_, &UGCAvatarImageCache::shared(),
                            [](const QString& text) { QGuiApplication::clipboard()->setText(text); }};
    auto* panel = new UGCPanelView(std::move(context));
    // The main menu's shortcuts (Quit, the Edit commands) work inside the panel.
    for (const QAction* submenu : mainMenu_->actions())
        if (submenu->menu()) panel->addActions(submenu->menu()->actions());
    announcer_.setLabel(panel->statusLabel());
    return panel;
}

}  // namespace vexora
