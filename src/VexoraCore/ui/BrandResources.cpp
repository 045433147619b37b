#include "ui/BrandResources.h"

#include "ui/RenderedIconEngine.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <QTransform>
#include <mutex>

namespace vexora::BrandResources {

namespace {

const QString defaultRoot = QStringLiteral(":/");
const QString cutoutElement = QStringLiteral("cutout");
const QColor brandViolet(0x7C, 0x3A, 0xED);

// Images may be rendered off the GUI thread while a test swaps the root.
std::mutex rootMutex;
QString currentRoot = defaultRoot;

bool hasGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

QImage transparentCanvas(QSize size) {
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    return canvas;
}

// Where artwork of `natural` size goes in a `target` canvas: as large as fits, centred.
QRectF fittedRect(QSizeF natural, QSize target) {
    const QSizeF scaled = natural.scaled(QSizeF(target), Qt::KeepAspectRatio);
    return {QPointF((target.width() - scaled.width()) / 2, (target.height() - scaled.height()) / 2), scaled};
}

QImage placedOnCanvas(const QImage& image, QSize size) {
    if (image.size() == size) return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage canvas = transparentCanvas(size);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(fittedRect(image.size(), size), image);
    return canvas;
}

std::optional<QImage> renderSvg(const QString& path, std::optional<QSize> size, bool isTemplate) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return std::nullopt;
    const QSize target = size.value_or(renderer.defaultSize());
    if (target.isEmpty()) return std::nullopt;
    const QRectF viewBox = renderer.viewBoxF();
    const QRectF area = fittedRect(viewBox.size(), target);

    QImage image = transparentCanvas(target);
    {
        QPainter painter(&image);
        renderer.render(&painter, area);
    }
    if (!isTemplate) return image;

    image = tinted(image, templateColour());
    if (renderer.elementExists(cutoutElement)) {
        // The cutout is drawn alone where it sits in the whole picture, then erased from the mask.
        const QRectF local = renderer.transformForElement(cutoutElement).mapRect(renderer.boundsOnElement(cutoutElement));
        const QTransform toArea = QTransform::fromTranslate(area.x(), area.y())
                                      .scale(area.width() / viewBox.width(), area.height() / viewBox.height())
                                      .translate(-viewBox.x(), -viewBox.y());
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        renderer.render(&painter, cutoutElement, toArea.mapRect(local));
    }
    return image;
}

std::optional<QImage> renderRaster(const QString& path, std::optional<QSize> size, bool isTemplate) {
    QImageReader reader(path);
    const QImage read = reader.read();
    if (read.isNull()) return std::nullopt;
    QImage image = size ? placedOnCanvas(read, *size) : read.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return isTemplate ? tinted(image, templateColour()) : image;
}

std::optional<QImage> renderFile(const QString& path, std::optional<QSize> size, bool isTemplate) {
    if (size && size->isEmpty()) return std::nullopt;
    const QFileInfo info(path);
    if (!info.isFile()) return std::nullopt;
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("svg") || suffix == QLatin1String("svgz")) return renderSvg(path, size, isTemplate);
    return renderRaster(path, size, isTemplate);
}

std::optional<QImage> firstRendered(const QStringList& paths, std::optional<QSize> size, bool isTemplate) {
    for (const QString& path : paths)
        if (auto image = renderFile(path, size, isTemplate)) return image;
    return std::nullopt;
}

// `name` as given, then with the extensions we ship.
QStringList candidatePaths(const QString& folder, const QStringList& names) {
    QStringList paths;
    for (const QString& name : names) {
        paths << folder + name << folder + name + QStringLiteral(".svg") << folder + name + QStringLiteral(".png");
    }
    return paths;
}

