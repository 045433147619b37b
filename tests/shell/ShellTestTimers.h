#pragma once

#include "shell/ShellTimer.h"

#include <memory>
#include <vector>

namespace vexora::test {

// Shell timers on a virtual clock: `advance` fires what falls due, in time order.
class VirtualShellTime {
public:
    ShellTimerFactory factory();
    void advance(int milliseconds);
    int now() const { return now_; }

private:
    struct Entry;
    friend class VirtualShellTimer;
    std::vector<std::weak_ptr<Entry>> entries_;
    int now_ = 0;
};

}  // namespace vexora::test
