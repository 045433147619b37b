#pragma once

#include <QString>
#include <exception>

namespace vexora {

// The user-facing text of any error raised in this system.
QString errorText(const std::exception_ptr& error);

// True for our cancellation and for a reply that was aborted: neither is shown to the user.
bool isCancellationLike(const std::exception_ptr& error);

}  // namespace vexora
