#pragma once

#include "workflow/UGCStep.h"

#include <QWidget>
#include <array>
#include <optional>

class QLabel;

namespace vexora {

// The run's four stages in a row, each done, current or pending against the step.
class UGCProgressTimeline : public QWidget {
    Q_OBJECT

public:
    explicit UGCProgressTimeline(QWidget* parent = nullptr);
    void setStep(UGCStep step);

private:
    struct Stage {
        QString iconName;
        QWidget* view = nullptr;
        QLabel* icon = nullptr;
        QLabel* label = nullptr;
    };

    std::array<Stage, 4> stages_;
    std::optional<UGCStep> shownStep_;
};

}  // namespace vexora
