// Renders an SVG icon into the PNG sizes of the hicolor theme at build time:
//   vexora-render-icons <icon.svg> <output-folder> <icon-name> <side>...
// writes <output-folder>/<side>x<side>/apps/<icon-name>.png for each side.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: %s <icon.svg> <output-folder> <icon-name> <side>...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QRectF viewBox = renderer.viewBoxF();
    for (const QString& argument : args.mid(4)) {
        bool ok = false;
        const int side = argument.toInt(&ok);
        if (!ok || side <= 0) {
            std::fprintf(stderr, "not a size: %s\n", qPrintable(argument));
            return 2;
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            // Centred with the aspect kept, as the application draws it.
            const QSizeF fitted = viewBox.size().scaled(side, side, Qt::KeepAspectRatio);
            QPainter painter(&image);
            renderer.render(&painter, QRectF(QPointF((side - fitted.width()) / 2, (side - fitted.height()) / 2), fitted));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(side);
        const QString file = folder + QLatin1Char('/') + args.at(3) + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
