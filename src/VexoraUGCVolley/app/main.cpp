#include "app/VexoraUGCVolleyApp.h"

#ifdef VEXORA_UI_AUTOMATION
#include "automation/ReadyReport.h"
#include "automation/UIAutomationServer.h"
#endif

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vexora"));
    QApplication::setApplicationName(QStringLiteral("VexoraUGCVolley"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vexora UGC Volley"));
    QApplication::setDesktopFileName(QStringLiteral("vexora-ugc-volley"));
    // A tray application: hiding the panel must not end it. Without a tray the panel's own
    // close quits.
    QApplication::setQuitOnLastWindowClosed(false);

    vexora::VexoraUGCVolleyApp delegate;
    QTimer::singleShot(0, &delegate, [&delegate] {
        delegate.applicationDidFinishLaunching();
#ifdef VEXORA_UI_AUTOMATION
        // The tray icon (or, without a tray, the panel window) is shown by now.
        vexora::reportReadyWhenIdle();
#endif
    });
#ifdef VEXORA_UI_AUTOMATION
    vexora::UIAutomationServer::startFromEnvironment(&application);
#endif
    application.exec();
    return 0;
}
