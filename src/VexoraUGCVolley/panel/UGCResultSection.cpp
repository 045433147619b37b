#include "panel/UGCResultSection.h"

namespace vexora {

UGCResultSection::UGCResultSection(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void UGCResultSection::refresh() {}

}  // namespace vexora
