#pragma once

#include <functional>
#include <memory>

namespace vexora {

// A one-shot or repeating timer of the shell. The tray's animation, its return to idle and the
// panel's show retries all run on these, so tests can drive them in virtual time.
class ShellTimer {
public:
    virtual ~ShellTimer() = default;
    // Restarts the timer; `fire` runs on the GUI thread after `milliseconds` (and again each period).
    virtual void start(int milliseconds, bool repeating, std::function<void()> fire) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

using ShellTimerFactory = std::function<std::unique_ptr<ShellTimer>()>;

// Timers on the Qt event loop.
ShellTimerFactory qtShellTimers();

}  // namespace vexora
