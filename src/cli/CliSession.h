#pragma once

#include "workflow/UGCAppState.h"

#include <QNetworkAccessManager>
#include <functional>
#include <memory>

namespace vexora::cli {

// The workflow as the tray app runs it (same keyring item, same workspace preferences), driven
// from a terminal: start it, wait for what a command needs, read the result.
class CliSession {
public:
    explicit CliSession(UGCRuntimeConfiguration runtime);
    ~CliSession();

    UGCAppState& state() { return *state_; }
    // Restores the stored session and, when signed in, the workspace context.
    void start();
    bool isSignedIn() const { return state_->authState().status == AuthStatus::authenticated; }
    bool contextLoaded() const;
    // Runs the event loop until `done` holds; false when the guard ran out first.
    bool waitUntil(const std::function<bool()>& done, int guardSeconds = 900);

private:
    QNetworkAccessManager network_;
    std::unique_ptr<UGCAppState> state_;
};

struct CliArguments;

// A started session that is signed in, or none after telling the user why (with `exitCode` set).
std::unique_ptr<CliSession> signedInSession(const CliArguments& arguments, int& exitCode,
                                            UGCRuntimeConfiguration runtime = UGCRuntimeConfiguration::fromEnvironment());

}  // namespace vexora::cli
