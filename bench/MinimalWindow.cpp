// bench_minimal_window: the start-up benchmark's reference, a Qt Widgets program that shows one
// window and reports ready at the same point the tray app does.
#include "automation/ReadyReport.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.resize(320, 200);
    // Shown from the first turn of the event loop, as the tray app shows its icon.
    QTimer::singleShot(0, &window, [&window] {
        window.show();
        vexora::reportReadyWhenIdle();
    });
    return application.exec();
}
