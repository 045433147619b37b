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
const QColor red(255, 0, 0);
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

QByteArray solidSquareSvg(const char* colour) {
    return QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\" viewBox=\"0 0 10 10\">"
                      "<rect width=\"10\" height=\"10\" fill=\"") +
           colour + "\"/></svg>";
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

TEST_F(BrandFallback, BrandImageTakesTheFirstExtensionThatDecodes) {
    writeSolidPng(at("Brand/mark.png"), blue);
    writeFile(at("Brand/mark.svg"), "<svg this is not");
    writeFile(at("Brand/pair.svg"), solidSquareSvg("#ff0000"));
    writeSolidPng(at("Brand/pair.png"), green);

    const auto skipped = BR::brandImage(QStringLiteral("mark"), {QStringLiteral("svg"), QStringLiteral("png")});
    ASSERT_TRUE(skipped.has_value());
    EXPECT_TRUE(near(colourAt(*skipped, 0.5, 0.5), blue));
    EXPECT_FALSE(BR::brandImage(QStringLiteral("mark"), {QStringLiteral("svg")}).has_value());
    EXPECT_FALSE(BR::brandImage(QStringLiteral("mark"), {QStringLiteral("gif")}).has_value());
    EXPECT_FALSE(BR::brandImage(QStringLiteral("absent"), {QStringLiteral("svg"), QStringLiteral("png")}).has_value());

    const auto svgFirst = BR::brandImage(QStringLiteral("pair"), {QStringLiteral("svg"), QStringLiteral("png")});
    const auto pngFirst = BR::brandImage(QStringLiteral("pair"), {QStringLiteral("png"), QStringLiteral("svg")});
    ASSERT_TRUE(svgFirst && pngFirst);
    EXPECT_TRUE(near(colourAt(*svgFirst, 0.5, 0.5), red));
    EXPECT_TRUE(near(colourAt(*pngFirst, 0.5, 0.5), green));

    // A square drawn into a wide size stays square, centred.
    const auto wide = BR::brandImage(QStringLiteral("pair"), {QStringLiteral("svg")}, QSize(40, 20));
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->size(), QSize(40, 20));
    EXPECT_EQ(colourAt(*wide, 0.1, 0.5).alpha(), 0);
    EXPECT_TRUE(near(colourAt(*wide, 0.5, 0.5), red));
}

TEST_F(BrandFallback, BrandSymbolFallsBackToSparkles) {
    const QSize size(48, 48);
    const QImage sparkles = BR::sparklesImage(false, size);
    EXPECT_GT(colourAt(sparkles, 10.0 / 24, 13.0 / 24).alpha(), 200);  // the big star's centre

    EXPECT_EQ(BR::brandSymbolImage(false, size), sparkles);
    writeFile(at("Brand/vexora-symbol.svg"), "not an image");
    EXPECT_EQ(BR::brandSymbolImage(false, size), sparkles);

    BR::setResourceRoot(QString());
    EXPECT_NE(BR::brandSymbolImage(false, size), sparkles);
}

TEST_F(BrandFallback, StatusFallsBackFromAssetToBrandMarkToSparkles) {
    const QSize size(22, 22);
    writeSolidPng(at("Icons/tray.png"), green);
    writeSolidPng(at("Brand/vexora-symbol.png"), blue);

    EXPECT_TRUE(near(colourAt(BR::statusSymbolImage(false, size, QStringLiteral("tray"), std::nullopt), 0.5, 0.5), green));
    EXPECT_TRUE(near(colourAt(BR::statusSymbolImage(false, size, QStringLiteral("tray.png"), std::nullopt), 0.5, 0.5), green));
    EXPECT_TRUE(near(colourAt(BR::statusSymbolImage(false, size, QStringLiteral("gone"), std::nullopt), 0.5, 0.5), blue));
    EXPECT_TRUE(near(colourAt(BR::statusSymbolImage(false, size, std::nullopt, std::nullopt), 0.5, 0.5), blue));

    QFile::remove(at("Brand/vexora-symbol.png"));
    EXPECT_EQ(BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("no-such-theme-icon")),
              BR::sparklesImage(false, size));
}

