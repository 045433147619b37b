#pragma once

#include <QFrame>

class QLabel;

namespace vexora {

class CompactActionButton;
class UGCAppState;

// Why the run stopped, with the way to try again or start over.
//
// The status card and the result card each hold one, under the same identifiers; only the
// shown card's callout is visible, so a lookup must ask for the visible one.
class UGCErrorCallout : public QFrame {
    Q_OBJECT

public:
    explicit UGCErrorCallout(UGCAppState& state, QWidget* parent = nullptr);
    // Shows itself only while the step is an error that carries a message.
    void refresh();

private:
    UGCAppState& state_;
    QLabel* message_;
    CompactActionButton* tryAgain_;
};

}  // namespace vexora
