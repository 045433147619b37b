#pragma once

#include "workflow/UGCStep.h"

#include <QString>
#include <optional>

// What each part of the panel says about the workflow's step.
namespace vexora::UGCStepTexts {

QString headerSubtitle(UGCStep step);          // under the panel title
std::optional<QString> statusLine(UGCStep step);  // in the status card; none while idle
QString badgeTitle(UGCStep step);              // in the step badge
QString progressPhase(UGCStep step);           // read out by the progress timeline
// True while the generator's run is under way (script to polling).
bool isGenerating(UGCStep step);

}  // namespace vexora::UGCStepTexts
