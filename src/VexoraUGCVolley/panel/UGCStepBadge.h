#pragma once

#include "workflow/UGCStep.h"

#include <QLabel>

namespace vexora {

// The step's title in a capsule, read out as the pipeline status.
class UGCStepBadge : public QLabel {
    Q_OBJECT

public:
    explicit UGCStepBadge(QWidget* parent = nullptr);
    void setStep(UGCStep step);
};

}  // namespace vexora
