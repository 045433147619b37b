#pragma once

#include "shell/StatusIconAnimator.h"

#include <QIcon>
#include <QImage>
#include <functional>

namespace vexora::TrayIconArt {

// The tray mark as an opaque mask at a size (its colour does not matter).
using MarkRenderer = std::function<QImage(QSize)>;

// A badge that carries its own contrast, so the icon reads on light and dark panels alike: the
// mark in white on a dark rounded square with a light rim when idle, on the tint otherwise; an
// error shows an exclamation mark instead, so it never looks like a frame of the animation.
QImage image(const StatusIconLook& look, QSize size, const MarkRenderer& mark);

// The icon handed to the tray. `themeName` (idle only, may be empty) lets hosts that recolour
// symbolic icons draw the installed one; the others take the badge's pixmaps.
QIcon icon(const StatusIconLook& look, const MarkRenderer& mark, const QString& themeName);

}  // namespace vexora::TrayIconArt
