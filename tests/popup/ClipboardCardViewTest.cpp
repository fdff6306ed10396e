// Cards as drawn: tooltips and clicks of their parts, the selection border, every kind's body with
// its inputs missing, previews the workers read, ages, and rich text one pixel to a point.
#include "popup/ui/ClipboardCardView.h"

#include "CardParts.h"
#include "popup/CardPreviewLoader.h"
#include "popup/RelativeAge.h"
#include "popup/ui/PopupStyle.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
using Part = ClipboardCardView::Part;
const QSizeF cardSize(220, 240);

class ClipboardCardViewTest : public ::testing::Test
{
protected:
    std::unique_ptr<ClipboardCardView> card(const ClipboardItem& item, int index = 1, bool selected = false)
    {
        ClipboardCardView::Callbacks callbacks{[this] { ++activations; }, [this] { ++deletions; },
                                               [this] { ++pinToggles; }};
        CardActionHandlers handlers{[this](const QUrl& url) { opened << url; }, {}, {}, {}};
        return std::make_unique<ClipboardCardView>(item, index, selected, callbacks, handlers, age,
                                                   QDateTime::currentDateTimeUtc());
    }

    QImage render(ClipboardCardView& view, double hover = 0)
    {
        QImage image(cardSize.toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        view.paint(painter, QRectF(QPointF(0, 0), cardSize), hover);
        return image;
    }

    FakeEnvironment env;
    RelativeAge age{QStringLiteral("en_US")};
    int activations = 0, deletions = 0, pinToggles = 0;
    QList<QUrl> opened;
};

TEST_F(ClipboardCardViewTest, TooltipsAndClicksFollowTheParts)
{
    ClipboardItem item;
    item.kind = ClipboardKind::link;
    item.text = QStringLiteral("https://example.com/x");
    item.sourceAppName = QStringLiteral("Browser");
    item.isPinned = true;
    auto view = card(item, 12);

    const QPointF middle(110, 120);
    EXPECT_EQ(view->hitTest(middle, cardSize, false).part, Part::card);
    EXPECT_EQ(view->toolTip(view->hitTest(middle, cardSize, false)), QStringLiteral("Press 12 or click to paste"));
    EXPECT_EQ(view->toolTip({Part::pinButton}), QStringLiteral("Unpin"));
    EXPECT_EQ(view->toolTip({Part::sourceIcon}), QStringLiteral("Browser"));
    // The icon is drawn the same whether the buttons show or not.
    const QRect iconPixels = partBounds(*view, cardSize, Part::sourceIcon, true).toAlignedRect();
    ASSERT_FALSE(iconPixels.isEmpty());
    EXPECT_EQ(render(*view, 1.0).copy(iconPixels), render(*view, 0.0).copy(iconPixels));

    // The footer's "Open in browser" button is there with or without hover.
    const ClipboardCardView::Hit action =
        view->hitTest(partBounds(*view, cardSize, Part::action, false).center(), cardSize, false);
    ASSERT_EQ(action.part, Part::action);
    EXPECT_EQ(view->toolTip(action), QStringLiteral("Open in browser"));

    view->click({Part::pinButton});
    view->click({Part::deleteButton});
    view->click(action);
    view->click({Part::card});
    EXPECT_EQ(pinToggles, 1);
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(activations, 1) << "buttons do not activate the card";
}

TEST_F(ClipboardCardViewTest, ColourCardsFillTheirBodyAndOfferTheirRgbFormWhileHovered)
{
    ClipboardItem color;
    color.kind = ClipboardKind::color;
    color.colorHex = QStringLiteral("#336699");
    auto view = card(color);
    const ClipboardCardView::Hit hit =
        view->hitTest(partBounds(*view, cardSize, Part::action, true).center(), cardSize, true);
    ASSERT_EQ(hit.part, Part::action);
    EXPECT_EQ(view->toolTip(hit), QStringLiteral("Copy as rgb(51, 102, 153)"));
    EXPECT_EQ(render(*view).pixelColor(110, 180), QColor(0x33, 0x66, 0x99)) << "the colour fills the body";

    color.colorHex = QStringLiteral("#12345");
    EXPECT_EQ(render(*card(color)).pixelColor(60, 200), QColor(128, 128, 128)) << "unreadable colour: grey";
}

TEST_F(ClipboardCardViewTest, SelectedCardsHaveAThickAccentBorder)
{
    ClipboardItem item;
    item.text = QStringLiteral("hello");
    const QImage selected = render(*card(item, 1, true));
    const QImage plain = render(*card(item, 1, false));
    EXPECT_EQ(selected.pixelColor(1, 150).rgb(), PopupStyle::accent().rgb());
    EXPECT_EQ(selected.pixelColor(2, 150).rgb(), PopupStyle::accent().rgb()) << "3 pixels wide";
    EXPECT_GT(plain.pixelColor(2, 150).lightness(), 240) << "unselected: a faint 1-pixel line only";
}

TEST_F(ClipboardCardViewTest, EveryKindPaintsWithMissingFilesAndAbsentFields)
{
    for (ClipboardKind kind : {ClipboardKind::text, ClipboardKind::richText, ClipboardKind::html, ClipboardKind::link,
                               ClipboardKind::image, ClipboardKind::pdf, ClipboardKind::color, ClipboardKind::file}) {
        ClipboardItem bare;
        bare.kind = kind;
        ClipboardItem missing = bare;
        missing.imagePath = missing.thumbnailPath = missing.assetPath = env.path() + QStringLiteral("/gone.png");
        missing.filePaths = QStringList{env.path() + QStringLiteral("/gone.png"), QStringLiteral("/x/y.txt")};
        missing.text = QString(100000, QLatin1Char('w')); // one endless word
        for (const ClipboardItem& item : {bare, missing}) {
            const QImage image = render(*card(item), 1.0);
            EXPECT_EQ(image.pixelColor(110, 5).alpha(), 255) << rawValue(kind).toStdString();
        }
    }
}

TEST_F(ClipboardCardViewTest, FileCardsShowAPlaceholderUntilTheWorkersHaveReadTheFile)
{
    const QString fifo = env.path() + QStringLiteral("/pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = env.path() + QStringLiteral("/zero.png");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString picture = env.path() + QStringLiteral("/holiday.png");
    QImage source(60, 60, QImage::Format_RGB32);
    source.fill(QColor(10, 200, 30));
    ASSERT_TRUE(source.save(picture));
    env.platform.desktop.fileIcons.insert(QStringLiteral("inode/fifo"),
                                          QIcon(QStringLiteral(":/resources/icons/doc.svg")));

    const QString missing = env.path() + QStringLiteral("/gone.png");

    std::vector<std::unique_ptr<ClipboardCardView>> cards;
    QList<QImage> before;
    for (const QString& path : {fifo, zero, picture, missing}) {
        ClipboardItem item;
        item.kind = ClipboardKind::file;
        item.filePaths = QStringList{path};
        cards.push_back(card(item));
        before.append(render(*cards.back())); // returns at once: nothing is read on this thread
    }
    const QPoint middle(110, 145);
    for (const QImage& image : before) {
        EXPECT_EQ(image.pixelColor(middle), QColor(245, 245, 245)) << "the light grey placeholder";
    }
    CardPreviewLoader::shared().finishAll();
    EXPECT_NE(render(*cards.at(0)), before.at(0)) << "a FIFO shows its type's icon";
    EXPECT_EQ(render(*cards.at(2)).pixelColor(middle), QColor(10, 200, 30)) << "a picture shows once read";
    EXPECT_EQ(render(*cards.at(1)), render(*cards.at(3))) << "a link to a device shows what a missing file does";
}

TEST_F(ClipboardCardViewTest, AgesAreTheMomentOfDrawing)
{
    const QDateTime built = QDateTime(QDate(2026, 3, 15), QTime(12, 0, 0), Qt::UTC);
    ClipboardItem item;
    item.text = QStringLiteral("hello");
    item.createdAt = built.addSecs(-5);
    ClipboardCardView view(item, 1, false, {}, {}, age, built);
    EXPECT_EQ(view.ageText(), QStringLiteral("5 seconds ago"));
    view.refreshAge(age, built.addMSecs(400));
    EXPECT_EQ(view.ageText(), QStringLiteral("5 seconds ago"));
    view.refreshAge(age, built.addSecs(120));
    EXPECT_EQ(view.ageText(), QStringLiteral("2 minutes ago")) << "a card kept since it was built";
}

// Rows of the card with ink darker than mid-grey in the given column range.
int inkRows(const QImage& image, int left, int right, int top, int bottom)
{
    int rows = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (image.pixelColor(x, y).lightness() < 128) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST_F(ClipboardCardViewTest, RichTextTakesOnePixelPerPoint)
{
    ClipboardItem item;
    item.kind = ClipboardKind::richText;
    item.assetPath = env.path() + QStringLiteral("/big.rtf");
    writeFileBytes(*item.assetPath, "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;}\\f0\\fs48 HHH\\par}");
    const QImage image = render(*card(item));
    // Capitals of a 24-point font stand about 17 pixels tall (they would be 23 at 32 pixels).
    const int capital = inkRows(image, 14, 200, 50, 150);
    EXPECT_GE(capital, 14);
    EXPECT_LE(capital, 20);
}

} // namespace
