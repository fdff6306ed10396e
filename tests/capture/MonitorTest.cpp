// The clipboard monitor on the fake desktop: which changes become history items, when the clipboard
// is looked at, and how reading on the capture worker keeps order and leaves nothing behind.
#include "capture/CaptureFileTracker.h"
#include "capture/ClipboardMonitor.h"
#include "platform/PasteboardTypes.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QSemaphore>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

namespace {
PasteboardContent textContent(const QString& text, const QStringList& markers = {})
{
    PasteboardContent content;
    content.data.append({PasteboardType::string, text.toUtf8()});
    for (const QString& marker : markers) {
        content.data.append({marker, QByteArray("secret")});
    }
    return content;
}

class FolderFiles final : public CaptureFiles
{
public:
    explicit FolderFiles(const QString& folder) : m_folder(folder) { QDir().mkpath(folder); }
    QString saveImage(const QByteArray& data, const QString& ext) override { return save(data, ext); }
    QString saveAsset(const QByteArray& data, const QString& ext) override { return save(data, ext); }
    QStringList files() const { return QDir(m_folder).entryList(QDir::Files); }
    // How many more writes succeed before the disk is full (-1: no end). A failed write still
    // returns its path, as the store's does.
    int writesLeft = -1;

private:
    QString save(const QByteArray& data, const QString& ext)
    {
        const QString path =
            m_folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('.') + ext;
        if (writesLeft != 0) {
            writeFileBytes(path, data);
            writesLeft -= writesLeft > 0 ? 1 : 0;
        }
        return path;
    }
    QString m_folder;
};

class MonitorTest : public ::testing::Test
{
protected:
    void SetUp() override { monitor = makeMonitor(CaptureWorker::Mode::Inline); }

    std::unique_ptr<ClipboardMonitor> makeMonitor(CaptureWorker::Mode mode, PasteboardReaderFactory* readers = nullptr)
    {
        ClipboardMonitor::Hooks hooks;
        hooks.pauseCapture = [this] { return paused; };
        hooks.ignoredBundleIDs = [this] { return ignored; };
        hooks.files = [this]() -> CaptureFiles& { return files; };
        hooks.add = [this](const ClipboardItem& item) { added.append(item); };
        return std::make_unique<ClipboardMonitor>(clipboard(), readers ? *readers : clipboard(), apps(), tap(),
                                                  scheduler(), hooks, mode);
    }

    FakeClipboard& clipboard() { return env.platform.clipboard; }
    FakeApplications& apps() { return env.platform.applications; }
    FakeKeyTap& tap() { return env.platform.keyTap; }
    ManualScheduler& scheduler() { return env.platform.scheduler; }

    // Another program copies; the owner-change notification makes the monitor look at once.
    void copy(const QString& text, const QStringList& markers = {})
    {
        clipboard().setContent(textContent(text, markers));
        scheduler().runDue();
    }

    QStringList addedTexts() const
    {
        QStringList texts;
        for (const ClipboardItem& item : added) {
            texts.append(item.text.value_or(QString()));
        }
        return texts;
    }

    FakeEnvironment env;
    FolderFiles files{env.path() + QStringLiteral("/files")};
    bool paused = false;
    QSet<QString> ignored;
    QList<ClipboardItem> added;
    std::unique_ptr<ClipboardMonitor> monitor;
};
} // namespace

TEST_F(MonitorTest, ContentPresentAtCreationIsNeverCapturedButTheNextCopyIs)
{
    clipboard().setContent(textContent(QStringLiteral("already there")));
    monitor = makeMonitor(CaptureWorker::Mode::Inline);
    monitor->start();
    scheduler().advance(1000);
    EXPECT_TRUE(added.isEmpty());

    copy(QStringLiteral("first copy"));
    EXPECT_EQ(addedTexts(), QStringList{QStringLiteral("first copy")});
    // The timer finds no further change: the same change is never handled twice.
    scheduler().advance(1000);
    EXPECT_EQ(added.size(), 1);
}

TEST_F(MonitorTest, SuppressNextSkipsExactlyTheNextChange)
{
    monitor->start();
    monitor->suppressNext();
    monitor->suppressNext(); // not a counter
    copy(QStringLiteral("our own paste-back"));
    copy(QStringLiteral("user copy"));
    EXPECT_EQ(addedTexts(), QStringList{QStringLiteral("user copy")});

    // With no write of our own after it, the flag waits for the next change, whoever makes it.
    monitor->suppressNext();
    scheduler().advance(900);
    copy(QStringLiteral("skipped"));
    copy(QStringLiteral("kept"));
    EXPECT_EQ(addedTexts(), (QStringList{QStringLiteral("user copy"), QStringLiteral("kept")}));
}

