#pragma once

#include "foundation/UserSession.h"

#include <optional>

namespace vexora {

// The session of the running process. The transport reads the token from here for every
// authenticated request; the workflow fills and empties it as the user signs in and out.
class UGCSessionVault {
public:
    const std::optional<UserSession>& storedSession() const { return storedSession_; }
    void replace(UserSession session) { storedSession_ = std::move(session); }
    void clear() { storedSession_.reset(); }

private:
    std::optional<UserSession> storedSession_;
};

}  // namespace vexora
