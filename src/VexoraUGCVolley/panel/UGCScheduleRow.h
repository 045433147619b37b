#pragma once

#include "client/UGCScheduleRecords.h"
#include "panel/UGCPanelContext.h"

#include <QFrame>

class QLabel;

namespace vexora {

class CompactActionButton;
class UGCElidedLabel;
class UGCRemoteAvatarImage;

// One schedule: what it posts and when, pause or resume, and delete after a confirmation
// that opens inside the row (a dialog would close the panel behind it).
class UGCScheduleRow : public QFrame {
    Q_OBJECT

public:
    UGCScheduleRow(UGCPanelContext& context, const UGCSchedule& schedule, QWidget* parent = nullptr);

    void setSchedule(const UGCSchedule& schedule);
    // While a request for this schedule is under way its buttons wait.
    void setMutating(bool mutating);
    bool isConfirmingDelete() const { return isConfirmingDelete_; }

private:
    QFrame* buildConfirmation();
    void setConfirmingDelete(bool confirming);

    UGCPanelContext& context_;
    UGCSchedule schedule_;
    bool isMutating_ = false;
    bool isConfirmingDelete_ = false;
    UGCRemoteAvatarImage* face_;
    UGCElidedLabel* title_;
    QLabel* stateLabel_;
    QLabel* summary_;
    CompactActionButton* toggle_;
    CompactActionButton* delete_;
    QFrame* confirmation_;
    CompactActionButton* confirmDelete_;
};

}  // namespace vexora
