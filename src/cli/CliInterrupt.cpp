#include "CliInterrupt.h"

#include "CliCommands.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vexora::cli {

namespace {

int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t signalsSeen = 0;
struct sigaction previousAction {};

void onSigint(int) {
    if (signalsSeen) _exit(interrupted);
    signalsSeen = 1;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

InterruptWatcher::InterruptWatcher(std::function<void()> onInterrupt) : onInterrupt_(std::move(onInterrupt)) {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;  // no pipe: Ctrl+C keeps its default
    signalsSeen = 0;
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char byte = 0;
        while (read(pipeEnds[0], &byte, 1) > 0) {
        }
        if (interrupted_) return;
        interrupted_ = true;
        onInterrupt_();
    });
    struct sigaction action {};
    action.sa_handler = onSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousAction);
}

InterruptWatcher::~InterruptWatcher() {
    if (!notifier_) return;
    sigaction(SIGINT, &previousAction, nullptr);
    notifier_.reset();
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

}  // namespace vexora::cli
