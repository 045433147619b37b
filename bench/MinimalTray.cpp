// bench_minimal_tray: the click benchmark's reference, a tray icon whose click shows a frameless
// window with one label next to it, as plainly as Qt does it; the start-up benchmark's second
// reference, with what Qt's own tray icon costs on the host.
#include "automation/ReadyReport.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QLabel window(QStringLiteral("Hello"), nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.resize(440, 510);
    QPixmap image(22, 22);
    image.fill(Qt::white);
    QSystemTrayIcon tray{QIcon(image)};
    QObject::connect(&tray, &QSystemTrayIcon::activated, [&window](QSystemTrayIcon::ActivationReason reason) {
        if (reason != QSystemTrayIcon::Trigger) return;
        if (window.isVisible()) return window.hide();
        window.move(QCursor::pos() - QPoint(440, 520));
        window.show();
        window.activateWindow();
    });
    // Shown from the first turn of the event loop, as the tray app shows its icon.
    QTimer::singleShot(0, &tray, [&tray] {
        tray.show();
        vexora::reportReadyWhenIdle();
    });
    return application.exec();
}
