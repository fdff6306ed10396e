// The store: order of the history, the cap, the files it owns, loading and the delayed save.
#include "history/ClipboardStore.h"

#include "history/HistoryFile.h"
#include "support/ItemPrinter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
bool exists(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

QStringList texts(const QList<ClipboardItem>& items)
{
    QStringList list;
    for (const ClipboardItem& item : items) {
        list.append(item.text.value_or(QStringLiteral("?")) + (item.isPinned ? QStringLiteral("*") : QString()));
    }
    return list;
}

class ClipboardStoreTest : public ::testing::Test
{
protected:
    std::unique_ptr<ClipboardStore> makeStore()
    {
        return std::make_unique<ClipboardStore>(folder(), scheduler, [this] { return cap; });
    }

    QString folder() const { return env.historyFolder(); }
    QString historyFile() const { return folder() + QStringLiteral("/history.json"); }

    // An image entry whose image, thumbnail and asset files exist in the store's folders.
    static ClipboardItem image(ClipboardStore& store, const QString& name, bool sameThumbnail = false)
    {
        ClipboardItem item;
        item.kind = ClipboardKind::image;
        item.text = name;
        item.imagePath = store.saveImage(name.toUtf8());
        item.thumbnailPath = sameThumbnail ? item.imagePath : store.saveImage(name.toUtf8() + "-thumb");
        item.assetPath = store.saveAsset(name.toUtf8(), QStringLiteral("pdf"));
        item.contentHash = sha256Prefix(name.toUtf8());
        return item;
    }

    static bool filesExist(const ClipboardItem& item)
    {
        return exists(*item.imagePath) && exists(*item.thumbnailPath) && exists(*item.assetPath);
    }
    static bool filesGone(const ClipboardItem& item)
    {
        return !exists(*item.imagePath) && !exists(*item.thumbnailPath) && !exists(*item.assetPath);
    }

    void writeHistory(const QList<ClipboardItem>& items)
    {
        QDir().mkpath(folder());
        ASSERT_TRUE(writeFileBytes(historyFile(), HistoryFile::encode(items)));
    }

    std::optional<QList<ClipboardItem>> savedHistory() const
    {
        return HistoryFile::decode(readFileBytes(historyFile()));
    }

    // The store schedules nothing but its saves.
    bool savePending() const { return scheduler.pendingCount() > 0; }

    FakeEnvironment env;
    ManualScheduler& scheduler = env.platform.scheduler;
    std::int64_t cap = 200;
};
} // namespace

