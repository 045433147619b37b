#pragma once

#include "shell/ShellTimer.h"
#include "shell/StatusIconState.h"

#include <QColor>
#include <functional>
#include <optional>

namespace vexora {

// What the tray icon draws: the idle look when there is no tint, else the tinted one; an error
// look is marked as such, since its colour is also one of the animation's.
struct StatusIconLook {
    std::optional<QColor> tint;
    bool isError = false;
    bool operator==(const StatusIconLook&) const = default;
};

// Turns icon states into looks over time: a three-colour animation while processing, a tint
// after success or failure that falls back to idle unless a newer state came first.
class StatusIconAnimator {
public:
    static constexpr int frameMilliseconds = 400;
    static constexpr int idleReturnMilliseconds = 1400;
    static const QColor processingColors[3];
    static const QColor successTint;
    static const QColor errorTint;

    StatusIconAnimator(ShellTimerFactory timers, std::function<void(StatusIconLook)> show);

    void apply(StatusIconState state);
    int statusGeneration() const { return generation_; }
    int animationFrame() const { return frame_; }
    bool isAnimating() const { return animation_->isActive(); }

private:
    void startAnimation();
    void stopAnimation();
    void drawFrame();

    std::function<void(StatusIconLook)> show_;
    std::unique_ptr<ShellTimer> animation_;
    std::unique_ptr<ShellTimer> idleReset_;
    int generation_ = 0;
    int frame_ = 0;
};

}  // namespace vexora
