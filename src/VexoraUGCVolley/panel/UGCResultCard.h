#pragma once

#include "client/UGCHistoryRecords.h"
#include "panel/UGCPanelContext.h"

#include <QList>
#include <QWidget>
#include <optional>

class QLabel;
class QToolButton;
class QVBoxLayout;

namespace vexora {

class CompactActionButton;
class UGCErrorCallout;
class UGCInlineStatusCallout;
class UGCProgressTimeline;
class UGCResultActionLink;
class UGCScriptSnippet;
class UGCStepBadge;
class UGCVideoPreviewToggle;

// The run's output: progress, title and script, what to do with the video, and how each
// account's publish went.
class UGCResultCard : public QWidget {
    Q_OBJECT

public:
    explicit UGCResultCard(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    QLayout* buildActions();
    void refreshActions();
    void refreshPublishResults();

    UGCPanelContext& context_;
    UGCStepBadge* badge_;
    UGCProgressTimeline* timeline_;
    UGCErrorCallout* error_;
    UGCInlineStatusCallout* rendering_;
    QLabel* title_;
    UGCScriptSnippet* snippet_;
    UGCResultActionLink* openVideo_;
    UGCVideoPreviewToggle* preview_;
    QToolButton* download_;
    QToolButton* useAvatar_;
    CompactActionButton* publish_;
    QVBoxLayout* publishResults_;
    std::optional<QList<PublishResult>> shownPublishResults_;
};

}  // namespace vexora
