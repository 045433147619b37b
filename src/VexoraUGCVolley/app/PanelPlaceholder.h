#pragma once

#include <QWidget>

class QLabel;

namespace vexora {

class UGCAppState;

// The panel's frame until the full panel arrives: the brand, who is signed in, and the live
// status line where announcements are read out.
class PanelPlaceholder : public QWidget {
public:
    explicit PanelPlaceholder(UGCAppState& state, QWidget* parent = nullptr);
    QLabel* statusLabel() const { return status_; }

private:
    void refresh();

    UGCAppState& state_;
    QLabel* workspace_;
    QLabel* status_;
};

}  // namespace vexora
