#include "ui/PanelAnnouncer.h"

#include <QEvent>
#include <QLabel>
#include <utility>

namespace vexora {

namespace {

// Hides the notification once it has shown, so that the next opening of the panel does not say
// it again.
class HideOnceShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* widget = static_cast<QWidget*>(watched);
            QMetaObject::invokeMethod(widget, [widget] { widget->hide(); }, Qt::QueuedConnection);
        }
        return false;
    }
};

}  // namespace

void PanelAnnouncer::announce(const QString& text) {
    pending_ = text;
    deliver();
}

void PanelAnnouncer::setLabel(QLabel* label) {
    label_ = label;
    if (label_) label_->installEventFilter(new HideOnceShown(label_));
    deliver();
}

// Qt 6.4 does not pass alert events on to AT-SPI. Orca speaks a notification when it shows,
// whether or not the panel has the focus; with the panel closed it shows, and is spoken, at the
// next opening.
void PanelAnnouncer::deliver() {
    if (!label_ || !pending_) return;
    const QString text = *std::exchange(pending_, std::nullopt);
    label_->setText(text);
    label_->setAccessibleName(text);
    label_->hide();
    label_->show();
}

}  // namespace vexora
