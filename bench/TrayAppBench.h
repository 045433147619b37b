#pragma once

#include "support/AppDriver.h"

#include <QProcessEnvironment>
#include <QString>

namespace vexora::bench {

// What the tray app's benchmarks share: the app on an X display of its own, with a home of its
// own, pointed at a devserver, and driven to a state through its controls.
QProcessEnvironment trayAppEnvironment(const QString& display, const QString& baseURL, const QString& home);

// Until the panel shows either the sign-in form or a workspace.
bool waitForPanel(test::AppDriver& app);
bool isSignedIn(test::AppDriver& app);

// Pages the avatar library and the history in until that many of each are loaded.
bool loadWholeLibrary(test::AppDriver& app, int avatars, int historyEntries);
// Until every face of the library shows its image, decoded from the cache.
bool waitForFaces(test::AppDriver& app);

// Lets the app's event loop calm down before it is measured.
void settle();

}  // namespace vexora::bench
