#pragma once

#include "client/UGCHistoryRecords.h"
#include "panel/UGCPanelContext.h"

#include <QWidget>

class QToolButton;

namespace vexora {

class UGCVideoPreviewToggle;

// One earlier generation: its face or kind, what it was about and when, and what can be done
// with it again.
class UGCHistoryRow : public QWidget {
    Q_OBJECT

public:
    UGCHistoryRow(UGCPanelContext& context, const UGCHistoryItem& item, QWidget* parent = nullptr);
    // Follows the activity that makes some actions unavailable for a while.
    void refresh();

private:
    QWidget* buildThumbnail();
    QLayout* buildActions();
    void retryFailedPublish();

    UGCPanelContext& context_;
    UGCHistoryItem item_;
    std::optional<QString> videoURL_;  // only a web address
    UGCVideoPreviewToggle* preview_ = nullptr;
    QToolButton* download_ = nullptr;
    QToolButton* retryFailed_ = nullptr;
};

}  // namespace vexora
