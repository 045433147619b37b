#pragma once

#include "ui/PanelAnnouncer.h"
#include "workflow/UGCAppState.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <memory>

class QMenu;
class QWidget;

namespace vexora {

class DesktopNotifier;
class MenuBarPopoverController;
class VexoraUpdaterService;

// The composition root: the workflow state, the tray controller and the update service, and
// the callbacks that tie them together.
class VexoraUGCVolleyApp : public QObject {
    Q_OBJECT

public:
    VexoraUGCVolleyApp();
    ~VexoraUGCVolleyApp() override;

    // Once, when the event loop runs. In the background (started at login) the panel stays
    // closed unless no tray shows up to reach it from.
    void applicationDidFinishLaunching(bool inBackground = false);
    // Another start or a launcher asked for the application: its panel opens.
    void activate();

    UGCAppState& appState() { return *appState_; }
    MenuBarPopoverController* statusItemController() { return statusItemController_.get(); }

private:
    QWidget* makePanelContent();
    // A run or a publish that ends out of the user's sight is told through a notification.
    void runActivityChanged();

    QNetworkAccessManager network_;
    std::unique_ptr<UGCAppState> appState_;
    std::unique_ptr<QMenu> mainMenu_;
    std::unique_ptr<MenuBarPopoverController> statusItemController_;
    std::unique_ptr<VexoraUpdaterService> updaterService_;
    std::unique_ptr<DesktopNotifier> notifier_;
    PanelAnnouncer announcer_;
    bool wasRunActive_ = false;
};

}  // namespace vexora
