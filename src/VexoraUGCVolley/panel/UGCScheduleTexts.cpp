#include "panel/UGCScheduleTexts.h"

#include <QStringList>

namespace vexora::UGCScheduleTexts {

QString title(const UGCSchedule& schedule) {
    if (schedule.name && !schedule.name->isEmpty()) return *schedule.name;
    if (schedule.defaultTopic && !schedule.defaultTopic->isEmpty()) return *schedule.defaultTopic;
    return QStringLiteral("UGC Schedule");
}

QString runHours(const QList<int>& hours) {
    QStringList times;
    for (int hour : hours) times << QString::asprintf("%02d:00", hour);
    return times.join(QStringLiteral(", "));
}

QString summary(const UGCSchedule& schedule) {
    return QString::number(schedule.runsPerDay) + QStringLiteral("x/day at ") + runHours(schedule.runHours);
}

}  // namespace vexora::UGCScheduleTexts
