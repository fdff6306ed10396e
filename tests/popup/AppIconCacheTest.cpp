// Header colours from application icons, and the two caches with their different rules.
#include "popup/AppIconCache.h"

#include "support/TestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {
QIcon solidIcon(const QColor& color)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QImage imageOf(std::initializer_list<QRgb> pixels)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int i = 0;
    for (QRgb pixel : pixels) {
        image.setPixel(i % 32, i / 32, pixel);
        ++i;
    }
    return image;
}

void expectColor(const QColor& color, double r, double g, double b)
{
    EXPECT_NEAR(color.redF(), r, 1e-3);
    EXPECT_NEAR(color.greenF(), g, 1e-3);
    EXPECT_NEAR(color.blueF(), b, 1e-3);
    EXPECT_EQ(color.alphaF(), 1.0);
}

TEST(AppIconCache, BoostsAwayFromTheMeanAndCaps)
{
    expectColor(AppIconCache::boosted(0.8, 0.4, 0.2), 0.85, 0.39, 0.16);
    expectColor(AppIconCache::boosted(1.0, 0.9, 0.1), 1.0, 0.935, 0.015);
    expectColor(AppIconCache::boosted(0.0, 0.5, 0.5), 0.0, 0.525, 0.525);
}

TEST(AppIconCache, AveragesOnlyClearlyColouredPixels)
{
    // Two coloured pixels averaging (0.8, 0.4, 0.2), plus pixels every rule drops.
    const QImage image = imageOf({
        qRgba(255, 102, 0, 255),   // (1.0, 0.4, 0.0)
        qRgba(153, 102, 102, 255), // (0.6, 0.4, 0.4)
        qRgba(255, 0, 0, 127),     // alpha below 0.5
        qRgba(255, 255, 255, 255), // too bright
        qRgba(5, 0, 0, 255),       // too dark
        qRgba(120, 128, 130, 255), // grey: spread below 0.1
    });
    const std::optional<QColor> color = AppIconCache::colorOfRendering(image);
    ASSERT_TRUE(color);
    expectColor(*color, 0.85, 0.39, 0.16);
}

TEST(AppIconCache, ThresholdsKeepTheirBoundaryValues)
{
    // Alpha exactly 128/255 rounds to >= 0.5; a spread of exactly 0.1 is 25.5/255, not representable,
    // so check the spread rule with 26 (kept) and 25 (dropped).
    EXPECT_TRUE(AppIconCache::colorOfRendering(imageOf({qRgba(200, 100, 100, 128)})));
    EXPECT_TRUE(AppIconCache::colorOfRendering(imageOf({qRgba(126, 100, 100, 255)})));
    EXPECT_FALSE(AppIconCache::colorOfRendering(imageOf({qRgba(125, 100, 100, 255)})));
}

TEST(AppIconCache, IconsWithoutColourFallBackToBlue)
{
    for (const QColor& fill : {QColor(Qt::transparent), QColor(Qt::white), QColor(Qt::black), QColor(128, 128, 128)}) {
        EXPECT_FALSE(AppIconCache::colorOfRendering(AppIconCache::renderAtColorSize(solidIcon(fill))))
            << fill.name(QColor::HexArgb).toStdString();
    }
    const QImage rendering = AppIconCache::renderAtColorSize(solidIcon(QColor(204, 102, 51)));
    EXPECT_EQ(rendering.size(), QSize(32, 32));
    expectColor(*AppIconCache::colorOfRendering(rendering), 0.85, 0.39, 0.16);
}

TEST(AppIconCache, ColoursAreKeptForEveryIdButIconsOnlyWhenFound)
{
    FakeEnvironment env;
    FakeDesktopServices& desktop = env.platform.desktop;
    AppIconCache cache(&desktop);

    EXPECT_FALSE(cache.icon(std::nullopt));
    EXPECT_EQ(cache.accentColor(std::nullopt), AppIconCache::systemBlue());
    EXPECT_EQ(cache.accentColor(std::nullopt), AppIconCache::systemBlue());
    EXPECT_EQ(cache.colorComputations(), 1) << "\"<none>\" is cached";

    // Not installed yet: blue, and the blue stays for the run even after the app appears.
    EXPECT_EQ(cache.accentColor(QStringLiteral("org.example.Late")), AppIconCache::systemBlue());
    desktop.names.insert(QStringLiteral("org.example.Late"), QStringLiteral("Late"));
    desktop.icons.insert(QStringLiteral("org.example.Late"), solidIcon(QColor(204, 102, 51)));
    ASSERT_TRUE(cache.icon(QStringLiteral("org.example.Late"))) << "misses are not cached";
    EXPECT_EQ(cache.accentColor(QStringLiteral("org.example.Late")), AppIconCache::systemBlue());

    desktop.names.insert(QStringLiteral("org.example.Orange"), QStringLiteral("Orange"));
    desktop.icons.insert(QStringLiteral("org.example.Orange"), solidIcon(QColor(204, 102, 51)));
    expectColor(cache.accentColor(QStringLiteral("org.example.Orange")), 0.85, 0.39, 0.16);
    // Found icons are kept: a later change of the installed icon is not seen during the run.
    desktop.icons.insert(QStringLiteral("org.example.Orange"), solidIcon(Qt::green));
    EXPECT_EQ(cache.icon(QStringLiteral("org.example.Orange"))->pixmap(8, 8).toImage().pixelColor(4, 4),
              QColor(204, 102, 51));
    const int computations = cache.colorComputations();
    cache.accentColor(QStringLiteral("org.example.Orange"));
    EXPECT_EQ(cache.colorComputations(), computations);
}
} // namespace
