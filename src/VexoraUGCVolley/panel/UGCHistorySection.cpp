#include "panel/UGCHistorySection.h"

namespace vexora {

UGCHistorySection::UGCHistorySection(UGCPanelContext& context, int pageIndex, int pageSize, QWidget* parent)
    : QWidget(parent), context_(context), pageIndex_(pageIndex), pageSize_(pageSize) {
    setObjectName(QStringLiteral("ugc.history.section"));
}

void UGCHistorySection::refresh() {}

}  // namespace vexora
