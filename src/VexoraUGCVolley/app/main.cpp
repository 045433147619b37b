#include "app/VexoraUGCVolleyApp.h"
#include "config/UGCAppConfiguration.h"
#include "shell/AutostartEntry.h"
#include "shell/DisplayPlatform.h"
#include "shell/SingleInstance.h"

#ifdef VEXORA_UI_AUTOMATION
#include "automation/ReadyReport.h"
#include "automation/UIAutomationServer.h"
#endif

#include <QApplication>
#include <QTimer>
#include <cstdio>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // Each pool thread that decodes an image or writes a file would get a heap arena of its own,
    // and what it frees stays resident there: 2 to 5 MiB more, and uneven, with a large library.
    mallopt(M_ARENA_MAX, 2);
#endif
    vexora::DisplayPlatform::chooseForPopover();
    QApplication application(argc, argv);
    const QString applicationId = vexora::UGCAppConfiguration::core().bundleIdentifier();
    QApplication::setOrganizationName(QStringLiteral("Vexora"));
    QApplication::setApplicationName(QStringLiteral("VexoraUGCVolley"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vexora UGC Volley"));
    QApplication::setDesktopFileName(applicationId);
    // A tray application: hiding the panel must not end it. Without a tray the panel's own
    // close quits.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second start hands over to the running instance and ends.
    vexora::SingleInstance instance(applicationId);
    if (instance.claim() == vexora::SingleInstance::Role::secondary) {
        std::fprintf(stderr, "Vexora UGC Volley is already running.\n");
        return 0;
    }

    // Started at login, or by the session bus for a launcher that activates it next, the app
    // stays in the tray; started by a person, it opens its panel once.
    const QStringList arguments = QApplication::arguments();
    const bool inBackground = arguments.contains(QLatin1String(vexora::AutostartEntry::launchArgument)) ||
                              arguments.contains(QLatin1String(vexora::SingleInstance::activationArgument));

    vexora::VexoraUGCVolleyApp delegate;
    QObject::connect(&instance, &vexora::SingleInstance::activated, &delegate, &vexora::VexoraUGCVolleyApp::activate);
    QTimer::singleShot(0, &delegate, [&delegate, inBackground] {
        delegate.applicationDidFinishLaunching(inBackground);
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
