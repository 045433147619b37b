#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The brand's images: the Vexora mark, the tray icon and the sign-in providers' marks, compiled in
// as Qt resources under Brand/, Icons/ and AuthProviders/.
//
// Sizes are in device pixels and every image comes back at exactly the asked size, the artwork
// centred in it with its aspect ratio kept (use pixmapAtRatio for HiDPI screens). A "template"
// image is a single-colour mask (templateColour(), alpha kept) that reads on light and dark
// panels; in an SVG, the element with id "cutout" (a letter on a shape) is cut out of it.
namespace vexora::BrandResources {

// Where Brand/, Icons/ and AuthProviders/ are looked up: ":/" (the compiled-in resources) by
// default, or a folder a test points at. An empty root goes back to ":/".
void setResourceRoot(const QString& root);
QString resourceRoot();

// The colour of template images: the application palette's window text.
QColor templateColour();

// "<root>Brand/<name>.<ext>", trying the extensions in order and taking the first that decodes;
// none when none does. At the artwork's own size unless a size is given. Never a template.
std::optional<QImage> brandImage(const QString& name, const QStringList& extensions,
                                 std::optional<QSize> size = std::nullopt);

// The Vexora mark, or the sparkles when it cannot be loaded.
QImage brandSymbolImage(bool isTemplate, QSize size);

// The tray icon: "<root>Icons/<assetName>", else the desktop theme's icon `systemName`, else the
// Vexora mark, else the sparkles.
QImage statusSymbolImage(bool isTemplate, QSize size, std::optional<QString> assetName,
                         std::optional<QString> systemName);

// A sign-in provider's mark from "<root>AuthProviders/": `name` as given, with ".svg" or ".png",
// or as "<name>-mark" (so "google" finds google-mark.svg). None when missing.
std::optional<QImage> providerImage(const QString& name, bool isTemplate, QSize size);

// The compiled-in sparkles, whatever the root: the fallback that is always there. Brand violet
// unless a template.
QImage sparklesImage(bool isTemplate, QSize size);

// The image with its opaque pixels filled with the colour (source-atop): alpha kept.
QImage tinted(const QImage& image, const QColor& colour);

// Renders at logicalSize × devicePixelRatio and marks the pixmap with that ratio.
QPixmap pixmapAtRatio(const std::function<QImage(QSize)>& render, QSize logicalSize, qreal devicePixelRatio);

// One icon holding a rendering at each square side.
QIcon iconAtSides(const std::function<QImage(QSize)>& render, const QList<int>& sides);

// The sides of the application icon: 16, 22, 24, 32, 48, 64, 128, 256 and 512.
QList<int> applicationIconSides();

// The Vexora mark in colour at every application icon side.
QIcon applicationIcon();

// Makes applicationIcon() the icon of every window. Needs a QGuiApplication.
void applyApplicationIcon();

}  // namespace vexora::BrandResources
