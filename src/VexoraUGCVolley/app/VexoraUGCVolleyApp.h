#pragma once

#include "workflow/UGCAppState.h"

#include <QAccessible>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <utility>

class QMenu;
class QWidget;

namespace vexora {

class MenuBarPopoverController;
class VexoraUpdaterService;

// Reads errors out through the panel's live status label for screen readers. The panel is built
// only once start-up is idle: what is said before waits (the latest text) until the label exists.
class PanelAnnouncer {
public:
    void announce(const QString& text) {
        pending_ = text;
        deliver();
    }
    void setLabel(QLabel* label) {
        label_ = label;
        deliver();
    }

private:
    void deliver() {
        if (!label_ || !pending_) return;
        label_->setText(*std::exchange(pending_, std::nullopt));
        // Screen readers pick alerts up even when the panel does not have the focus.
        QAccessibleEvent alert(label_.data(), QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }

    QPointer<QLabel> label_;
    std::optional<QString> pending_;
};

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

    QNetworkAccessManager network_;
    std::unique_ptr<UGCAppState> appState_;
    std::unique_ptr<QMenu> mainMenu_;
    std::unique_ptr<MenuBarPopoverController> statusItemController_;
    std::unique_ptr<VexoraUpdaterService> updaterService_;
    PanelAnnouncer announcer_;
};

}  // namespace vexora