TEST_F(ClipboardStoreTest, SameContentTwiceInARowKeepsTheFirstEntryAndDoesNotSave)
{
    auto store = makeStore();
    store->add(textItem("A"));
    const ClipboardItem first = store->items().first();
    scheduler.advance(1000);
    ClipboardItem again = textItem("A");
    again.createdAt = first.createdAt.addSecs(60);
    store->add(again);
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_EQ(store->items().first(), first);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(ClipboardStoreTest, CopyingAgainMovesTheContentToTheTopAsANewEntry)
{
    auto store = makeStore();
    store->add(textItem("A"));
    const QUuid firstA = store->items().first().id;
    store->add(textItem("B"));
    ClipboardItem html = textItem("B");
    html.kind = ClipboardKind::html; // same text, other kind: not a duplicate
    store->add(html);
    store->add(textItem("A"));
    EXPECT_EQ(texts(store->items()), (QStringList{"A", "B", "B"}));
    EXPECT_NE(store->items().first().id, firstA);
    EXPECT_EQ(store->items()[1].kind, ClipboardKind::html);
    EXPECT_EQ(store->items()[2].kind, ClipboardKind::text);
}

TEST_F(ClipboardStoreTest, FilesOfRefusedAndReplacedDuplicatesGoAtOnce)
{
    auto store = makeStore();
    const ClipboardItem a = image(*store, "A");
    store->add(a);
    // The same picture copied again right away: refused, and the files its capture wrote go.
    const ClipboardItem refused = image(*store, "A");
    store->add(refused);
    EXPECT_TRUE(filesGone(refused));
    EXPECT_TRUE(filesExist(a));

    // Copied again later: the new entry replaces the old one, whose files go.
    store->add(image(*store, "B"));
    const ClipboardItem again = image(*store, "A");
    store->add(again);
    EXPECT_TRUE(filesGone(a));
    EXPECT_TRUE(filesExist(again));
    EXPECT_TRUE(filesExist(store->items()[1]));

    // A file that another entry still names stays (a history written by another tool may share one).
    ClipboardItem sharing = textItem("shares A's picture");
    sharing.imagePath = again.imagePath;
    store->add(sharing);
    store->add(image(*store, "A"));
    EXPECT_TRUE(exists(*again.imagePath));
    EXPECT_FALSE(exists(*again.assetPath));
    EXPECT_EQ(QDir(folder() + QStringLiteral("/images")).count() - 2, 5u); // A, B (2 each) and the shared one
}

TEST_F(ClipboardStoreTest, PinsMoveEntriesAndDuplicatesInheritThePin)
{
    auto store = makeStore();
    for (const char* name : {"X", "Y", "Z", "W"}) {
        store->add(textItem(name));
    }
    ASSERT_EQ(texts(store->items()), (QStringList{"W", "Z", "Y", "X"}));
    store->togglePin(store->items()[3]); // X
    store->togglePin(store->items()[3]); // Y
    EXPECT_EQ(texts(store->items()), (QStringList{"Y*", "X*", "W", "Z"}));

    // Copying a pinned entry's content again: a new pinned entry at the end of the pinned block.
    store->add(textItem("Y"));
    EXPECT_EQ(texts(store->items()), (QStringList{"X*", "Y*", "W", "Z"}));
    // A new entry goes directly below the pinned block.
    store->add(textItem("V"));
    EXPECT_EQ(texts(store->items()), (QStringList{"X*", "Y*", "V", "W", "Z"}));
    // Unpinning goes to the top of the unpinned part; pinning to index 0.
    store->togglePin(store->items()[0]);
    EXPECT_EQ(texts(store->items()), (QStringList{"Y*", "X", "V", "W", "Z"}));
    store->togglePin(store->items()[4]);
    EXPECT_EQ(texts(store->items()), (QStringList{"Z*", "Y*", "X", "V", "W"}));
    // With every other entry pinned, an unpinned entry goes to the end.
    store->clearAll();
    store->togglePin(store->items()[1]);
    EXPECT_EQ(texts(store->items()), (QStringList{"Z*", "Y"}));
}

TEST_F(ClipboardStoreTest, AddRemovesEveryLoadedDuplicateAndInheritsTheFirstOnesPin)
{
    ClipboardItem pinnedA = textItem("A");
    pinnedA.isPinned = true;
    writeHistory({pinnedA, textItem("B"), textItem("A"), textItem("C"), textItem("A")});
    auto store = makeStore();
    EXPECT_EQ(texts(store->items()), (QStringList{"A*", "B", "A", "C", "A"})); // loaded as they are
    store->add(textItem("A"));
    EXPECT_EQ(texts(store->items()), (QStringList{"A*", "B", "C"}));
    EXPECT_NE(store->items().first().id, pinnedA.id);
}

TEST_F(ClipboardStoreTest, CapKeepsPinnedEntriesAndDeletesFilesOfTrimmedOnes)
{
    cap = 3;
    auto store = makeStore();
    const ClipboardItem p1 = image(*store, "p1");
    const ClipboardItem p2 = image(*store, "p2");
    const ClipboardItem u1 = image(*store, "u1");
    const ClipboardItem u2 = image(*store, "u2");
    store->add(p1);
    store->add(p2);
    store->togglePin(store->items()[1]);
    store->togglePin(store->items()[1]);
    store->add(u1);
    EXPECT_EQ(texts(store->items()), (QStringList{"p2*", "p1*", "u1"}));
    store->add(u2);
    EXPECT_EQ(texts(store->items()), (QStringList{"p2*", "p1*", "u2"}));
    EXPECT_TRUE(filesGone(u1));
    EXPECT_TRUE(filesExist(u2) && filesExist(p1) && filesExist(p2));

    // As many pinned entries as the cap: a new unpinned entry is trimmed at once, with its files.
    cap = 2;
    store->applyMaxHistoryItems();
    EXPECT_EQ(texts(store->items()), (QStringList{"p2*", "p1*"}));
    EXPECT_TRUE(filesGone(u2));
    const ClipboardItem u3 = image(*store, "u3");
    store->add(u3);
    EXPECT_EQ(texts(store->items()), (QStringList{"p2*", "p1*"}));
    EXPECT_TRUE(filesGone(u3));

    // A cap below the pinned count never removes a pinned entry.
    cap = -1;
    store->add(textItem("t"));
    EXPECT_EQ(texts(store->items()), (QStringList{"p2*", "p1*"}));
    EXPECT_TRUE(filesExist(p1) && filesExist(p2));
}

TEST_F(ClipboardStoreTest, LoadedHistoryLongerThanTheCapIsKeptUntilTheNextChange)
{
    writeHistory({textItem("1"), textItem("2"), textItem("3"), textItem("4")});
    cap = 2;
    auto store = makeStore();
    EXPECT_EQ(store->items().size(), 4);
    scheduler.advance(1000);
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    cap = 10;
    store->applyMaxHistoryItems(); // nothing to trim: no save
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    cap = 2;
    store->applyMaxHistoryItems();
    EXPECT_EQ(texts(store->items()), (QStringList{"1", "2"}));
    EXPECT_TRUE(savePending());
}

TEST_F(ClipboardStoreTest, TrimmingALoadedListGathersItsPinnedEntriesOnTop)
{
    QList<ClipboardItem> loaded;
    {
        auto store = makeStore();
        for (const char* name : {"u1", "p1", "u2", "p2", "u3"}) {
            loaded.append(image(*store, QString::fromLatin1(name)));
            loaded.last().isPinned = name[0] == 'p';
        }
    }
    writeHistory(loaded);
    cap = 3;
    auto store = makeStore();
    EXPECT_EQ(texts(store->items()), (QStringList{"u1", "p1*", "u2", "p2*", "u3"}));
    store->applyMaxHistoryItems();
    EXPECT_EQ(texts(store->items()), (QStringList{"p1*", "p2*", "u1"}));
    EXPECT_TRUE(filesExist(loaded[0]) && filesExist(loaded[1]) && filesExist(loaded[3]));
    EXPECT_TRUE(filesGone(loaded[2]) && filesGone(loaded[4]));
}

TEST_F(ClipboardStoreTest, RemoveAndTogglePinIgnoreUnknownEntries)
{
    auto store = makeStore();
    store->add(textItem("A"));
    scheduler.advance(1000);
    const QList<ClipboardItem> before = store->items();
    ClipboardItem stranger = textItem("A"); // same content, other id
    store->remove(stranger);
    store->togglePin(stranger);
    EXPECT_EQ(store->items(), before);
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    // Only the id counts: a changed copy of an entry still removes it.
    ClipboardItem changed = before.first();
    changed.text = QStringLiteral("other");
    store->remove(changed);
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(savePending());
}

TEST_F(ClipboardStoreTest, RemoveDeletesTheEntrysFiles)
{
    auto store = makeStore();
    const ClipboardItem shared = image(*store, "shared", true);
    const ClipboardItem separate = image(*store, "separate");
    store->add(shared);
    store->add(separate);
    store->togglePin(store->items()[1]); // pinned entries are removed too, with their files
    store->remove(shared);
    store->remove(separate);
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(filesGone(shared));
    EXPECT_TRUE(filesGone(separate));
    EXPECT_TRUE(QDir(store->imagesFolder()).isEmpty());
    EXPECT_TRUE(QDir(store->assetsFolder()).isEmpty());
}

TEST_F(ClipboardStoreTest, ClearAllKeepsPinnedEntriesAndTheirFiles)
{
    auto store = makeStore();
    const ClipboardItem keep = image(*store, "keep");
    const ClipboardItem drop = image(*store, "drop", true);
    store->add(keep);
    store->add(drop);
    store->add(textItem("t"));
    store->togglePin(store->items()[2]);
    store->clearAll();
    EXPECT_EQ(texts(store->items()), (QStringList{"keep*"}));
    EXPECT_TRUE(filesExist(keep));
    EXPECT_TRUE(filesGone(drop));

    // Nothing to clear still saves.
    scheduler.advance(1000);
    store->clearAll();
    EXPECT_EQ(texts(store->items()), (QStringList{"keep*"}));
    EXPECT_TRUE(savePending());
}

TEST_F(ClipboardStoreTest, NeverDeletesFilesOutsideItsFolders)
{
    QTemporaryDir outside;
    const QString victim = outside.filePath(QStringLiteral("precious.txt"));
    const QString sibling = folder() + QStringLiteral("/history.json");
    ASSERT_TRUE(writeFileBytes(victim, "mine"));
    ClipboardItem hostile = textItem("hostile");
    hostile.imagePath = victim;
    hostile.thumbnailPath = folder() + QStringLiteral("/images/../history.json");
    hostile.assetPath = folder() + QStringLiteral("/assets/");
    writeHistory({hostile});

    auto store = makeStore();
    store->clearAll();
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(readFileBytes(victim), QByteArray("mine"));
    EXPECT_TRUE(exists(sibling));
    EXPECT_TRUE(QFileInfo(store->assetsFolder()).isDir());
}

TEST_F(ClipboardStoreTest, StartSweepsTheStoresOwnFilesThatNoEntryNames)
{
    QTemporaryDir outside;
    const QString theirs = outside.filePath(QStringLiteral("theirs.png"));
    ClipboardItem kept;
    ClipboardItem orphan;
    QString link;
    {
        auto store = makeStore();
        kept = image(*store, "kept");
        orphan = image(*store, "orphan"); // a replaced duplicate leaves its files like this
        writeHistory({kept});
        ::chmod(QFile::encodeName(*kept.imagePath).constData(), 0644);
        // Names the store never gives stay: hidden files, other names, folders.
        writeFileBytes(store->imagesFolder() + QStringLiteral("/.hidden"), "x");
        writeFileBytes(store->imagesFolder() + QStringLiteral("/notes.txt"), "x");
        QDir().mkpath(store->assetsFolder() + QStringLiteral("/00000000-0000-4000-8000-000000000000.rtfd"));
        // A link named as a stored file goes, not what it points to.
        writeFileBytes(theirs, "theirs");
        link = QFileInfo(store->saveImage("x")).filePath();
        QFile::remove(link);
        ASSERT_TRUE(QFile::link(theirs, link));
        // A save cut short by a kill leaves its temporary file.
        writeFileBytes(store->folder() + QStringLiteral("/history.json.a1B2c3"), "[");
    }
    auto store = makeStore();
    EXPECT_FALSE(exists(store->folder() + QStringLiteral("/history.json.a1B2c3")));
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_TRUE(filesExist(kept));
    EXPECT_EQ(fileMode(*kept.imagePath), 0600u);
    EXPECT_TRUE(filesGone(orphan));
    EXPECT_FALSE(exists(link));
    EXPECT_EQ(readFileBytes(theirs), QByteArray("theirs"));
    EXPECT_TRUE(exists(store->imagesFolder() + QStringLiteral("/.hidden")));
    EXPECT_TRUE(exists(store->imagesFolder() + QStringLiteral("/notes.txt")));
    EXPECT_TRUE(exists(store->assetsFolder() + QStringLiteral("/00000000-0000-4000-8000-000000000000.rtfd")));
}

TEST_F(ClipboardStoreTest, AFolderSpelledAnotherWayKeepsItsFilesAndEntriesPointIntoIt)
{
    // The same folder through a symbolic link (a home reached through one), moved from another place,
    // and spelled as it is but opened with a trailing slash.
    const QString link = env.path() + QStringLiteral("-link");
    ASSERT_TRUE(QFile::link(env.path(), link));
    const auto respell = [this](ClipboardItem item, const QString& prefix) {
        for (auto* path : {&item.imagePath, &item.thumbnailPath, &item.assetPath}) {
            path->emplace(prefix + path->value().mid(folder().size()));
        }
        return item;
    };
    QList<ClipboardItem> stored;
    {
        auto store = makeStore();
        stored = {image(*store, "as it is"), image(*store, "through a link", true), image(*store, "moved")};
    }
    ClipboardItem gone = textItem("its file is in neither place");
    gone.imagePath = QStringLiteral("/old/place/Stashwell/images/6F9619FF-8B86-D011-B42D-00C04FC964FF.png");
    writeHistory({stored[0], respell(stored[1], link + QStringLiteral("/Stashwell")),
                  respell(stored[2], QStringLiteral("/old/place/Stashwell")), gone});
    const QByteArray written = readFileBytes(historyFile());

    ClipboardStore store(folder() + QStringLiteral("/"), scheduler, [this] { return cap; });
    EXPECT_EQ(store.folder(), folder());
    ASSERT_EQ(store.items().size(), 4);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(filesExist(stored[i])) << i;
        EXPECT_EQ(store.items()[i].imagePath, stored[i].imagePath) << i;
        EXPECT_EQ(store.items()[i].thumbnailPath, stored[i].thumbnailPath) << i;
        EXPECT_EQ(store.items()[i].assetPath, stored[i].assetPath) << i;
    }
    EXPECT_EQ(store.items()[3].imagePath, gone.imagePath);
    EXPECT_EQ(readFileBytes(historyFile()), written) << "loading alone writes nothing";
    EXPECT_EQ(env.platform.log.lines.size(), 1);

    // The entries' files are the store's again: they go with their entries.
    store.remove(store.items()[2]);
    EXPECT_TRUE(filesGone(stored[2]));
    store.flush();
    EXPECT_EQ(savedHistory()->at(1).imagePath, stored[1].imagePath);
}

