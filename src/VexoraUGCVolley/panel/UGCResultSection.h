#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

namespace vexora {

class PanelCard;
class UGCResultCard;
class UGCStatusCard;

// The status card until the run has something to show, then the result card in its place.
class UGCResultSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCResultSection(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    UGCPanelContext& context_;
    UGCStatusCard* status_;
    UGCResultCard* result_;
    PanelCard* statusCard_;
    PanelCard* resultCard_;
};

}  // namespace vexora
