// Reading the CLIPBOARD from a real owner on a private X server: the translation of targets, large
// transfers, and owners that never answer or die mid-transfer.
#include "ClipOwner.h"
#include "capture/CaptureWorker.h"
#include "capture/FolderFiles.h"
#include "platform/PasteboardTypes.h"
#include "platform/x11/X11SelectionReader.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <gtest/gtest.h>

using namespace std::chrono;

namespace {
// The change that put the current owner in place, as the clipboard's notification names it (without
// its time: requests then carry the current time).
ClipboardChange currentChange()
{
    xcb_connection_t* c = X11SelectionConnection::forCurrentThread()->get();
    const auto owner = xcbPtr(xcb_get_selection_owner_reply(
        c, xcb_get_selection_owner(c, X11SelectionConnection::forCurrentThread()->atom("CLIPBOARD")), nullptr));
    return ClipboardChange{owner ? owner->owner : 0u, 0};
}

std::unique_ptr<X11SelectionReader> openReader(milliseconds budget = milliseconds(2000),
                                               qint64 cap = X11SelectionReader::defaultMaxTransferBytes,
                                               std::optional<ClipboardChange> change = std::nullopt)
{
    return std::make_unique<X11SelectionReader>(X11SelectionConnection::forCurrentThread(),
                                                change.value_or(currentChange()), steady_clock::now() + budget, cap);
}

QString targetFromFile(const QString& name, const QByteArray& bytes, QTemporaryFile& file)
{
    file.open();
    file.write(bytes);
    file.flush();
    return QStringLiteral("%1=@%2").arg(name, file.fileName());
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
} // namespace

TEST(SelectionReader, TranslatesTheOwnersTargetsIntoPasteboardTypes)
{
    ClipOwner owner({"--target", "text/plain;charset=utf-8=second choice", "--target", "UTF8_STRING=h\u00e9llo",
                     "--target", "text/html=<b>bold</b>", "--target", "application/rtf={\\rtf1 x}", "--target",
                     "text/uri-list=# comment\r\nfile:///tmp/a%20b.txt\r\nfile:///tmp/c.txt\r\n", "--target",
                     "application/x-color=hex:ffff00800000ffff", "--target", "x-kde-passwordManagerHint=secret"});
    ASSERT_TRUE(owner.isReady());
    const auto reader = openReader();

    const auto types = reader->types();
    ASSERT_TRUE(types);
    for (const QString& expected :
         {PasteboardType::string, PasteboardType::html, PasteboardType::htmlMime, PasteboardType::rtf,
          PasteboardType::fileUrl, PasteboardType::color, QStringLiteral("x-kde-passwordManagerHint")}) {
        EXPECT_TRUE(types->contains(expected)) << expected.toStdString();
    }
    for (const char* protocol : {"TARGETS", "TIMESTAMP"}) {
        EXPECT_FALSE(types->contains(QLatin1String(protocol)));
    }

    // The table's order decides, not the order of the owner's list.
    EXPECT_EQ(reader->data(PasteboardType::string), QByteArray("h\u00e9llo"));
    EXPECT_EQ(reader->data(PasteboardType::html), QByteArray("<b>bold</b>"));
    EXPECT_EQ(reader->data(PasteboardType::htmlMime), QByteArray("<b>bold</b>"));
    EXPECT_EQ(reader->data(PasteboardType::rtf), QByteArray("{\\rtf1 x}"));
    EXPECT_FALSE(reader->data(PasteboardType::pdf));
    EXPECT_EQ(reader->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));

    const auto urls = reader->urls();
    ASSERT_TRUE(urls);
    ASSERT_EQ(urls->urls.size(), 2);
    EXPECT_EQ(urls->urls.at(0).toLocalFile(), QStringLiteral("/tmp/a b.txt"));
    EXPECT_EQ(urls->urls.at(1).toLocalFile(), QStringLiteral("/tmp/c.txt"));

