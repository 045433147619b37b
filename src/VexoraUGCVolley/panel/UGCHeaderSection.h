#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace vexora {

class UGCAppState;

// The brand, the title over the step's subtitle, and Sign out while signed in.
class UGCHeaderSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCHeaderSection(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    UGCAppState& state_;
    QLabel* subtitle_;
    QToolButton* signOut_;
};

}  // namespace vexora