TEST_F(MonitorTest, CopiesMadeWhilePausedStaySkippedAfterResuming)
{
    monitor->start();
    paused = true;
    copy(QStringLiteral("while paused"));
    paused = false;
    scheduler().advance(1000);
    EXPECT_TRUE(added.isEmpty());
    copy(QStringLiteral("after resuming"));
    EXPECT_EQ(addedTexts(), QStringList{QStringLiteral("after resuming")});
}

TEST_F(MonitorTest, ConcealedMarkersForbidRecordingWhateverElseIsOffered)
{
    monitor->start();
    for (const QString& marker :
         {QStringLiteral("org.nspasteboard.ConcealedType"), QStringLiteral("org.nspasteboard.TransientType"),
          QStringLiteral("org.nspasteboard.AutoGeneratedType"), QStringLiteral("Pasteboard generator type"),
          QStringLiteral("com.agilebits.onepassword"), QStringLiteral("x-kde-passwordManagerHint")}) {
        copy(QStringLiteral("hunter2"), {marker});
        EXPECT_TRUE(added.isEmpty()) << marker.toStdString();
    }
    copy(QStringLiteral("not secret"), {QStringLiteral("org.nspasteboard.concealedtype")});
    EXPECT_EQ(addedTexts(), QStringList{QStringLiteral("not secret")});
}

TEST_F(MonitorTest, TheFrontmostApplicationIsTheSourceAndIgnoredOnesAreSkipped)
{
    monitor->start();
    apps().frontmost = RunningApplication{QStringLiteral("org.example.Editor"), QStringLiteral("Editor"), 7, 70};
    copy(QStringLiteral("from the editor"));
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0].sourceBundleID, QStringLiteral("org.example.Editor"));
    EXPECT_EQ(added[0].sourceAppName, QStringLiteral("Editor"));

    ignored = {QStringLiteral("org.example.editor")}; // compared exactly, case included
    copy(QStringLiteral("still recorded"));
    ignored = {QStringLiteral("org.example.Editor")};
    copy(QStringLiteral("ignored"));
    EXPECT_EQ(added.size(), 2);

    // No identifier: the gate passes, and the item has no source identifier.
    apps().frontmost = RunningApplication{std::nullopt, QStringLiteral("xterm"), 8, std::nullopt};
    copy(QStringLiteral("from a nameless window"));
    ASSERT_EQ(added.size(), 3);
    EXPECT_FALSE(added[2].sourceBundleID);
    EXPECT_EQ(added[2].sourceAppName, QStringLiteral("xterm"));

    // No window in front at all.
    apps().frontmost.reset();
    copy(QStringLiteral("from nowhere"));
    ASSERT_EQ(added.size(), 4);
    EXPECT_FALSE(added[3].sourceBundleID);
    EXPECT_FALSE(added[3].sourceAppName);

    // An ignored application that owns the clipboard from the background is skipped too.
    apps().owner = RunningApplication{QStringLiteral("org.example.Editor"), std::nullopt, 9, 90};
    copy(QStringLiteral("written by the ignored editor"));
    EXPECT_EQ(added.size(), 4);
}

TEST_F(MonitorTest, CopyKeystrokePollsThirtyMillisecondsLaterAndTheTimerCatchesTheRest)
{
    // Without owner-change notifications, only the timer and the keystroke tap find changes.
    clipboard().blockSignals(true);
    monitor->start();
    EXPECT_TRUE(tap().isInstalled());

    scheduler().advance(100);
    clipboard().setContent(textContent(QStringLiteral("ctrl+c")));
    tap().pressCopy();
    scheduler().advance(29);
    EXPECT_TRUE(added.isEmpty());
    scheduler().advance(1);
    EXPECT_EQ(added.size(), 1);

    // A copy made from a menu presses no keys: the next tick (at 300 ms) finds it.
    clipboard().setContent(textContent(QStringLiteral("menu copy")));
    scheduler().advance(169);
    EXPECT_EQ(added.size(), 1);
    scheduler().advance(1);
    EXPECT_EQ(added.size(), 2);

    // Restarting keeps the tap; stopping removes both.
    monitor->start();
    EXPECT_EQ(tap().installCalls, 1);
    monitor->stop();
    EXPECT_FALSE(tap().isInstalled());
    clipboard().setContent(textContent(QStringLiteral("after stop")));
    scheduler().advance(2000);
    EXPECT_EQ(added.size(), 2);
    EXPECT_EQ(scheduler().pendingCount(), 0u);
}

