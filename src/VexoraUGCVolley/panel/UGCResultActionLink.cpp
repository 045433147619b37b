#include "panel/UGCResultActionLink.h"

#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

namespace vexora {

UGCResultActionLink::UGCResultActionLink(UGCAppState& state, const QString& title, const QString& iconName, QWidget* parent)
    : QToolButton(parent), state_(state) {
    PanelWidgets::makeTextButton(this, title, iconName);
    connect(this, &QToolButton::clicked, this, [this] {
        if (destination_) state_.openInBrowser(QUrl(*destination_, QUrl::StrictMode));
    });
    setDestination(std::nullopt);
}

void UGCResultActionLink::setDestination(const std::optional<QString>& url) {
    destination_ = validatedRemoteURLString(url);
    setVisible(destination_.has_value());
}

}  // namespace vexora