TEST_F(ClipboardStoreTest, UnreadableHistoryIsKeptAsideAndNothingIsSwept)
{
    QString imagePath;
    {
        auto store = makeStore();
        imagePath = image(*store, "of the unreadable history").imagePath.value();
    }
    const QByteArray garbage = R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","kind":"text"}])";
    ASSERT_TRUE(writeFileBytes(historyFile(), garbage));

    auto store = makeStore();
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(exists(imagePath));
    EXPECT_FALSE(exists(historyFile()));
    const QStringList aside = QDir(folder()).entryList({QStringLiteral("history.json.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^history\\.json\\.unreadable-\\d{8}T\\d{6}Z$"))
                    .match(aside.first())
                    .hasMatch())
        << aside.first().toStdString();
    const QString asidePath = folder() + QLatin1Char('/') + aside.first();
    EXPECT_EQ(readFileBytes(asidePath), garbage);
    EXPECT_EQ(fileMode(asidePath), 0600u);
    ASSERT_EQ(env.platform.log.lines.size(), 1);
    EXPECT_TRUE(env.platform.log.lines.first().startsWith(QStringLiteral("Stashwell: ")));

    store->flush();
    EXPECT_EQ(readFileBytes(historyFile()), QByteArray("[]"));
    EXPECT_EQ(readFileBytes(asidePath), garbage);

    // One copy later the program starts again: the history loads, and while the old one is kept
    // aside its pictures are not taken for orphans.
    store->add(textItem("after"));
    store->flush();
    store = makeStore();
    EXPECT_EQ(texts(store->items()), (QStringList{"after"}));
    EXPECT_TRUE(exists(imagePath));
    EXPECT_TRUE(env.platform.log.lines.last().contains(asidePath)) << env.platform.log.lines.last().toStdString();
}

