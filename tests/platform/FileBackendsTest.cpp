// The file-based desktop services: the defaults file, the autostart entry and private files.
#include "platform/FileCopy.h"
#include "platform/PrivateFiles.h"
#include "platform/TimerScheduler.h"
#include "platform/xdg/AutostartLoginItem.h"
#include "platform/xdg/JsonFileDefaultsStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
QString execLine(const QString& entryPath)
{
    for (const QByteArray& line : readFileBytes(entryPath).split('\n')) {
        if (line.startsWith("Exec=")) {
            return QString::fromUtf8(line.mid(5));
        }
    }
    return {};
}
} // namespace

TEST(JsonFileDefaultsStore, MissingOrBrokenFilesReadAsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("defaults.json"));
    EXPECT_FALSE(JsonFileDefaultsStore(path).object(QStringLiteral("stashwell.clearOnQuit")));
    for (const QByteArray& content : {QByteArray("not json"), QByteArray("[true]"), QByteArray("\"x\""),
                                      QByteArray("{\"stashwell.clearOnQuit\": true"), QByteArray()}) {
        writeFileBytes(path, content);
        EXPECT_FALSE(JsonFileDefaultsStore(path).object(QStringLiteral("stashwell.clearOnQuit")))
            << content.constData();
    }
    writeFileBytes(path, R"({"stashwell.clearOnQuit": true, "other": null})");
    const JsonFileDefaultsStore store(path);
    EXPECT_EQ(store.object(QStringLiteral("stashwell.clearOnQuit")), QJsonValue(true));
    EXPECT_EQ(store.object(QStringLiteral("other")), QJsonValue(QJsonValue::Null));
}

TEST(JsonFileDefaultsStore, EveryChangeReplacesThePrivateFileWhole)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("config/Stashwell"));
    const QString path = folder + QStringLiteral("/defaults.json");
    QDir().mkpath(folder);
    writeFileBytes(path, "garbage");
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    ::chmod(QFile::encodeName(path).constData(), 0644);

    JsonFileDefaultsStore store(path);
    EXPECT_EQ(readFileBytes(path), QByteArray("garbage")); // reading never writes
    store.setObject(QStringLiteral("stashwell.maxHistoryItems"), 300);
    store.setObject(QStringLiteral("stashwell.ignoredBundleIDs"), QJsonArray{"a", "b"});
    store.setObject(QStringLiteral("stashwell.popupHeightFraction"), 0.25);

    const QJsonObject written = QJsonDocument::fromJson(readFileBytes(path)).object();
    EXPECT_EQ(written.size(), 3);
    EXPECT_EQ(written["stashwell.maxHistoryItems"].toInteger(-1), 300);
    EXPECT_EQ(written["stashwell.ignoredBundleIDs"], QJsonValue(QJsonArray{"a", "b"}));
    EXPECT_EQ(fileMode(path), 0600u);
    EXPECT_EQ(fileMode(folder), 0700u);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"defaults.json"});
    EXPECT_EQ(JsonFileDefaultsStore(path).object(QStringLiteral("stashwell.popupHeightFraction")), QJsonValue(0.25));

    // A folder that cannot be made: the write goes unnoticed, the value stays in memory.
    JsonFileDefaultsStore blocked(path + QStringLiteral("/inside-a-file.json"));
    blocked.setObject(QStringLiteral("k"), true);
    EXPECT_EQ(blocked.object(QStringLiteral("k")), QJsonValue(true));
}

TEST(AutostartLoginItem, RegisterWritesAnEnabledEntryAndUnregisterRemovesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("autostart/stashwell.desktop"));
    AutostartLoginItem item(path, QStringLiteral("/usr/bin/stashwell"));
    EXPECT_EQ(item.status(), LoginItem::Status::NotRegistered);

    QString error;
    ASSERT_TRUE(item.registerItem(&error)) << error.toStdString();
    EXPECT_EQ(item.status(), LoginItem::Status::Enabled);
    const QByteArray entry = readFileBytes(path);
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    EXPECT_EQ(execLine(path), QStringLiteral("\"/usr/bin/stashwell\""));

    ASSERT_TRUE(item.unregisterItem(&error));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(item.status(), LoginItem::Status::NotRegistered);
    EXPECT_TRUE(item.unregisterItem(&error)); // nothing to remove is no failure
}

TEST(AutostartLoginItem, HiddenEntriesAreNotEnabled)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stashwell.desktop"));
    AutostartLoginItem item(path, QStringLiteral("/usr/bin/stashwell"));
    const std::pair<const char*, LoginItem::Status> cases[] = {
        {"[Desktop Entry]\nExec=stashwell\nHidden=true\n", LoginItem::Status::NotRegistered},
        {"[Desktop Entry]\nHidden = true\n", LoginItem::Status::NotRegistered},
        {"[Desktop Entry]\nHidden=false\n", LoginItem::Status::Enabled},
        {"[Desktop Entry]\n#Hidden=true\n", LoginItem::Status::Enabled},
        {"[Desktop Entry]\nNoHidden=true\n", LoginItem::Status::Enabled},
        {"[Desktop Entry]\nExec=x\n[Desktop Action hide]\nHidden=true\n", LoginItem::Status::Enabled},
        {"", LoginItem::Status::Enabled},
    };
    for (const auto& [content, status] : cases) {
        writeFileBytes(path, content);
        EXPECT_EQ(item.status(), status) << content;
    }
    // Registering again turns a hidden entry back on.
    writeFileBytes(path, "[Desktop Entry]\nHidden=true\n");
    QString error;
    ASSERT_TRUE(item.registerItem(&error));
    EXPECT_EQ(item.status(), LoginItem::Status::Enabled);
}

