#include "shell/ShellTimer.h"

#include <QTimer>

namespace vexora {

namespace {

class QtShellTimer : public ShellTimer {
public:
    void start(int milliseconds, bool repeating, std::function<void()> fire) override {
        QObject::disconnect(connection_);
        timer_.setSingleShot(!repeating);
        connection_ = QObject::connect(&timer_, &QTimer::timeout, std::move(fire));
        timer_.start(milliseconds);
    }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    QMetaObject::Connection connection_;
};

}  // namespace

ShellTimerFactory qtShellTimers() {
    return [] { return std::make_unique<QtShellTimer>(); };
}

}  // namespace vexora
