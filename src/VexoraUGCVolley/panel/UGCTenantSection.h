#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QToolButton;

namespace vexora {

class ElidingLabel;

class UGCAppState;

// The workspace's name and credits, with a refresh button that turns into a spinner while the
// context loads.
class UGCTenantSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCTenantSection(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    UGCAppState& state_;
    ElidingLabel* name_;
    QLabel* credits_;
    QProgressBar* loading_;
    QToolButton* refresh_;
};

}  // namespace vexora
