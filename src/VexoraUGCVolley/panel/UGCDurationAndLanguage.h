#pragma once

#include <QWidget>

class QButtonGroup;
class QToolButton;

namespace vexora {

class UGCAppState;

// The video's length as three segments, and the script's language as a menu.
class UGCDurationAndLanguage : public QWidget {
    Q_OBJECT

public:
    explicit UGCDurationAndLanguage(UGCAppState& state, QWidget* parent = nullptr);
    void refresh();

private:
    UGCAppState& state_;
    QButtonGroup* durations_;
    QToolButton* languageMenu_;
};

}  // namespace vexora
