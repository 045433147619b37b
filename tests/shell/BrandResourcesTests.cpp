#include "ui/BrandResources.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
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

bool near(const QColor& a, const QColor& b, int tolerance = 6) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void writeSolidPng(const QString& path, const QColor& colour, int side = 8) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(path, "PNG"));
}

// Points the lookup at an empty temporary folder and back at the resources afterwards.
class BrandFallback : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        BR::setResourceRoot(folder.path());
    }
    void TearDown() override { BR::setResourceRoot(QString()); }
    QString at(const QString& relative) const { return folder.filePath(relative); }

    QTemporaryDir folder;
};

}  // namespace

TEST(BrandResources, CompiledInArtworkLoads) {
    EXPECT_EQ(BR::resourceRoot(), QStringLiteral(":/"));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/Brand/vexora-symbol.svg")));
    const auto mark = BR::brandImage(QStringLiteral("vexora-symbol"), {QStringLiteral("svg")});
    ASSERT_TRUE(mark.has_value());
    EXPECT_EQ(mark->size(), QSize(512, 512));

    // In colour: a violet left arm and a coral right arm.
    const QImage colour = BR::brandSymbolImage(false, QSize(128, 128));
    const QColor left = colourAt(colour, 0.27, 0.3), right = colourAt(colour, 0.73, 0.3);
    EXPECT_GT(left.blue(), left.green());
    EXPECT_GT(right.red(), right.blue());

    const QSize tray(22, 22);
    const QImage status = BR::statusSymbolImage(false, tray, QStringLiteral("ugc-volley-status"), std::nullopt);
    EXPECT_NE(status, BR::brandSymbolImage(false, tray));
    EXPECT_NE(status, BR::sparklesImage(false, tray));
    for (const char* provider : {"google", "github", "linkedin", "facebook"}) {
        const auto image = BR::providerImage(QString::fromLatin1(provider) + QStringLiteral("-mark.svg"), false, QSize(32, 32));
        ASSERT_TRUE(image.has_value()) << provider;
        EXPECT_EQ(colourAt(*image, 0.5, 0.1).alpha(), 255) << provider;
    }
}

// Each lookup takes the first source that decodes and falls back in order, down to the sparkles.
TEST_F(BrandFallback, LookupsTakeTheFirstSourceThatDecodes) {
    writeSolidPng(at("Brand/mark.png"), blue);
    writeFile(at("Brand/mark.svg"), "<svg this is not");
    const auto skipped = BR::brandImage(QStringLiteral("mark"), {QStringLiteral("svg"), QStringLiteral("png")});
    ASSERT_TRUE(skipped.has_value());
    EXPECT_TRUE(near(colourAt(*skipped, 0.5, 0.5), blue));
    EXPECT_FALSE(BR::brandImage(QStringLiteral("mark"), {QStringLiteral("svg")}).has_value());

    const QSize size(22, 22);
    const QImage sparkles = BR::sparklesImage(false, size);
    EXPECT_EQ(BR::brandSymbolImage(false, size), sparkles);
    EXPECT_EQ(BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("no-such-theme-icon")), sparkles);

    // Asset, then theme icon, then brand mark.
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    writeFile(at("icons/vexora-test/index.theme"),
              "[Icon Theme]\nName=vexora-test\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
    writeSolidPng(at("icons/vexora-test/32x32/apps/vexora-test-tray.png"), magenta, 32);
    QIcon::setThemeSearchPaths({at("icons")});
    QIcon::setThemeName(QStringLiteral("vexora-test"));
    writeSolidPng(at("Brand/vexora-symbol.png"), blue);
    writeSolidPng(at("Icons/tray.png"), green);
    const QImage asset = BR::statusSymbolImage(false, size, QStringLiteral("tray"), QStringLiteral("vexora-test-tray"));
    const QImage themed = BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("vexora-test-tray"));
    const QImage mark = BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("vexora-test-none"));
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
    EXPECT_TRUE(near(colourAt(asset, 0.5, 0.5), green));
    EXPECT_EQ(themed.size(), size);
    EXPECT_TRUE(near(colourAt(themed, 0.5, 0.5), magenta));
    EXPECT_TRUE(near(colourAt(mark, 0.5, 0.5), blue));

    EXPECT_FALSE(BR::providerImage(QStringLiteral("google"), false, QSize(24, 24)).has_value());
    BR::setResourceRoot(QString());
    EXPECT_FALSE(BR::providerImage(QStringLiteral("myspace"), false, QSize(24, 24)).has_value());
}

TEST(BrandResources, TemplateIsOneColourWithTheAlphaKept) {
    const QSize size(64, 64);
    const QImage colour = BR::brandSymbolImage(false, size).convertToFormat(QImage::Format_ARGB32);
    const QImage mask = BR::brandSymbolImage(true, size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(mask.size(), size);
    const QColor neutral = BR::templateColour();
    int opaque = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QColor c = colour.pixelColor(x, y), m = mask.pixelColor(x, y);
            ASSERT_LE(std::abs(c.alpha() - m.alpha()), 1) << x << "," << y;
            if (m.alpha() >= 48) {
                ++opaque;
                ASSERT_TRUE(near(m, neutral)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, size.width() * size.height() / 5);
}
