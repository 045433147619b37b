#include "shell/ShellTestTimers.h"

#include <algorithm>

namespace vexora::test {

struct VirtualShellTime::Entry {
    bool active = false;
    bool repeating = false;
    int period = 0;
    int due = 0;
    std::function<void()> fire;
};

class VirtualShellTimer : public ShellTimer {
public:
    VirtualShellTimer(VirtualShellTime& time, std::shared_ptr<VirtualShellTime::Entry> entry)
        : time_(time), entry_(std::move(entry)) {}
    void start(int milliseconds, bool repeating, std::function<void()> fire) override {
        *entry_ = {true, repeating, milliseconds, time_.now() + milliseconds, std::move(fire)};
    }
    void stop() override { entry_->active = false; }
    bool isActive() const override { return entry_->active; }

private:
    VirtualShellTime& time_;
    std::shared_ptr<VirtualShellTime::Entry> entry_;
};

ShellTimerFactory VirtualShellTime::factory() {
    return [this] {
        auto entry = std::make_shared<Entry>();
        entries_.push_back(entry);
        return std::make_unique<VirtualShellTimer>(*this, entry);
    };
}

void VirtualShellTime::advance(int milliseconds) {
    const int end = now_ + milliseconds;
    while (true) {
        std::shared_ptr<Entry> next;
        for (const auto& weak : entries_)
            if (auto entry = weak.lock(); entry && entry->active && entry->due <= end && (!next || entry->due < next->due))
                next = entry;
        if (!next) break;
        now_ = next->due;
        if (next->repeating) next->due += std::max(next->period, 1);
        else next->active = false;
        auto fire = next->fire;  // the callback may restart its own timer
        fire();
    }
    now_ = end;
}

}  // namespace vexora::test