TEST_F(MonitorTest, RefusedTapLeavesTheTimer)
{
    tap().refuse = true;
    clipboard().blockSignals(true);
    monitor->start();
    EXPECT_FALSE(tap().isInstalled());
    clipboard().setContent(textContent(QStringLiteral("found by the timer")));
    scheduler().advance(300);
    EXPECT_EQ(added.size(), 1);
}

namespace {
// Answers like the fake clipboard until `reads` reads are spent; from then on the change has failed,
// as when its deadline passes. With `failsAnyway` every read answers but the change fails at the end.
class ExpiringReader final : public PasteboardReader
{
public:
    ExpiringReader(std::unique_ptr<PasteboardReader> inner, int reads, bool failsAnyway)
        : m_inner(std::move(inner)), m_left(reads), m_failsAnyway(failsAnyway)
    {}
    std::optional<QStringList> types() override { return spend() ? m_inner->types() : std::nullopt; }
    std::optional<QByteArray> data(const QString& type) override
    {
        return spend() ? m_inner->data(type) : std::nullopt;
    }
    std::optional<QList<QUrl>> urls() override { return spend() ? m_inner->urls() : std::nullopt; }
    std::optional<QList<QColor>> colors() override { return spend() ? m_inner->colors() : std::nullopt; }
    bool hasFailed() const override { return m_failsAnyway || m_left < 0; }

private:
    bool spend() { return --m_left >= 0; }
    std::unique_ptr<PasteboardReader> m_inner;
    int m_left;
    bool m_failsAnyway;
};

class ExpiringReaders final : public PasteboardReaderFactory
{
public:
    ExpiringReaders(FakeClipboard& clipboard, int reads, bool failsAnyway = false)
        : m_clipboard(clipboard), m_reads(reads), m_failsAnyway(failsAnyway)
    {}
    std::unique_ptr<PasteboardReader> open(std::chrono::steady_clock::time_point deadline) override
    {
        return std::make_unique<ExpiringReader>(m_clipboard.open(deadline), m_reads, m_failsAnyway);
    }

private:
    FakeClipboard& m_clipboard;
    int m_reads;
    bool m_failsAnyway;
};

PasteboardContent imageWithCaption()
{
    QImage image(200, 100, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    PasteboardContent content;
    content.data = {{PasteboardType::png, png}, {PasteboardType::string, QByteArray("caption")}};
    return content;
}
} // namespace

TEST_F(MonitorTest, ChangesWhoseReadsFailYieldNothingAndLeaveNoFiles)
{
    // The deadline passes after 0, 1, 2... reads: until the reads suffice, nothing is recorded.
    int readsNeeded = -1;
    for (int reads = 0; reads <= 20 && readsNeeded < 0; ++reads) {
        ExpiringReaders readers(clipboard(), reads);
        auto expiring = makeMonitor(CaptureWorker::Mode::Inline, &readers);
        expiring->start();
        clipboard().setContent(imageWithCaption());
        scheduler().runDue();
        expiring->stop();
        if (added.isEmpty()) {
            EXPECT_TRUE(files.files().isEmpty()) << "after " << reads << " reads";
        } else {
            readsNeeded = reads;
        }
    }
    ASSERT_GT(readsNeeded, 0);
    ASSERT_EQ(added.size(), 1);
    for (const QString& file : files.files()) {
        const QString path = env.path() + QStringLiteral("/files/") + file;
        EXPECT_TRUE(path == added[0].imagePath || path == added[0].thumbnailPath || path == added[0].assetPath);
    }

    // Every read answered but the change failed all the same: whatever was stored goes.
    added.clear();
    ExpiringReaders failing(clipboard(), 1000, true);
    auto monitorOfFailures = makeMonitor(CaptureWorker::Mode::Inline, &failing);
    monitorOfFailures->start();
    const QStringList before = files.files();
    clipboard().setContent(imageWithCaption());
    scheduler().runDue();
    EXPECT_TRUE(added.isEmpty());
    EXPECT_EQ(files.files(), before);
}

TEST_F(MonitorTest, AChangeWhoseFilesCannotBeWrittenYieldsNothingAndLeavesNoFiles)
{
    monitor->start();
    // Room for the picture, not for its thumbnail; then for nothing at all.
    for (const int room : {1, 0}) {
        files.writesLeft = room;
        clipboard().setContent(imageWithCaption());
        scheduler().runDue();
        EXPECT_TRUE(added.isEmpty()) << "with room for " << room << " files";
        EXPECT_TRUE(files.files().isEmpty()) << "with room for " << room << " files";
    }
    // Texts need no file.
    copy(QStringLiteral("a text"));
    EXPECT_EQ(addedTexts(), QStringList{QStringLiteral("a text")});

    files.writesLeft = -1;
    clipboard().setContent(imageWithCaption());
    scheduler().runDue();
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added[1].kind, ClipboardKind::image);
    EXPECT_EQ(files.files().size(), 2);
}

