#pragma once

#include <QString>

namespace vexora {

// The user's "start at login" switch: an XDG autostart entry named after the application id in
// $XDG_CONFIG_HOME/autostart. It starts the program with --autostart, so it stays in the tray.
class AutostartEntry {
public:
    static constexpr const char* launchArgument = "--autostart";

    AutostartEntry(QString applicationId, QString displayName, QString programPath);

    QString path() const;
    // On when the entry exists and is not hidden or disabled by the user's desktop.
    bool isEnabled() const;
    // Writes the entry whole, or removes it. False with the reason when the disk refused.
    bool setEnabled(bool enabled, QString* error = nullptr) const;

private:
    QString applicationId_;
    QString displayName_;
    QString programPath_;
};

}  // namespace vexora
