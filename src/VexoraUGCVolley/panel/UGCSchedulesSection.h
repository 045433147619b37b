#pragma once

#include "client/UGCScheduleRecords.h"
#include "panel/UGCPanelContext.h"

#include <QMultiHash>
#include <QList>
#include <QWidget>
#include <optional>

class QLabel;
class QVBoxLayout;

namespace vexora {

class ScheduleBuilder;
class UGCDisclosureHeader;
class UGCScheduleRow;

// Planning: the builder for a new schedule and the workspace's schedules, or a notice when the
// workspace cannot schedule.
class UGCSchedulesSection : public QWidget {
    Q_OBJECT

public:
    explicit UGCSchedulesSection(UGCPanelContext& context, QWidget* parent = nullptr);
    void refresh();

private:
    void refreshRows();

    UGCPanelContext& context_;
    UGCDisclosureHeader* header_;
    QWidget* content_;
    QLabel* disabled_;
    QWidget* enabled_;
    ScheduleBuilder* builder_;
    QLabel* empty_;
    QVBoxLayout* rowsLayout_;
    QMultiHash<QString, UGCScheduleRow*> rows_;  // by schedule id, so a row keeps an open confirmation
    std::optional<QList<UGCSchedule>> shownSchedules_;
};

}  // namespace vexora
