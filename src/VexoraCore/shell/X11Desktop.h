#pragma once

#include <QAbstractNativeEventFilter>
#include <QPoint>
#include <functional>

class QWindow;

// What Qt does not offer for a popover on an X11 desktop: leaving the taskbar and the pager,
// taking the keyboard from a window manager that prevents focus stealing, and seeing clicks in
// other applications. Each does nothing off X11.
namespace vexora::X11Desktop {

bool isActive();

// Whether an XEmbed system tray owns the selection of the default screen.
bool hasXEmbedTray();

// Asks for no taskbar or pager entry; call on the hidden window before every show (the window
// manager drops the state when the window is withdrawn).
void skipTaskbarAndPager(QWindow* window);

// Asks the window manager to activate the shown window as if the user had picked it in a pager,
// which window managers with focus-stealing prevention honour.
void activate(QWindow* window);

// Reports every mouse-button press on the screen, in any application, while it exists.
class GlobalClickWatcher : public QAbstractNativeEventFilter {
public:
    using Callback = std::function<void(Qt::MouseButton button, QPoint position)>;
    explicit GlobalClickWatcher(Callback pressed);
    ~GlobalClickWatcher() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    Callback pressed_;
    int extensionOpcode_ = -1;
};

}  // namespace vexora::X11Desktop
