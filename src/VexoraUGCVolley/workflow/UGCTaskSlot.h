#pragma once

#include <QUuid>
#include <functional>
#include <optional>
#include <stop_token>

namespace vexora {

// One long-running activity: its cancellation handle and the identity its results must match.
struct UGCTaskSlot {
    std::optional<std::stop_source> handle;
    std::optional<QUuid> id;
    // Told when the slot starts or stops holding an activity; what it gates is derived from that.
    std::function<void()> onHeldChange;

    bool isHeld() const { return handle.has_value(); }
    // Starts a new activity: a fresh identity and handle; the previous one is cancelled.
    std::pair<QUuid, std::stop_token> begin() {
        if (handle) handle->request_stop();
        id = QUuid::createUuid();
        const bool wasHeld = isHeld();
        handle.emplace();
        if (!wasHeld) heldChanged();
        return {*id, handle->get_token()};
    }
    void cancel() {
        if (!handle) return;
        handle->request_stop();
        handle.reset();
        heldChanged();
    }
    // Cancels and forgets the identity, so a late result of the old activity is dropped.
    void abandon() {
        cancel();
        id.reset();
    }
    // The activity ended but its identity stays, so work it handed on still matches it.
    void release() {
        if (!handle) return;
        handle.reset();
        heldChanged();
    }
    // The activity ended while it was current.
    void finish() {
        const bool wasHeld = isHeld();
        handle.reset();
        id.reset();
        if (wasHeld) heldChanged();
    }
    bool isCurrent(const QUuid& candidate) const { return id == candidate; }

private:
    void heldChanged() {
        if (onHeldChange) onHeldChange();
    }
};

}  // namespace vexora