    const auto colors = reader->colors();
    ASSERT_TRUE(colors);
    ASSERT_EQ(colors->size(), 1);
    EXPECT_EQ(colors->at(0), QColor::fromRgba64(0xffff, 0x8000, 0x0000, 0xffff));
    EXPECT_FALSE(reader->hasFailed());
}

TEST(SelectionReader, ReadsFileManagersCopiedFilesAndNothingThatIsNotOffered)
{
    ClipOwner owner({"--target", "x-special/gnome-copied-files=cut\nfile:///home/u/one\nfile:///home/u/two", "--target",
                     "STRING=plain"});
    ASSERT_TRUE(owner.isReady());
    const auto reader = openReader();
    const auto urls = reader->urls();
    ASSERT_TRUE(urls);
    EXPECT_EQ(urls->urls, QList<QUrl>({QUrl("file:///home/u/one"), QUrl("file:///home/u/two")}));
    EXPECT_FALSE(reader->colors());
    EXPECT_FALSE(reader->data(PasteboardType::string));
    EXPECT_EQ(reader->data(PasteboardType::nextPlainAscii), QByteArray("plain"));
    EXPECT_FALSE(reader->hasFailed());
}

TEST(SelectionReader, OffersOtherImageTypesAsPngOnlyWithoutPngOrTiff)
{
    QImage image(70, 40, QImage::Format_RGB32);
    image.fill(Qt::red);
    QTemporaryFile bmp, tiff;
    {
        ClipOwner owner({"--target", targetFromFile("image/bmp", encoded(image, "BMP"), bmp)});
        ASSERT_TRUE(owner.isReady());
        const auto reader = openReader();
        ASSERT_TRUE(reader->types()->contains(PasteboardType::png));
        const auto png = reader->data(PasteboardType::png);
        ASSERT_TRUE(png);
        EXPECT_TRUE(png->startsWith("\x89PNG"));
        EXPECT_EQ(QImage::fromData(*png).size(), QSize(70, 40));
    }
    {
        ClipOwner owner({"--target", targetFromFile("image/tiff", encoded(image, "TIFF"), tiff), "--target",
                         "image/jpeg=not really"});
        ASSERT_TRUE(owner.isReady());
        const auto reader = openReader();
        EXPECT_FALSE(reader->types()->contains(PasteboardType::png));
        EXPECT_FALSE(reader->data(PasteboardType::png));
        EXPECT_TRUE(reader->data(PasteboardType::tiff));
    }
    // A vector image is not drawn: it could name the user's files. Nor is one offered as a bitmap:
    // each target is decoded as the format it names, never as what its bytes look like.
    QTemporaryFile secret(QDir::tempPath() + QStringLiteral("/secret-XXXXXX.png"));
    ASSERT_TRUE(secret.open());
    secret.write(encoded(image, "PNG"));
    secret.flush();
    const QString svg = QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' "
                                       "xmlns:xlink='http://www.w3.org/1999/xlink' width='70' height='40'>"
                                       "<image xlink:href='file://%1' width='70' height='40'/></svg>")
                            .arg(secret.fileName());
    for (const char* target : {"image/svg+xml", "image/bmp", "image/x-portable-pixmap"}) {
        ClipOwner owner({"--target", QStringLiteral("%1=%2").arg(QLatin1String(target), svg)});
        ASSERT_TRUE(owner.isReady());
        const auto reader = openReader();
        EXPECT_FALSE(reader->data(PasteboardType::png)) << target;
    }
}

TEST(SelectionReader, ReceivesLargeContentIncrementallyUpToTheCap)
{
    QByteArray big(3 * 1024 * 1024 + 17, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char& byte : big) {
        byte = char(generator.bounded(256));
    }
    QTemporaryFile file;
    ClipOwner owner({"--target", targetFromFile("image/png", big, file), "--incr-chunk", "65536"});
    ASSERT_TRUE(owner.isReady());

    const auto reader = openReader(milliseconds(5000));
    EXPECT_EQ(reader->data(PasteboardType::png), big);
    EXPECT_FALSE(reader->hasFailed());

    // Too large: the read is abandoned and the change fails.
    const auto capped = openReader(milliseconds(5000), 1024 * 1024);
    EXPECT_FALSE(capped->data(PasteboardType::png));
    EXPECT_TRUE(capped->hasFailed());
    EXPECT_FALSE(capped->types());
}

