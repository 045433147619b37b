#include "TrayAppBench.h"

#include <QThread>

namespace vexora::bench {

using test::AppDriver;

namespace {

bool shown(AppDriver& app, const char* identifier) { return app.state(identifier).value("shown", false); }

std::string textOf(AppDriver& app, const char* identifier) { return app.state(identifier).value("text", std::string()); }

// Clicks until the control reads `wanted`; a click while a page loads is refused and tried again.
bool clickUntil(AppDriver& app, const char* button, const char* counter, const std::string& wanted) {
    return app.waitUntil(
        [&] {
            if (textOf(app, counter) == wanted) return true;
            if (shown(app, button)) (void)app.click(button);
            return false;
        },
        60000);
}

}  // namespace

QProcessEnvironment trayAppEnvironment(const QString& display, const QString& baseURL, const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("DISPLAY", display);
    environment.insert("VEXORA_API_BASE_URL", baseURL);
    // The update check stays on this machine too.
    environment.insert("VEXORA_APPCAST_URL", baseURL + "/appcast.xml");
    environment.insert("HOME", home);
    environment.insert("XDG_CONFIG_HOME", home + "/config");
    environment.insert("XDG_CACHE_HOME", home + "/cache");
    environment.insert("XDG_DATA_HOME", home + "/data");
    return environment;
}

bool waitForPanel(AppDriver& app) {
    return app.waitUntil([&] { return shown(app, "auth.email") || shown(app, "ugc.header.sign-out"); });
}

bool isSignedIn(AppDriver& app) { return shown(app, "ugc.header.sign-out"); }

bool loadWholeLibrary(AppDriver& app, int avatars, int historyEntries) {
    if (!clickUntil(app, "ugc.avatar.more", "ugc.avatar.count", std::to_string(avatars))) return false;
    if (!shown(app, "ugc.history.list")) (void)app.click("ugc.history.disclosure");
    return clickUntil(app, "ugc.history.load-more", "ugc.history.loaded", std::to_string(historyEntries) + " loaded");
}

bool waitForFaces(AppDriver& app) {
    return app.waitUntil(
        [&] {
            const QStringList tiles = app.shownIdentifiers("ugc.avatar.tile.");
            if (tiles.isEmpty()) return false;
            for (const QString& tile : tiles)
                if (!app.state(tile).value("hasImage", false)) return false;
            return true;
        },
        60000);
}

void settle() { QThread::msleep(1500); }

}  // namespace vexora::bench
