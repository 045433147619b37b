#pragma once

#include "shell/StatusIconState.h"

#include <QString>
#include <optional>

namespace vexora {

// Where the workflow is; the tray icon follows it.
enum class UGCStep { idle, loadingContext, script, avatar, video, polling, publishing, complete, error };

constexpr StatusIconState statusIconState(UGCStep step) {
    switch (step) {
    case UGCStep::idle: return StatusIconState::idle;
    case UGCStep::complete: return StatusIconState::success;
    case UGCStep::error: return StatusIconState::error;
    default: return StatusIconState::processing;
    }
}

// The names a stored generation snapshot uses.
QString stepName(UGCStep step);
std::optional<UGCStep> stepFromName(const QString& name);

}  // namespace vexora
