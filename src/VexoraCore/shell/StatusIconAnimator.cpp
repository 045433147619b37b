#include "shell/StatusIconAnimator.h"

namespace vexora {

const QColor StatusIconAnimator::processingColors[3] = {QColor::fromRgbF(0.86f, 0.12f, 0.12f), QColor::fromRgbF(0.95f, 0.30f, 0.16f),
                                                        QColor::fromRgbF(0.80f, 0.08f, 0.16f)};
const QColor StatusIconAnimator::successTint = QColor::fromRgbF(0.12f, 0.67f, 0.28f);
const QColor StatusIconAnimator::errorTint = QColor::fromRgbF(0.86f, 0.12f, 0.12f);

StatusIconAnimator::StatusIconAnimator(ShellTimerFactory timers, std::function<void(StatusIconLook)> show)
    : show_(std::move(show)), animation_(timers()), idleReset_(timers()) {}

void StatusIconAnimator::apply(StatusIconState state) {
    const int generation = ++generation_;
    idleReset_->stop();
    switch (state) {
    case StatusIconState::idle:
        stopAnimation();
        show_(StatusIconLook{});
        break;
    case StatusIconState::processing:
        startAnimation();
        break;
    case StatusIconState::success:
    case StatusIconState::error:
        stopAnimation();
        show_(state == StatusIconState::success ? StatusIconLook{successTint} : StatusIconLook{errorTint, true});
        // A newer state always wins over this pending return.
        idleReset_->start(idleReturnMilliseconds, false, [this, generation] {
            if (generation_ == generation) show_(StatusIconLook{});
        });
        break;
    }
}

void StatusIconAnimator::startAnimation() {
    if (animation_->isActive()) return;
    drawFrame();
    animation_->start(frameMilliseconds, true, [this] { drawFrame(); });
}

void StatusIconAnimator::stopAnimation() {
    animation_->stop();
    frame_ = 0;
}

void StatusIconAnimator::drawFrame() {
    show_(StatusIconLook{processingColors[frame_ % 3]});
    ++frame_;
}

}  // namespace vexora
