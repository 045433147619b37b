#include "panel/UGCSchedulesSection.h"

namespace vexora {

UGCSchedulesSection::UGCSchedulesSection(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("ugc.schedules.section"));
}

void UGCSchedulesSection::refresh() {}

}  // namespace vexora
