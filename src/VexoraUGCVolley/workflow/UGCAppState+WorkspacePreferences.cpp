// Saved choices per workspace. The store arrives with the preferences work; the guard that
// decides when saving is allowed is already the real one.
#include "workflow/UGCAppState.h"

namespace vexora {

void UGCAppState::persistWorkspacePreferences() {
    if (isRestoringWorkspacePreferences_ || step_ == UGCStep::loadingContext || !authState_.tenantID) return;
}

void UGCAppState::restoreWorkspacePreferencesIfAvailable() {}

}  // namespace vexora
