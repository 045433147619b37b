#include "ui/SymbolIcon.h"

#include "ui/BrandResources.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>

namespace vexora::SymbolIcon {

namespace {

// symbol -> freedesktop icon name. The one place the panel's icon vocabulary is translated.
const QHash<QString, QString>& themeNames() {
    static const QHash<QString, QString> table{
        {QStringLiteral("apple.logo"), QStringLiteral("apple")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("view-refresh")},
        {QStringLiteral("arrow.down.circle"), QStringLiteral("folder-download")},
        {QStringLiteral("arrow.triangle.2.circlepath"), QStringLiteral("media-playlist-repeat")},
        {QStringLiteral("arrow.up.right"), QStringLiteral("external-link")},
        {QStringLiteral("book.closed"), QStringLiteral("accessories-dictionary")},
        {QStringLiteral("camera.circle.fill"), QStringLiteral("camera-photo")},
        {QStringLiteral("camera.viewfinder"), QStringLiteral("camera-web")},
        {QStringLiteral("checkmark.circle"), QStringLiteral("emblem-ok")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("emblem-default")},
        {QStringLiteral("chevron.down"), QStringLiteral("go-down")},
        {QStringLiteral("chevron.left"), QStringLiteral("go-previous")},
        {QStringLiteral("chevron.right"), QStringLiteral("go-next")},
        {QStringLiteral("chevron.up"), QStringLiteral("go-up")},
        {QStringLiteral("chevron.up.chevron.down"), QStringLiteral("pan-down")},
        {QStringLiteral("clock"), QStringLiteral("appointment-soon")},
        {QStringLiteral("doc.on.doc"), QStringLiteral("edit-copy")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
        {QStringLiteral("hourglass"), QStringLiteral("process-working")},
        {QStringLiteral("info.circle"), QStringLiteral("dialog-information")},
        {QStringLiteral("music.note"), QStringLiteral("audio-x-generic")},
        {QStringLiteral("paperplane.circle"), QStringLiteral("mail-send")},
        {QStringLiteral("paperplane.fill"), QStringLiteral("document-send")},
        {QStringLiteral("pause.fill"), QStringLiteral("media-playback-pause")},
        {QStringLiteral("person.crop.circle.badge.checkmark"), QStringLiteral("avatar-default")},
        {QStringLiteral("person.crop.circle.badge.plus"), QStringLiteral("contact-new")},
        {QStringLiteral("person.crop.circle.fill"), QStringLiteral("avatar-default")},
        {QStringLiteral("play.circle"), QStringLiteral("media-playback-start")},
        {QStringLiteral("play.circle.fill"), QStringLiteral("media-playback-start")},
        {QStringLiteral("play.fill"), QStringLiteral("media-playback-start")},
        {QStringLiteral("play.rectangle.fill"), QStringLiteral("video-x-generic")},
        {QStringLiteral("plus.circle"), QStringLiteral("list-add")},
        {QStringLiteral("sparkles"), QStringLiteral("starred")},
        {QStringLiteral("speaker.slash.fill"), QStringLiteral("audio-volume-muted")},
        {QStringLiteral("speaker.wave.2.fill"), QStringLiteral("audio-volume-high")},
        {QStringLiteral("text.quote"), QStringLiteral("format-text-blockquote")},
        {QStringLiteral("trash"), QStringLiteral("user-trash")},
        {QStringLiteral("video.badge.waveform.fill"), QStringLiteral("camera-video")},
        {QStringLiteral("video.fill"), QStringLiteral("camera-video")},
        {QStringLiteral("wand.and.sparkles"), QStringLiteral("tools-wizard")},
        {QStringLiteral("xmark"), QStringLiteral("window-close")},
    };
    return table;
}

QString bundledPath(const QString& symbolName) { return QStringLiteral(":/Symbols/%1.svg").arg(symbolName); }

QColor resolvedColour(QColor colour) {
    if (colour.isValid()) return colour;
    return BrandResources::templateColour();
}

QImage renderBundled(const QString& symbolName, QSize size, const QColor& colour) {
    QSvgRenderer renderer(bundledPath(symbolName));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!renderer.isValid()) return image;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return BrandResources::tinted(image, colour);
}

// Renders the drawing at whatever size a control asks for, once per size, instead of
// rendering every size up front for icons most of which are drawn at one size only.
class BundledSymbolEngine : public QIconEngine {
public:
    BundledSymbolEngine(QString symbolName, QColor colour) : symbolName_(std::move(symbolName)), colour_(colour) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const bool disabled = mode == QIcon::Disabled;
        const quint64 key = (quint64(size.width()) << 32) | (quint64(size.height()) << 1) | quint64(disabled);
        if (auto found = rendered_.constFind(key); found != rendered_.cend()) return *found;
        QColor tint = colour_;
        if (disabled) tint.setAlphaF(0.35);
        const QPixmap made = QPixmap::fromImage(renderBundled(symbolName_, size, tint));
        rendered_.insert(key, made);
        return made;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }
    QIconEngine* clone() const override { return new BundledSymbolEngine(symbolName_, colour_); }

private:
    QString symbolName_;
    QColor colour_;
    QHash<quint64, QPixmap> rendered_;
};

// Theme icons are looked up only on a desktop that has a theme; the offscreen platform has none.
std::optional<QIcon> themeIcon(const QString& symbolName) {
    const QString name = themeName(symbolName);
    if (name.isEmpty() || QIcon::themeName().isEmpty() || !QIcon::hasThemeIcon(name)) return std::nullopt;
    return QIcon::fromTheme(name);
}

}  // namespace

QString themeName(const QString& symbolName) { return themeNames().value(symbolName); }

bool hasBundledDrawing(const QString& symbolName) { return QFile::exists(bundledPath(symbolName)); }

QIcon icon(const QString& symbolName, QColor colour) {
    if (auto themed = themeIcon(symbolName)) return *themed;
    if (!hasBundledDrawing(symbolName)) return {};
    return QIcon(new BundledSymbolEngine(symbolName, resolvedColour(colour)));
}

QPixmap pixmap(const QString& symbolName, int side, QColor colour, qreal devicePixelRatio) {
    if (auto themed = themeIcon(symbolName)) return themed->pixmap(QSize(side, side), devicePixelRatio);
    if (!hasBundledDrawing(symbolName)) return {};
    const QColor tint = resolvedColour(colour);
    return BrandResources::pixmapAtRatio([&](QSize size) { return renderBundled(symbolName, size, tint); },
                                         QSize(side, side), devicePixelRatio);
}

}  // namespace vexora::SymbolIcon
