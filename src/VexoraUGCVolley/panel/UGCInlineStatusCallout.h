#pragma once

#include <QFrame>

namespace vexora {

// A quiet note inside a card: an icon, a title and a line of explanation.
class UGCInlineStatusCallout : public QFrame {
    Q_OBJECT

public:
    UGCInlineStatusCallout(const QString& iconName, const QString& title, const QString& message, QWidget* parent = nullptr);
};

}  // namespace vexora
