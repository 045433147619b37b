#include "shell/DisplayPlatform.h"

#include <QGuiApplication>

namespace vexora::DisplayPlatform {

std::optional<QByteArray> preferred(const QByteArray& qtPlatform, const QByteArray& waylandDisplay, const QByteArray& x11Display) {
    if (!qtPlatform.isEmpty() || waylandDisplay.isEmpty() || x11Display.isEmpty()) return std::nullopt;
    return QByteArrayLiteral("xcb");
}

void chooseForPopover() {
    if (auto platform = preferred(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY")))
        qputenv("QT_QPA_PLATFORM", *platform);
}

bool canPlaceWindows() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace vexora::DisplayPlatform
