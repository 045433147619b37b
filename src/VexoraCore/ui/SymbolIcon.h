#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The panel names its icons by the standard symbol names ("info.circle", "arrow.clockwise").
// Each maps to a freedesktop theme icon; when the desktop theme lacks it, the bundled drawing
// under Symbols/ is used, tinted to the given colour.
namespace vexora::SymbolIcon {

// The freedesktop name the symbol maps to; empty for a name not in the table.
QString themeName(const QString& symbolName);

// True when the symbol has a bundled drawing.
bool hasBundledDrawing(const QString& symbolName);

// The symbol as an icon: the theme's, else the bundled drawing in `colour` (the palette's text
// colour when invalid). A null icon for an unknown name.
QIcon icon(const QString& symbolName, QColor colour = {});

// The symbol at `side` logical pixels for the given screen ratio.
QPixmap pixmap(const QString& symbolName, int side, QColor colour = {}, qreal devicePixelRatio = 1.0);

}  // namespace vexora::SymbolIcon
