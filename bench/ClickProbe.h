#pragma once

#include <QPoint>
#include <QString>

struct xcb_connection_t;

namespace vexora::bench {

// Clicks on an X display as a person would (XTEST) and times, from the press, until a window of
// the screen maps or unmaps: the moment a panel becomes visible or goes away.
class ClickProbe {
public:
    explicit ClickProbe(const QString& display);
    ~ClickProbe();
    ClickProbe(const ClickProbe&) = delete;
    ClickProbe& operator=(const ClickProbe&) = delete;

    // Milliseconds from the press until a top-level window maps (or unmaps); throws after 10 s.
    double clickUntilMapped(QPoint at);
    double clickUntilUnmapped(QPoint at);

private:
    double clickUntil(QPoint at, int eventType);

    xcb_connection_t* connection_ = nullptr;
    unsigned root_ = 0;
};

}  // namespace vexora::bench
