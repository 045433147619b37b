#pragma once

#include <optional>

namespace vexora {

// Whether a tray would show our icon now. QSystemTrayIcon::isSystemTrayAvailable() opens a D-Bus
// connection of its own at every call, which took 4 ms of start-up and woke the bus every time the
// tray was looked for; this asks the connections the application already has.
class TrayPresence {
public:
    bool canShowIcon();
    // Qt picks the icon's kind once, at the first icon: a StatusNotifierItem when a host is
    // registered then, otherwise an XEmbed icon. Later icons need a tray of that same kind.
    void noteIconCreated();

private:
    static bool statusNotifierHostIsRegistered();

    std::optional<bool> iconsUseStatusNotifier_;
    bool hostWasRegistered_ = false;
};

}  // namespace vexora
