// The avatar library, history and schedules. The library operations land with the library work.
#include "workflow/UGCAppState.h"

namespace vexora {

void UGCAppState::fetchAvatars(bool) {}

AvatarTraits UGCAppState::avatarTraitsForRequest() const {
    return AvatarTraits{avatarGender_, avatarOrigin_, avatarAgeRange_, avatarType_, avatarLocation_};
}

}  // namespace vexora
