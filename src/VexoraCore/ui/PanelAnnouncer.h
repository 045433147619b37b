#pragma once

#include <QPointer>
#include <QString>
#include <optional>

class QLabel;

namespace vexora {

// Reads errors out for screen readers through the panel's status label, a notification to them.
// The panel is built only once start-up is idle: what is said before waits (the latest text)
// until the label exists.
class PanelAnnouncer {
public:
    void announce(const QString& text);
    void setLabel(QLabel* label);

private:
    void deliver();

    QPointer<QLabel> label_;
    std::optional<QString> pending_;
};

}  // namespace vexora
