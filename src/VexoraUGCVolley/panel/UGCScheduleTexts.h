#pragma once

#include "client/UGCScheduleRecords.h"

#include <QList>
#include <QString>

// How the schedule views word a schedule.
namespace vexora::UGCScheduleTexts {

// The name, else the default topic, else "UGC Schedule".
QString title(const UGCSchedule& schedule);
// "09:00, 12:00, 15:00"
QString runHours(const QList<int>& hours);
// "3x/day at 09:00, 12:00, 15:00"
QString summary(const UGCSchedule& schedule);

}  // namespace vexora::UGCScheduleTexts