TEST_F(ClipboardStoreTest, AnImagesOrAssetsFolderThatIsALinkIsLeftAlone)
{
    QTemporaryDir outside;
    const QString theirs = outside.filePath(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF.png"));
    writeFileBytes(theirs, "theirs");
    ::chmod(QFile::encodeName(outside.path()).constData(), 0755);
    ::chmod(QFile::encodeName(theirs).constData(), 0644);
    QDir().mkpath(folder());
    ASSERT_TRUE(QFile::link(outside.path(), folder() + QStringLiteral("/images")));

    auto store = makeStore();
    EXPECT_EQ(fileMode(outside.path()), 0755u);
    EXPECT_EQ(fileMode(theirs), 0644u);
    ASSERT_EQ(env.platform.log.lines.size(), 1);
    EXPECT_TRUE(env.platform.log.lines.first().contains(store->imagesFolder()));
    // Nothing is written there, nor deleted from there with an entry that names it.
    EXPECT_FALSE(exists(store->saveImage("png")));
    ClipboardItem naming = textItem("names their file");
    naming.imagePath = store->imagesFolder() + QLatin1Char('/') + QFileInfo(theirs).fileName();
    store->add(naming);
    store->clearAll();
    EXPECT_EQ(QDir(outside.path()).entryList(QDir::Files), (QStringList{QFileInfo(theirs).fileName()}));
    EXPECT_EQ(readFileBytes(theirs), QByteArray("theirs"));
    // The other folder is used as ever.
    EXPECT_TRUE(exists(store->saveAsset("pdf", QStringLiteral("pdf"))));
}

TEST_F(ClipboardStoreTest, RepeatedIdsInTheFileAreRenewedAndTheFirstKeepsIt)
{
    ClipboardItem a = textItem("a");
    ClipboardItem b = textItem("b");
    ClipboardItem c = textItem("c");
    ClipboardItem d = textItem("d");
    b.id = a.id;
    d.id = a.id;
    writeHistory({a, b, c, d});

    auto store = makeStore();
    ASSERT_EQ(texts(store->items()), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(store->items()[0].id, a.id);
    EXPECT_EQ(store->items()[2].id, c.id);
    EXPECT_EQ((QSet<QUuid>{a.id, c.id, store->items()[1].id, store->items()[3].id}).size(), 4);
    EXPECT_EQ(env.platform.log.lines.size(), 1);
    // The entry shown as "b" is the one removed or pinned.
    store->remove(store->items()[1]);
    store->togglePin(store->items()[2]);
    EXPECT_EQ(texts(store->items()), (QStringList{"d*", "a", "c"}));
}

TEST_F(ClipboardStoreTest, ChangesInABurstAreSavedOnce)
{
    auto store = makeStore();
    store->add(textItem("1"));
    scheduler.advance(100);
    store->add(textItem("2"));
    scheduler.advance(100);
    store->add(textItem("3"));
    scheduler.advance(399);
    EXPECT_FALSE(exists(historyFile()));
    scheduler.advance(1);
    ASSERT_TRUE(savedHistory());
    EXPECT_EQ(texts(*savedHistory()), (QStringList{"3", "2", "1"}));
    // No second write follows.
    QFile::remove(historyFile());
    scheduler.advance(5000);
    EXPECT_FALSE(exists(historyFile()));
}

TEST_F(ClipboardStoreTest, ABurstThatGoesOnIsStillWrittenEveryTwoSaveDelays)
{
    auto store = makeStore();
    const auto savedTexts = [this] { return savedHistory() ? texts(*savedHistory()) : QStringList{"none"}; };
    // A change every 0.3 s never leaves the quiet 0.4 s the delayed save waits for.
    store->add(textItem("1"));
    scheduler.advance(300);
    store->add(textItem("2"));
    scheduler.advance(300);
    store->add(textItem("3"));
    scheduler.advance(199);
    EXPECT_FALSE(exists(historyFile()));
    scheduler.advance(1);
    EXPECT_EQ(savedTexts(), (QStringList{"3", "2", "1"}));

    // The next wait starts with the next change, not with the write.
    scheduler.advance(100);
    store->add(textItem("4"));
    scheduler.advance(300);
    store->add(textItem("5"));
    scheduler.advance(300);
    store->add(textItem("6"));
    scheduler.advance(199);
    EXPECT_EQ(savedTexts(), (QStringList{"3", "2", "1"}));
    scheduler.advance(1);
    EXPECT_EQ(savedTexts(), (QStringList{"6", "5", "4", "3", "2", "1"}));

    // When the burst ends, nothing is left waiting.
    QFile::remove(historyFile());
    scheduler.advance(5000);
    EXPECT_FALSE(exists(historyFile()));
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(ClipboardStoreTest, FlushWritesAtOnceAndCancelsThePendingSave)
{
    auto store = makeStore();
    store->add(textItem("1"));
    scheduler.advance(200);
    store->add(textItem("2"));
    store->flush();
    ASSERT_TRUE(savedHistory());
    EXPECT_EQ(texts(*savedHistory()), (QStringList{"2", "1"}));
    QFile::remove(historyFile());
    scheduler.advance(5000);
    EXPECT_FALSE(exists(historyFile()));
    EXPECT_EQ(scheduler.pendingCount(), 0u);

    // A store that goes away with a save pending does not write afterwards.
    store->add(textItem("3"));
    store.reset();
    scheduler.advance(5000);
    EXPECT_FALSE(exists(historyFile()));
}

TEST_F(ClipboardStoreTest, HistoryFilesArePrivateEvenInALooserExistingFolder)
{
    QDir().mkpath(folder() + QStringLiteral("/images"));
    ::chmod(QFile::encodeName(folder()).constData(), 0755);
    ::chmod(QFile::encodeName(folder() + QStringLiteral("/images")).constData(), 0777);
    ClipboardItem loose = textItem("loose");
    loose.imagePath = folder() + QStringLiteral("/images/LOOSE.png");
    writeHistory({loose});
    writeFileBytes(*loose.imagePath, "png");
    ::chmod(QFile::encodeName(historyFile()).constData(), 0644);
    ::chmod(QFile::encodeName(*loose.imagePath).constData(), 0644);

    auto store = makeStore();
    EXPECT_EQ(fileMode(folder()), 0700u);
    EXPECT_EQ(fileMode(store->imagesFolder()), 0700u);
    EXPECT_EQ(fileMode(store->assetsFolder()), 0700u);
    EXPECT_EQ(fileMode(historyFile()), 0600u);
    EXPECT_EQ(fileMode(*loose.imagePath), 0600u);

    const mode_t oldMask = ::umask(0);
    store->add(textItem("new"));
    store->flush();
    const QString imagePath = store->saveImage("bytes");
    ::umask(oldMask);
    EXPECT_EQ(fileMode(historyFile()), 0600u);
    EXPECT_EQ(fileMode(imagePath), 0600u);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files).size(), 1) << "temporary files left behind";
}

TEST_F(ClipboardStoreTest, SavedFilesAreNamedByAnUpperCaseUuid)
{
    auto store = makeStore();
    EXPECT_EQ(fileMode(store->imagesFolder()), 0700u) << "a folder made anew is private too";
    const QString image = store->saveImage("png bytes");
    const QString tiff = store->saveImage("tiff bytes", QStringLiteral("tiff"));
    const QString asset = store->saveAsset("rtf bytes", QStringLiteral("rtf"));
    const QRegularExpression name(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\."));
    EXPECT_EQ(QFileInfo(image).path(), store->imagesFolder());
    EXPECT_TRUE(name.match(QFileInfo(image).fileName()).hasMatch());
    EXPECT_TRUE(image.endsWith(QStringLiteral(".png")));
    EXPECT_TRUE(tiff.endsWith(QStringLiteral(".tiff")));
    EXPECT_EQ(QFileInfo(asset).path(), store->assetsFolder());
    EXPECT_TRUE(asset.endsWith(QStringLiteral(".rtf")));
    EXPECT_EQ(readFileBytes(image), QByteArray("png bytes"));
    EXPECT_EQ(readFileBytes(asset), QByteArray("rtf bytes"));
    EXPECT_NE(image, store->saveImage("png bytes"));

    // A failed write still answers a path, and leaves no file.
    QDir(store->assetsFolder()).removeRecursively();
    const QString lost = store->saveAsset("pdf", QStringLiteral("pdf"));
    EXPECT_TRUE(lost.startsWith(store->assetsFolder() + QLatin1Char('/')));
    EXPECT_FALSE(exists(lost));
}

TEST_F(ClipboardStoreTest, FailedSaveKeepsTheOldFileAndIsLoggedOnce)
{
    auto store = makeStore();
    store->add(textItem("old"));
    store->flush();
    const QByteArray old = readFileBytes(historyFile());
    // Something that cannot be replaced by a file stands where the history goes.
    QFile::rename(historyFile(), folder() + QStringLiteral("/kept"));
    QDir().mkpath(historyFile() + QStringLiteral("/occupied"));
    store->add(textItem("new"));
    store->flush();
    store->add(textItem("newer"));
    store->flush();
    EXPECT_EQ(env.platform.log.lines.size(), 1);
    EXPECT_EQ(readFileBytes(folder() + QStringLiteral("/kept")), old);
    EXPECT_EQ(QDir(folder()).entryList({QStringLiteral("history.json.*")}, QDir::Files).size(), 0);

    // Once saving works again, the next failure is reported again.
    QDir(historyFile()).removeRecursively();
    store->flush();
    EXPECT_EQ(texts(*savedHistory()), (QStringList{"newer", "new", "old"}));
}
