#pragma once

#include "client/UGCContextRecords.h"
#include "panel/UGCPanelContext.h"

#include <QList>
#include <QWidget>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace vexora {

class CompactActionButton;
class UGCDisclosureHeader;
class UGCScheduleAvatarPicker;

// The form for a new schedule. Every control writes its field of the draft at once, and is
// set from the draft only when it shows something else, so typing never loses the cursor.
class ScheduleBuilder : public QWidget {
    Q_OBJECT

public:
    explicit ScheduleBuilder(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    QWidget* buildTopicSource();
    QWidget* buildAdvancedAvatarURL();
    QLayout* buildRuns();
    void refreshFavorites();
    void editDraft(const std::function<void(ScheduleDraft&)>& change);

    UGCPanelContext& context_;
    bool showsAdvancedAvatarURL_ = false;
    QComboBox* favorite_;
    std::optional<QList<FavoriteOption>> shownFavorites_;
    QButtonGroup* topicSource_;
    QLineEdit* defaultTopic_;
    UGCScheduleAvatarPicker* avatarPicker_;
    UGCDisclosureHeader* advancedHeader_;
    QLineEdit* avatarURL_;
    QSpinBox* runsPerDay_;
    QLabel* runHours_;
    QWidget* validation_;
    QLabel* validationText_;
    CompactActionButton* create_;
};

}  // namespace vexora
