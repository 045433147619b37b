#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

class QLabel;
class QScrollArea;

namespace vexora {

class AuthPanelView;
class PanelCard;
class UGCGeneratorSection;
class UGCHeaderSection;
class UGCHistorySection;
class UGCResultSection;
class UGCSchedulesSection;
class UGCTenantSection;

// The popover's content: the header, then the sign-in panel or the workspace's sections in one
// scrolling column. Every change of the workflow state updates the controls in place.
class UGCPanelView : public QWidget {
    Q_OBJECT

public:
    explicit UGCPanelView(UGCPanelContext context, QWidget* parent = nullptr);
    ~UGCPanelView() override;

    // Where announcements for screen readers are written.
    QLabel* statusLabel() const { return statusLabel_; }
    void refresh();

private:
    void buildWorkspace();
    QWidget* buildWorkspaceError();
    void refreshAuthPanel();

    UGCPanelContext context_;
    UGCHeaderSection* header_;
    QScrollArea* scroll_;
    QWidget* column_;
    PanelCard* authCard_;
    AuthPanelView* authPanel_;
    QWidget* workspace_;
    QWidget* workspaceError_;
    QLabel* workspaceErrorMessage_;
    UGCTenantSection* tenant_;
    UGCGeneratorSection* generator_;
    UGCResultSection* result_;
    UGCSchedulesSection* schedules_;
    UGCHistorySection* history_;
    QLabel* statusLabel_;
};

}  // namespace vexora