TEST(AutostartLoginItem, ExecQuotesAndEscapesTheProgramPath)
{
    EXPECT_EQ(AutostartLoginItem::execValue(QStringLiteral("/opt/My Apps/stashwell")),
              QStringLiteral("\"/opt/My Apps/stashwell\""));
    // ", `, $ and \ get a quoting backslash; then every backslash is doubled by string escaping.
    EXPECT_EQ(AutostartLoginItem::execValue(QStringLiteral("/a\"b`c$d")), QStringLiteral(R"("/a\\"b\\`c\\$d")"));
    EXPECT_EQ(AutostartLoginItem::execValue(QStringLiteral("/a\\b")), QStringLiteral(R"("/a\\\\b")"));
    EXPECT_EQ(AutostartLoginItem::execValue(QStringLiteral("/100%/x")), QStringLiteral("\"/100%%/x\""));
    EXPECT_EQ(AutostartLoginItem::execValue(QStringLiteral("/a\nb")), QStringLiteral(R"("/a\nb")"));
    EXPECT_EQ(AutostartLoginItem::execValue(QStringLiteral("/é/ü")), QStringLiteral("\"/é/ü\""));
}

TEST(AutostartLoginItem, FailuresAreDescribed)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("autostart"));
    writeFileBytes(blocker, "a file where the folder should be");
    AutostartLoginItem item(blocker + QStringLiteral("/stashwell.desktop"), QStringLiteral("/usr/bin/stashwell"));
    QString error;
    EXPECT_FALSE(item.registerItem(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(item.status(), LoginItem::Status::NotRegistered);

    // An entry that cannot be removed (here: a non-empty folder in its place) is reported.
    const QString path = dir.filePath(QStringLiteral("stuck.desktop"));
    QDir().mkpath(path + QStringLiteral("/inside"));
    AutostartLoginItem stuck(path, QStringLiteral("/usr/bin/stashwell"));
    error.clear();
    EXPECT_FALSE(stuck.unregisterItem(&error));
    EXPECT_FALSE(error.isEmpty());
}

// Modes of the private files and a cut-short replace are checked through the history store and the
// defaults file; here only the reasons a failed write gives.
TEST(PrivateFiles, FailedWritesSayWhy)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(PrivateFiles::write(dir.filePath(QStringLiteral("missing/file")), "x", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing/file")));
    error.clear();
    EXPECT_FALSE(PrivateFiles::writeAtomically(dir.filePath(QStringLiteral("missing/file")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(FileCopy, ReplacesTheTargetWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.png"));
    const QString target = dir.filePath(QStringLiteral("chosen.png"));
    ASSERT_TRUE(writeFileBytes(source, "new picture"));
    ASSERT_TRUE(writeFileBytes(target, "the user's file"));
    ::chmod(QFile::encodeName(source).constData(), 0600);
    ::chmod(QFile::encodeName(target).constData(), 0640);

    // A copy that cannot be made (no source, a folder for a source) leaves the chosen file whole.
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    for (const QString& bad : {dir.filePath(QStringLiteral("missing.png")), dir.filePath(QStringLiteral("folder"))}) {
        QString error;
        EXPECT_FALSE(FileCopy::replace(bad, target, &error));
        EXPECT_TRUE(error.contains(bad)) << error.toStdString();
        EXPECT_EQ(readFileBytes(target), QByteArray("the user's file"));
    }

    ASSERT_TRUE(FileCopy::replace(source, target));
    EXPECT_EQ(readFileBytes(target), QByteArray("new picture"));
    EXPECT_EQ(fileMode(target), 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"chosen.png", "folder", "source.png"}));
}

TEST(TimerScheduler, RunsTasksLaterAndNeverAfterCancel)
{
    TimerScheduler scheduler;
    QStringList ran;
    scheduler.schedule(0, [&ran] { ran.append(QStringLiteral("now")); });
    const auto cancelled = scheduler.schedule(5, [&ran] { ran.append(QStringLiteral("cancelled")); });
    scheduler.schedule(20, [&ran] { ran.append(QStringLiteral("later")); });
    EXPECT_TRUE(ran.isEmpty()); // never synchronously
    scheduler.cancel(cancelled);
    scheduler.cancel(0);
    ASSERT_TRUE(waitUntil([&ran] { return ran.size() == 2; }));
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(ran, (QStringList{"now", "later"}));
}