TEST_F(BrandFallback, StatusUsesTheThemeIconBeforeTheBrandMark) {
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    writeFile(at("icons/vexora-test/index.theme"),
              "[Icon Theme]\nName=vexora-test\nDirectories=32x32/apps\n\n[32x32/apps]\nSize=32\nType=Fixed\n");
    writeSolidPng(at("icons/vexora-test/32x32/apps/vexora-test-tray.png"), magenta, 32);
    QIcon::setThemeSearchPaths({at("icons")});
    QIcon::setThemeName(QStringLiteral("vexora-test"));
    writeSolidPng(at("Brand/vexora-symbol.png"), blue);
    writeSolidPng(at("Icons/tray.png"), green);

    const QSize size(22, 22);
    const QImage themed = BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("vexora-test-tray"));
    const QImage asset = BR::statusSymbolImage(false, size, QStringLiteral("tray"), QStringLiteral("vexora-test-tray"));
    const QImage unknown = BR::statusSymbolImage(false, size, QStringLiteral("gone"), QStringLiteral("vexora-test-none"));
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);

    EXPECT_EQ(themed.size(), size);
    EXPECT_TRUE(near(colourAt(themed, 0.5, 0.5), magenta));
    EXPECT_TRUE(near(colourAt(asset, 0.5, 0.5), green));
    EXPECT_TRUE(near(colourAt(unknown, 0.5, 0.5), blue));
}

TEST_F(BrandFallback, MissingProviderGivesNone) {
    EXPECT_FALSE(BR::providerImage(QStringLiteral("google"), false, QSize(24, 24)).has_value());
    writeSolidPng(at("AuthProviders/acme-mark.png"), red);
    const auto acme = BR::providerImage(QStringLiteral("acme"), false, QSize(24, 24));
    ASSERT_TRUE(acme.has_value());
    EXPECT_TRUE(near(colourAt(*acme, 0.5, 0.5), red));

    BR::setResourceRoot(QString());
    EXPECT_FALSE(BR::providerImage(QStringLiteral("myspace"), false, QSize(24, 24)).has_value());
    EXPECT_FALSE(BR::providerImage(QString(), false, QSize(24, 24)).has_value());
    EXPECT_EQ(BR::providerImage(QStringLiteral("google"), false, QSize(24, 24)),
              BR::providerImage(QStringLiteral("google-mark.svg"), false, QSize(24, 24)));
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

TEST(BrandResources, ProviderTemplateCutsTheLetterOut) {
    const QSize size(48, 48);
    const auto colour = BR::providerImage(QStringLiteral("google"), false, size);
    const auto mask = BR::providerImage(QStringLiteral("google"), true, size);
    ASSERT_TRUE(colour && mask);
    // On the G's bar: white in colour, a hole in the template; the disc stays solid.
    EXPECT_TRUE(near(colourAt(*colour, 29.0 / 47, 24.0 / 47), Qt::white));
    EXPECT_EQ(colourAt(*mask, 29.0 / 47, 24.0 / 47).alpha(), 0);
    EXPECT_EQ(colourAt(*mask, 0.5, 6.0 / 47).alpha(), 255);
    EXPECT_TRUE(near(colourAt(*mask, 0.5, 6.0 / 47), BR::templateColour()));

    // A cutout that is a group: the stem of the "i".
    const auto linkedIn = BR::providerImage(QStringLiteral("linkedin"), true, size);
    ASSERT_TRUE(linkedIn.has_value());
    EXPECT_EQ(colourAt(*linkedIn, 14.5 / 47, 30.0 / 47).alpha(), 0);
    EXPECT_EQ(colourAt(*linkedIn, 42.0 / 47, 30.0 / 47).alpha(), 255);
}

TEST(BrandResources, TintColoursOnlyOpaquePixels) {
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, QColor(255, 0, 0, 255));
    image.setPixelColor(1, 0, QColor(0, 255, 0, 128));
    image.setPixelColor(2, 0, QColor(0, 0, 0, 0));
    image.setPixelColor(3, 0, QColor(0, 0, 255, 255));
    const QColor tint(0, 200, 255);

    const QImage result = BR::tinted(image, tint).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(result.pixelColor(0, 0), tint);
    EXPECT_EQ(result.pixelColor(1, 0).alpha(), 128);
    EXPECT_TRUE(near(result.pixelColor(1, 0), tint, 2));
    EXPECT_EQ(result.pixelColor(2, 0).alpha(), 0);
    EXPECT_EQ(result.pixelColor(3, 0), tint);
    EXPECT_TRUE(BR::tinted(QImage(), tint).isNull());
}
