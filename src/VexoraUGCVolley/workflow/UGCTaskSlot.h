#pragma once

#include <QUuid>
#include <optional>
#include <stop_token>

namespace vexora {

// One long-running activity: its cancellation handle and the identity its results must match.
struct UGCTaskSlot {
    std::optional<std::stop_source> handle;
    std::optional<QUuid> id;

    bool isHeld() const { return handle.has_value(); }
    // Starts a new activity: a fresh identity and handle; the previous one is cancelled.
    std::pair<QUuid, std::stop_token> begin() {
        cancel();
        id = QUuid::createUuid();
        handle.emplace();
        return {*id, handle->get_token()};
    }
    void cancel() {
        if (handle) handle->request_stop();
        handle.reset();
    }
    // Cancels and forgets the identity, so a late result of the old activity is dropped.
    void abandon() {
        cancel();
        id.reset();
    }
    // The activity ended while it was current.
    void finish() {
        handle.reset();
        id.reset();
    }
    bool isCurrent(const QUuid& candidate) const { return id == candidate; }
};

}  // namespace vexora
