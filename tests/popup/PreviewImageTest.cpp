// Card pictures: the first of the entry's files that decodes, whatever its name says, filling the
// card with the middle kept (a document's top), and cached apart per crop.
#include "popup/PreviewImage.h"

#include "support/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
TEST(PreviewImage, FallsBackFromThumbnailToImageAndKeepsACropApart)
{
    FakeEnvironment env;
    const QString image = env.path() + QStringLiteral("/full.png");
    QImage source(80, 40, QImage::Format_RGB32);
    source.fill(QColor(10, 200, 30));
    ASSERT_TRUE(source.save(image));
    const QString missing = env.path() + QStringLiteral("/thumb.png");
    const PreviewImage::Decoded preview = PreviewImage::readFilling({missing, image}, QSize(50, 50));
    ASSERT_EQ(preview.path, image);
    EXPECT_EQ(preview.image.size(), QSize(50, 50)) << "filled and cropped";
    EXPECT_EQ(preview.image.pixelColor(25, 25), QColor(10, 200, 30));
    EXPECT_TRUE(PreviewImage::readFilling({missing}, QSize(50, 50)).image.isNull());

    // A file whose name lies about its format still decodes from its bytes.
    const QString lying = env.path() + QStringLiteral("/picture.jpg");
    ASSERT_TRUE(source.save(lying, "PNG"));
    EXPECT_FALSE(PreviewImage::readFilling({lying}, QSize(20, 20)).image.isNull());

    // A page keeps its top; a picture its middle.
    QImage page(40, 80, QImage::Format_RGB32);
    page.fill(Qt::blue);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            page.setPixelColor(x, y, Qt::red);
        }
    }
    const QString pagePath = env.path() + QStringLiteral("/page.png");
    ASSERT_TRUE(page.save(pagePath));
    const QImage top = PreviewImage::readFilling({pagePath}, QSize(40, 40), PreviewImage::Crop::top).image;
    const QImage middle = PreviewImage::readFilling({pagePath}, QSize(40, 40)).image;
    EXPECT_EQ(top.pixelColor(20, 5), QColor(Qt::red));
    EXPECT_EQ(middle.pixelColor(20, 5), QColor(Qt::blue));
    PreviewImage::insert({pagePath, top}, QSize(40, 40), PreviewImage::Crop::top);
    EXPECT_FALSE(PreviewImage::cached({pagePath}, QSize(40, 40), PreviewImage::Crop::top).isNull());
    EXPECT_TRUE(PreviewImage::cached({pagePath}, QSize(40, 40)).isNull()) << "cached apart from the top crop";
}
} // namespace
