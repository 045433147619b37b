#pragma once

#include <QWidget>

class QLabel;

namespace vexora {

class UGCAppState;
class UGCErrorCallout;
class UGCStepBadge;

// What the workflow is doing while the run has nothing to show yet.
class UGCStatusCard : public QWidget {
    Q_OBJECT

public:
    explicit UGCStatusCard(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    UGCAppState& state_;
    UGCStepBadge* badge_;
    UGCErrorCallout* error_;
    QLabel* line_;
};

}  // namespace vexora