TEST_F(MonitorTest, TextsLongerThanTheHistoryKeepsAreRefusedWithALogLine)
{
    monitor->start();
    const QString longest(PasteboardClassifier::maxTextLength, QLatin1Char('a'));
    copy(longest + QLatin1Char('b'));
    EXPECT_TRUE(added.isEmpty());
    ASSERT_EQ(env.platform.log.lines.size(), 1);
    EXPECT_EQ(env.platform.log.lines.first(),
              QStringLiteral("Stashwell: a copied text of 1048577 characters was not recorded: the history keeps texts "
                             "of up to 1048576 characters"));

    copy(longest);
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added.first().text->size(), PasteboardClassifier::maxTextLength);
    EXPECT_EQ(env.platform.log.lines.size(), 1);

    // A document whose own text is too long goes the same way, and leaves no file.
    PasteboardContent rtf;
    rtf.data = {{PasteboardType::rtf, "{\\rtf1\\ansi " + longest.toLatin1() + "b}"}};
    clipboard().setContent(rtf);
    scheduler().runDue();
    EXPECT_EQ(added.size(), 1);
    EXPECT_EQ(env.platform.log.lines.size(), 2);
    EXPECT_TRUE(files.files().isEmpty());

    // A picture holds no text: a long one offered beside it does not matter.
    PasteboardContent picture = imageWithCaption();
    picture.data[1].second = longest.toUtf8() + "b";
    clipboard().setContent(picture);
    scheduler().runDue();
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added[1].kind, ClipboardKind::image);
    EXPECT_EQ(env.platform.log.lines.size(), 2);
}

TEST(CaptureFileTracker, RemovesWhatAnAbandonedChangeStoredAndKeepsWhatTheItemNames)
{
    QTemporaryDir dir;
    FolderFiles folder(dir.path());
    CaptureFileTracker tracker(folder);
    ClipboardItem item;
    item.imagePath = tracker.saveImage("png bytes", QStringLiteral("png"));
    item.thumbnailPath = tracker.saveImage("thumbnail", QStringLiteral("png"));
    tracker.saveAsset("stray", QStringLiteral("pdf"));
    tracker.removeAllBut(item);
    EXPECT_EQ(folder.files().size(), 2);

    CaptureFileTracker abandoned(folder);
    abandoned.saveAsset("pdf", QStringLiteral("pdf"));
    abandoned.saveImage("page", QStringLiteral("png"));
    abandoned.removeAll();
    EXPECT_EQ(folder.files().size(), 2);
}

namespace {
// Holds the first change's reading until the test lets it go, like an owner slow to answer.
class HeldReaders final : public PasteboardReaderFactory
{
public:
    explicit HeldReaders(FakeClipboard& clipboard) : m_clipboard(clipboard) {}
    std::unique_ptr<PasteboardReader> open(std::chrono::steady_clock::time_point deadline) override
    {
        auto reader = m_clipboard.open(deadline);
        threads.append(QThread::currentThread());
        if (threads.size() == 1) {
            m_release.acquire();
        }
        return reader;
    }
    void release() { m_release.release(); }
    QList<QThread*> threads;

private:
    FakeClipboard& m_clipboard;
    QSemaphore m_release;
};
} // namespace

TEST_F(MonitorTest, SlowChangesAreReadOffTheMainThreadInOrderKeepingOnlyTheNewestWaiting)
{
    HeldReaders readers(clipboard());
    monitor = makeMonitor(CaptureWorker::Mode::Thread, &readers);
    monitor->start();
    copy(QStringLiteral("first"));
    ASSERT_TRUE(waitUntil([&] { return readers.threads.size() == 1; }));
    // The main thread goes on while the first change is being read.
    copy(QStringLiteral("second"));
    copy(QStringLiteral("third"));
    EXPECT_TRUE(added.isEmpty());

    readers.release();
    ASSERT_TRUE(waitUntil([&] { return added.size() == 2; }));
    EXPECT_EQ(addedTexts(), (QStringList{QStringLiteral("first"), QStringLiteral("third")}));
    EXPECT_NE(readers.threads.value(0), QThread::currentThread());
    EXPECT_EQ(readers.threads.value(0), readers.threads.value(1));
}
