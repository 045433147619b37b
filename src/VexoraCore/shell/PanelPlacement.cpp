#include "shell/PanelPlacement.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vexora::PanelPlacement {

namespace {

constexpr int gap = 4;  // between the tray and the panel

int clampInto(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, areaStart + std::max(0, areaLength - length));
}

}  // namespace

TrayEdge edgeOf(QRect anchor, QRect area) {
    const QPoint centre = anchor.center();
    if (centre.y() < area.top()) return TrayEdge::top;
    if (centre.y() > area.bottom()) return TrayEdge::bottom;
    if (centre.x() < area.left()) return TrayEdge::left;
    if (centre.x() > area.right()) return TrayEdge::right;
    const std::array<std::pair<int, TrayEdge>, 4> distances{{{centre.y() - area.top(), TrayEdge::top},
                                                             {area.bottom() - centre.y(), TrayEdge::bottom},
                                                             {centre.x() - area.left(), TrayEdge::left},
                                                             {area.right() - centre.x(), TrayEdge::right}}};
    return std::min_element(distances.begin(), distances.end())->second;
}

QRect panelFrame(QSize preferred, QRect anchor, QRect area) {
    const QSize size(std::min(preferred.width(), area.width()), std::min(preferred.height(), area.height()));
    int x = anchor.center().x() - size.width() / 2;
    int y = anchor.center().y() - size.height() / 2;
    switch (edgeOf(anchor, area)) {
    case TrayEdge::top: y = anchor.bottom() + 1 + gap; break;
    case TrayEdge::bottom: y = anchor.top() - gap - size.height(); break;
    case TrayEdge::left: x = anchor.right() + 1 + gap; break;
    case TrayEdge::right: x = anchor.left() - gap - size.width(); break;
    }
    return {QPoint(clampInto(x, size.width(), area.left(), area.width()), clampInto(y, size.height(), area.top(), area.height())),
            size};
}

}  // namespace vexora::PanelPlacement