TEST(SelectionReader, OwnerThatNeverAnswersCostsTheDeadlineAndFailsTheChange)
{
    ClipOwner owner({"--target", "UTF8_STRING=never", "--silent"});
    ASSERT_TRUE(owner.isReady());
    const auto started = steady_clock::now();
    const auto reader = openReader(milliseconds(300));
    EXPECT_FALSE(reader->types());
    EXPECT_FALSE(reader->data(PasteboardType::string));
    const auto spent = duration_cast<milliseconds>(steady_clock::now() - started);
    EXPECT_TRUE(reader->hasFailed());
    EXPECT_GE(spent.count(), 250);
    EXPECT_LT(spent.count(), 1500);
}

TEST(SelectionReader, OwnerDyingMidTransferFailsAtOnce)
{
    QTemporaryFile file;
    ClipOwner owner({"--target", targetFromFile("UTF8_STRING", QByteArray(500000, 'x'), file), "--incr-chunk", "10000",
                     "--die-after-chunks", "3"});
    ASSERT_TRUE(owner.isReady());
    const auto started = steady_clock::now();
    const auto reader = openReader(milliseconds(5000));
    EXPECT_FALSE(reader->data(PasteboardType::string));
    EXPECT_TRUE(reader->hasFailed());
    EXPECT_LT(duration_cast<milliseconds>(steady_clock::now() - started).count(), 2000);
}

TEST(SelectionReader, ReadsOnlyTheOwnerOfItsChange)
{
    ClipOwner first({"--target", "UTF8_STRING=first"});
    ASSERT_TRUE(first.isReady());
    const ClipboardChange firstChange = currentChange();
    EXPECT_EQ(openReader(milliseconds(2000), X11SelectionReader::defaultMaxTransferBytes, firstChange)
                  ->data(PasteboardType::string),
              QByteArray("first"));

    // Another program took the clipboard before the first change was read: nothing of it is read.
    ClipOwner second({"--target", "UTF8_STRING=second"});
    ASSERT_TRUE(second.isReady());
    const auto stale = openReader(milliseconds(2000), X11SelectionReader::defaultMaxTransferBytes, firstChange);
    EXPECT_TRUE(stale->hasFailed());
    EXPECT_FALSE(stale->types());
    EXPECT_FALSE(stale->data(PasteboardType::string));
    EXPECT_EQ(openReader()->data(PasteboardType::string), QByteArray("second"));
}

TEST(SelectionReader, AConcealedMarkerCountsWhereverTheOwnerListsIt)
{
    // Past the targets whose names are looked up: the marker is found by its atom.
    QStringList arguments{"--target", "UTF8_STRING=hunter2"};
    for (int i = 0; i < 600; ++i) {
        arguments << "--target" << QStringLiteral("application/x-filler-%1=x").arg(i);
    }
    QTemporaryDir folder;
    FolderFiles files(folder.path());
    struct Readers final : PasteboardReaderFactory
    {
        std::unique_ptr<PasteboardReader> open(const ClipboardChange& change,
                                               steady_clock::time_point deadline) override
        {
            return X11SelectionReader::open(change, deadline);
        }
    } readers;
    for (const bool marked : {false, true}) {
        ClipOwner owner(marked ? arguments + QStringList{"--target", "org.nspasteboard.ConcealedType="} : arguments);
        ASSERT_TRUE(owner.isReady());
        const auto result =
            CaptureWorker::capture(readers, CaptureJob{currentChange(), {}, &files}, steady_clock::now() + 2s);
        EXPECT_EQ(result.item.has_value(), !marked);
    }
}
