#pragma once

#include <QByteArray>
#include <optional>

namespace vexora::DisplayPlatform {

// The windowing platform to ask Qt for, decided before the application object exists. In a
// Wayland session that also offers X11 (XWayland) the shell runs on X11, where a popover can
// place itself next to the tray; a platform the user chose is kept.
std::optional<QByteArray> preferred(const QByteArray& qtPlatform, const QByteArray& waylandDisplay, const QByteArray& x11Display);

// Applies `preferred` to this process's environment.
void chooseForPopover();

// Whether windows can place themselves (false on native Wayland): the panel is then an ordinary
// window that the compositor places.
bool canPlaceWindows();

}  // namespace vexora::DisplayPlatform
