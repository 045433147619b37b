#include "panel/UGCSchedulesSection.h"

#include "panel/ScheduleBuilder.h"
#include "panel/UGCDisclosureHeader.h"
#include "panel/UGCScheduleRow.h"
#include "ui/PanelWidgets.h"
#include "workflow/UGCAppState.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace vexora {

UGCSchedulesSection::UGCSchedulesSection(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    using namespace PanelWidgets;
    PanelWidgets::identifySection(this, QStringLiteral("ugc.schedules.section"), QStringLiteral("Planning"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    header_ = new UGCDisclosureHeader(QStringLiteral("Planning"));
    header_->setObjectName(QStringLiteral("ugc.schedules.disclosure"));
    connect(header_, &QPushButton::clicked, this,
            [this] { context_.state.setIsSchedulesExpanded(!context_.state.isSchedulesExpanded()); });
    column->addWidget(header_);

    content_ = new QWidget;
    auto* contentColumn = new QVBoxLayout(content_);
    contentColumn->setContentsMargins(0, 0, 0, 0);
    contentColumn->setSpacing(10);
    disabled_ = label(QStringLiteral("Scheduling is disabled for this workspace."), QStringLiteral("secondary"));
    disabled_->setObjectName(QStringLiteral("ugc.schedules.disabled"));
    contentColumn->addWidget(disabled_);

    enabled_ = new QWidget;
    auto* enabledColumn = new QVBoxLayout(enabled_);
    enabledColumn->setContentsMargins(0, 0, 0, 0);
    enabledColumn->setSpacing(10);
    builder_ = new ScheduleBuilder(context_);
    enabledColumn->addWidget(builder_);
    auto* divider = new QFrame;
    divider->setProperty("role", QStringLiteral("divider"));
    enabledColumn->addWidget(divider);
    empty_ = label(QStringLiteral("No schedules yet."), QStringLiteral("secondary"));
    empty_->setObjectName(QStringLiteral("ugc.schedules.empty"));
    enabledColumn->addWidget(empty_);
    auto* list = new QWidget;
    list->setObjectName(QStringLiteral("ugc.schedules.list"));
    rowsLayout_ = new QVBoxLayout(list);
    rowsLayout_->setContentsMargins(0, 0, 0, 0);
    rowsLayout_->setSpacing(6);
    enabledColumn->addWidget(list);
    contentColumn->addWidget(enabled_);
    column->addWidget(content_);
    content_->hide();
}

void UGCSchedulesSection::refresh() {
    const UGCAppState& state = context_.state;
    header_->setExpanded(state.isSchedulesExpanded());
    content_->setVisible(state.isSchedulesExpanded());
    if (!state.isSchedulesExpanded()) return;
    const bool featureEnabled = state.schedulesFeatureEnabled();
    disabled_->setVisible(!featureEnabled);
    enabled_->setVisible(featureEnabled);
    if (!featureEnabled) return;
    builder_->refresh();
    empty_->setVisible(state.schedules().isEmpty());
    refreshRows();
}

void UGCSchedulesSection::refreshRows() {
    const UGCAppState& state = context_.state;
    const QList<UGCSchedule>& schedules = state.schedules();
    if (shownSchedules_ != schedules) {
        shownSchedules_ = schedules;
        // Rows of schedules still listed are kept, so an open confirmation survives a change elsewhere.
        QMultiHash<QString, UGCScheduleRow*> kept;
        while (QLayoutItem* item = rowsLayout_->takeAt(0)) delete item;
        for (const UGCSchedule& schedule : schedules) {
            UGCScheduleRow* row = nullptr;
            if (auto it = rows_.find(schedule.id); it != rows_.end()) {
                row = it.value();
                rows_.erase(it);
                row->setSchedule(schedule);
            } else {
                row = new UGCScheduleRow(context_, schedule);
            }
            kept.insert(schedule.id, row);
            PanelWidgets::addShown(rowsLayout_, row);
        }
        for (UGCScheduleRow* gone : std::as_const(rows_)) {
            gone->hide();
            gone->deleteLater();
        }
        rows_ = kept;
    }
    for (auto it = rows_.cbegin(); it != rows_.cend(); ++it) it.value()->setMutating(state.mutatingScheduleIDs().contains(it.key()));
}

}  // namespace vexora
