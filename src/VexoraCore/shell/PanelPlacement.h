#pragma once

#include <QRect>
#include <QSize>

namespace vexora::PanelPlacement {

// Where the tray sits relative to the free area of its screen.
enum class TrayEdge { top, bottom, left, right };

// The edge whose reserved strip holds the anchor; for an anchor inside the free area (a tray
// that reports no strut, or the pointer), the nearest edge.
TrayEdge edgeOf(QRect anchor, QRect availableArea);

// The panel's frame: next to the anchor on the side away from the tray, never taller or wider
// than the free area, and wholly inside it.
QRect panelFrame(QSize preferred, QRect anchor, QRect availableArea);

}  // namespace vexora::PanelPlacement
