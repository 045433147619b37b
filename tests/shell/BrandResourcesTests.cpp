#include "ui/BrandResources.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace BR = vexora::BrandResources;

namespace {

const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);
const QColor magenta(255, 0, 255);

QColor colourAt(const QImage& image, double fx, double fy) {
    return image.convertToFormat(QImage::Format_ARGB32)
        .pixelColor(int(fx * (image.width() - 1)), int(fy * (image.height() - 1)));
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 6 && std::abs(a.green() - b.green()) <= 6 && std::abs(a.blue() - b.blue()) <= 6;
}

// Points the lookup at an empty temporary folder and back at the resources afterwards.
class BrandFallback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        BR::setResourceRoot(folder.path());
    }
    void TearDown() override { BR::setResourceRoot(QString()); }

    // The path of `relative` in the folder, its parent made.
    QString at(const QString& relative) const {
        QDir().mkpath(QFileInfo(folder.filePath(relative)).path());
        return folder.filePath(relative);
    }
    void writeFile(const QString& relative, const QByteArray& bytes) {
        QFile file(at(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    void writePng(const QString& relative, const QColor& colour, int side = 8) {
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(at(relative), "PNG"));
    }

    QTemporaryDir folder;
};

}  // namespace

// The compiled-in artwork is there: the mark, the tray's own asset, the providers' marks.
TEST(BrandResources, CompiledInArtworkLoadsInColourAndAsATemplate) {
    // In colour: a violet left arm and a coral right arm, not the all-violet sparkles.
    const QSize size(64, 64);
    const QImage colour = BR::brandSymbolImage(false, size).convertToFormat(QImage::Format_ARGB32);
    const QColor left = colourAt(colour, 0.27, 0.3), right = colourAt(colour, 0.73, 0.3);
    EXPECT_GT(left.blue(), left.green());
    EXPECT_GT(right.red(), right.blue());

    // As a template: one colour, the alpha kept.
    const QImage mask = BR::brandSymbolImage(true, size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(mask.size(), size);
    int opaque = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = colour.pixelColor(x, y), m = mask.pixelColor(x, y);
            ASSERT_LE(std::abs(c.alpha() - m.alpha()), 1) << x << "," << y;
            if (m.alpha() >= 48) {
                ++opaque;
                ASSERT_TRUE(near(m, BR::templateColour())) << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, size.width() * size.height() / 5);

    const QSize tray(22, 22);
    const QImage status = BR::statusSymbolImage(false, tray, QStringLiteral("ugc-volley-status"), std::nullopt);
    EXPECT_NE(status, BR::brandSymbolImage(false, tray));
    EXPECT_NE(status, BR::sparklesImage(false, tray));
    for (const char* provider : {"google", "github", "linkedin", "facebook"}) {
        const auto image = BR::providerImage(QString::fromLatin1(provider) + "-mark", false, QSize(32, 32));
        ASSERT_TRUE(image.has_value()) << provider;
        EXPECT_EQ(colourAt(*image, 0.5, 0.1).alpha(), 255) << provider;
    }
}

// Each lookup takes the first source that decodes and falls back in order, down to the sparkles.
TEST_F(BrandFallback, LookupsTakeTheFirstSourceThatDecodes) {
    const QSize size(22, 22);
    const QImage sparkles = BR::sparklesImage(false, size);
    EXPECT_EQ(BR::brandSymbolImage(false, size), sparkles);
    EXPECT_EQ(BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("no-such-theme-icon")), sparkles);
    EXPECT_FALSE(BR::providerImage(QStringLiteral("google"), false, QSize(24, 24)).has_value());

    // Asset, then theme icon, then brand mark, whose SVG does not decode and gives way to its PNG.
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    writeFile("Brand/vexora-symbol.svg", "<svg this is not");
    writePng("Brand/vexora-symbol.png", blue);
    writeFile("icons/vexora-test/index.theme",
              "[Icon Theme]\nName=vexora-test\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
    writePng("icons/vexora-test/32x32/apps/vexora-test-tray.png", magenta, 32);
    writePng("Icons/tray.png", green);
    QIcon::setThemeSearchPaths({at("icons")});
    QIcon::setThemeName(QStringLiteral("vexora-test"));
    const QImage asset = BR::statusSymbolImage(false, size, QStringLiteral("tray"), QStringLiteral("vexora-test-tray"));
    const QImage themed = BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("vexora-test-tray"));
    const QImage mark = BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("vexora-test-none"));
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
    EXPECT_TRUE(near(colourAt(asset, 0.5, 0.5), green));
    EXPECT_EQ(themed.size(), size);
    EXPECT_TRUE(near(colourAt(themed, 0.5, 0.5), magenta));
    EXPECT_TRUE(near(colourAt(mark, 0.5, 0.5), blue));
}
