#pragma once

#include "shell/StatusIconState.h"

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

}  // namespace vexora
