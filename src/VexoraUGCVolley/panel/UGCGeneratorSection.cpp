#include "panel/UGCGeneratorSection.h"

namespace vexora {

UGCGeneratorSection::UGCGeneratorSection(UGCPanelContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void UGCGeneratorSection::refresh() {}

}  // namespace vexora
