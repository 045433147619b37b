#pragma once

#include "support/LinuxDesktop.h"

#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace vexora::test {

// One Notify call as the server received it, with the id it answered.
struct ReceivedNotification {
    QString appName;
    quint32 replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QMap<QString, QString> hints;  // those of one line: strings, numbers
    std::optional<quint32> id;
};
std::ostream& operator<<(std::ostream& out, const ReceivedNotification& notification);

// dunst on a desktop's session bus, set so that a left click does a notification's default action
// and nothing expires by itself, with a dbus-monitor beside it that records what it is sent.
class NotificationServer {
public:
    explicit NotificationServer(LinuxDesktop& desktop) : desktop_(desktop) {}

    ::testing::AssertionResult start();

    std::vector<ReceivedNotification> received();
    // "id action" for each ActionInvoked the server sent.
    QStringList invokedActions();
    int displayed();
    // The mapped notification window, to click.
    std::optional<XWindow> window();

private:
    LinuxDesktop& desktop_;
    Spawned monitor_, server_;
};

}  // namespace vexora::test
