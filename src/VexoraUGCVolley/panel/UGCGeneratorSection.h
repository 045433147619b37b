#pragma once

#include "panel/UGCPanelContext.h"

#include <QWidget>

class QLabel;

namespace vexora {

class CompactActionButton;
class UGCAvatarControls;
class UGCDurationAndLanguage;
class UGCPublishPreview;
class UGCSourceControls;
class UGCTopicEditor;

// The card where one video is prepared and started: topic, sources, length and language,
// avatar, publishing targets, then the estimate and Generate.
class UGCGeneratorSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCGeneratorSection(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    QWidget* makeFooter();

    UGCAppState& state_;
    UGCTopicEditor* topicEditor_;
    UGCSourceControls* sourceControls_;
    UGCDurationAndLanguage* durationAndLanguage_;
    UGCAvatarControls* avatarControls_;
    UGCPublishPreview* publishPreview_;
    QLabel* error_;
    QLabel* estimate_;
    CompactActionButton* generate_;
};

}  // namespace vexora
