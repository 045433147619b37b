#include "panel/UGCScheduleRow.h"

#include "panel/UGCElidedLabel.h"
#include "panel/UGCRemoteAvatarImage.h"
#include "panel/UGCScheduleTexts.h"
#include "ui/CompactActionButton.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

using Prominence = CompactActionButton::Prominence;

UGCScheduleRow::UGCScheduleRow(UGCPanelContext& context, const UGCSchedule& schedule, QWidget* parent)
    : QFrame(parent), context_(context), schedule_(schedule) {
    using namespace PanelWidgets;
    const QString& id = schedule_.id;
    setObjectName(QStringLiteral("ugc.schedule.row.") + id);
    setProperty("role", QStringLiteral("inset"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(8);

    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    face_ = new UGCRemoteAvatarImage(context_.images, 36, 18);
    row->addWidget(face_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(6);
    title_ = new UGCElidedLabel({}, QStringLiteral("heading"));
    title_->setObjectName(QStringLiteral("ugc.schedule.title.") + id);
    stateLabel_ = label({}, QStringLiteral("badge"));
    stateLabel_->setObjectName(QStringLiteral("ugc.schedule.state.") + id);
    heading->addWidget(title_, 1);
    heading->addWidget(stateLabel_);
    texts->addLayout(heading);
    summary_ = label({}, QStringLiteral("secondary"));
    summary_->setObjectName(QStringLiteral("ugc.schedule.summary.") + id);
    texts->addWidget(summary_);
    row->addLayout(texts, 1);

    toggle_ = new CompactActionButton(QStringLiteral("Pause"), Prominence::secondary, 26);
    toggle_->setObjectName(QStringLiteral("ugc.schedule.toggle.") + id);
    connect(toggle_, &QPushButton::clicked, this, [this] { context_.state.toggleSchedule(schedule_); });
    delete_ = new CompactActionButton(QStringLiteral("Delete"), Prominence::secondary, 26);
    delete_->setObjectName(QStringLiteral("ugc.schedule.delete.") + id);
    connect(delete_, &QPushButton::clicked, this, [this] { setConfirmingDelete(true); });
    row->addWidget(toggle_);
    row->addWidget(delete_);
    column->addLayout(row);

    confirmation_ = buildConfirmation();
    column->addWidget(confirmation_);
    confirmation_->hide();
    setSchedule(schedule);
}

QFrame* UGCScheduleRow::buildConfirmation() {
    using namespace PanelWidgets;
    const QString& id = schedule_.id;
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("ugc.schedule.delete-confirm.") + id);
    frame->setProperty("role", QStringLiteral("callout-error"));
    frame->setAccessibleName(QStringLiteral("Delete this UGC schedule?"));
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(12, 10, 12, 10);
    column->setSpacing(4);
    column->addWidget(label(QStringLiteral("Delete this UGC schedule?"), QStringLiteral("heading")));
    column->addWidget(label(QStringLiteral("This stops future automated UGC runs for this schedule."), QStringLiteral("secondary")));
    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    actions->addStretch();
    auto* cancel = new CompactActionButton(QStringLiteral("Cancel"), Prominence::secondary, 28);
    cancel->setObjectName(QStringLiteral("ugc.schedule.delete-confirm.cancel.") + id);
    connect(cancel, &QPushButton::clicked, this, [this] { setConfirmingDelete(false); });
    confirmDelete_ = new CompactActionButton(QStringLiteral("Delete schedule"), Prominence::danger, 28);
    confirmDelete_->setObjectName(QStringLiteral("ugc.schedule.delete-confirm.delete.") + id);
    connect(confirmDelete_, &QPushButton::clicked, this, [this] {
        setConfirmingDelete(false);
        context_.state.deleteSchedule(schedule_);
    });
    actions->addWidget(cancel);
    actions->addWidget(confirmDelete_);
    column->addSpacing(4);
    column->addLayout(actions);
    return frame;
}

void UGCScheduleRow::setSchedule(const UGCSchedule& schedule) {
    schedule_ = schedule;
    face_->setAvatarURL(schedule_.avatarURL);
    title_->setFullText(UGCScheduleTexts::title(schedule_));
    stateLabel_->setText(schedule_.isPaused ? QStringLiteral("Paused") : QStringLiteral("Active"));
    PanelWidgets::setRole(stateLabel_, schedule_.isPaused ? QStringLiteral("pill-muted") : QStringLiteral("badge"));
    summary_->setText(UGCScheduleTexts::summary(schedule_));
    setMutating(isMutating_);
}

void UGCScheduleRow::setMutating(bool mutating) {
    isMutating_ = mutating;
    const QString title = mutating ? QStringLiteral("Saving...") : schedule_.isPaused ? QStringLiteral("Resume") : QStringLiteral("Pause");
    if (toggle_->title() != title) toggle_->setTitle(title);
    toggle_->setEnabled(!mutating);
    delete_->setEnabled(!mutating);
    confirmDelete_->setEnabled(!mutating);
}

void UGCScheduleRow::setConfirmingDelete(bool confirming) {
    isConfirmingDelete_ = confirming;
    confirmation_->setVisible(confirming);
}

}  // namespace vexora