std::optional<QImage> themeImage(const QString& systemName, QSize size, bool isTemplate) {
    // QIcon and QPixmap need a GUI application.
    if (systemName.isEmpty() || !hasGuiApplication() || !QIcon::hasThemeIcon(systemName)) return std::nullopt;
    const QPixmap pixmap = QIcon::fromTheme(systemName).pixmap(size, 1.0);
    if (pixmap.isNull()) return std::nullopt;
    QImage image = placedOnCanvas(pixmap.toImage(), size);
    image.setDevicePixelRatio(1.0);
    return isTemplate ? tinted(image, templateColour()) : image;
}

}  // namespace

void setResourceRoot(const QString& root) {
    QString normalised = root.isEmpty() ? defaultRoot : root;
    if (!normalised.endsWith(QLatin1Char('/'))) normalised += QLatin1Char('/');
    std::lock_guard lock(rootMutex);
    currentRoot = normalised;
}

QString resourceRoot() {
    std::lock_guard lock(rootMutex);
    return currentRoot;
}

QColor templateColour() {
    if (!hasGuiApplication()) return QColor(Qt::black);
    return QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText);
}

std::optional<QImage> brandImage(const QString& name, const QStringList& extensions, std::optional<QSize> size) {
    const QString base = resourceRoot() + QStringLiteral("Brand/") + name + QLatin1Char('.');
    QStringList paths;
    for (const QString& extension : extensions) paths << base + extension;
    return firstRendered(paths, size, false);
}

QImage brandSymbolImage(bool isTemplate, QSize size) {
    const QString base = resourceRoot() + QStringLiteral("Brand/vexora-symbol");
    if (auto image = firstRendered({base + QStringLiteral(".svg"), base + QStringLiteral(".png")}, size, isTemplate))
        return *image;
    return sparklesImage(isTemplate, size);
}

QImage statusSymbolImage(bool isTemplate, QSize size, std::optional<QString> assetName,
                         std::optional<QString> systemName) {
    if (assetName && !assetName->isEmpty()) {
        if (auto image = firstRendered(candidatePaths(resourceRoot() + QStringLiteral("Icons/"), {*assetName}), size,
                                       isTemplate))
            return *image;
    }
    if (systemName) {
        if (auto image = themeImage(*systemName, size, isTemplate)) return *image;
    }
    return brandSymbolImage(isTemplate, size);
}

std::optional<QImage> providerImage(const QString& name, bool isTemplate, QSize size) {
    if (name.isEmpty()) return std::nullopt;
    const QString folder = resourceRoot() + QStringLiteral("AuthProviders/");
    return firstRendered(candidatePaths(folder, {name, name + QStringLiteral("-mark")}), size, isTemplate);
}

QImage sparklesImage(bool isTemplate, QSize size) {
    if (size.isEmpty()) return {};
    const auto image = renderFile(QStringLiteral(":/Icons/sparkles.svg"), size, false);
    // Only a build that lost its resources gets here; an empty image still keeps callers' layout.
    if (!image) return transparentCanvas(size);
    return tinted(*image, isTemplate ? templateColour() : brandViolet);
}

QImage tinted(const QImage& image, const QColor& colour) {
    if (image.isNull()) return image;
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(result.rect(), colour);
    return result;
}

QPixmap pixmapAtRatio(const std::function<QImage(QSize)>& render, QSize logicalSize, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap = QPixmap::fromImage(render((QSizeF(logicalSize) * ratio).toSize()));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon iconAtSides(const std::function<QImage(QSize)>& render, const QList<int>& sides) {
    QIcon icon;
    for (int side : sides) icon.addPixmap(QPixmap::fromImage(render(QSize(side, side))));
    return icon;
}

QList<int> applicationIconSides() { return {16, 22, 24, 32, 48, 64, 128, 256, 512}; }

QIcon applicationIcon() {
    // Nine renders of the mark up to 512 px would cost every start-up milliseconds for sizes it
    // may never show.
    return renderedIcon([](QSize size) { return brandSymbolImage(false, size); }, applicationIconSides());
}

void applyApplicationIcon() {
    if (!hasGuiApplication()) return;
    QGuiApplication::setWindowIcon(applicationIcon());
}

}  // namespace vexora::BrandResources
