#include "ui/RenderedIconEngine.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <map>

namespace vexora {

namespace {

class RenderedIconEngine : public QIconEngine {
public:
    RenderedIconEngine(std::function<QImage(QSize)> render, QList<int> sides, QString themeName)
        : render_(std::move(render)), sides_(std::move(sides)), themeName_(std::move(themeName)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        QPixmap& drawn = drawn_[{size.width(), size.height()}];
        if (drawn.isNull()) drawn = QPixmap::fromImage(render_(size));
        return drawn;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : sides_) sizes << QSize(side, side);
        return sizes;
    }
    QString iconName() override { return themeName_; }
    QIconEngine* clone() const override { return new RenderedIconEngine(*this); }

private:
    std::function<QImage(QSize)> render_;
    QList<int> sides_;
    QString themeName_;
    std::map<std::pair<int, int>, QPixmap> drawn_;
};

}  // namespace

QIcon renderedIcon(std::function<QImage(QSize)> render, QList<int> sides, QString themeName) {
    return QIcon(new RenderedIconEngine(std::move(render), std::move(sides), std::move(themeName)));
}

}  // namespace vexora
