// The history file format: what is written, and which hand-written files are read or rejected.
#include "history/HistoryFile.h"

#include "support/ItemPrinter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {
QDateTime at(const char* text)
{
    return QDateTime::fromString(QLatin1String(text), Qt::ISODate);
}

ClipboardItem fullItem()
{
    ClipboardItem item;
    item.kind = ClipboardKind::image;
    item.createdAt = at("2026-12-05T17:57:21Z");
    item.sourceBundleID = QStringLiteral("org.gnome.TextEditor");
    item.sourceAppName = QStringLiteral("Text Editor ✎");
    item.text = QStringLiteral("line one\nline \"two\"");
    item.imagePath = QStringLiteral("/data/Stashwell/images/A.png");
    item.imageWidth = 1920;
    item.imageHeight = 9007199254740993; // beyond a double's exact integers
    item.thumbnailPath = QStringLiteral("/data/Stashwell/images/B.png");
    item.assetPath = QStringLiteral("/data/Stashwell/assets/C.pdf");
    item.colorHex = QStringLiteral("#FF000080");
    item.filePaths = QStringList{QStringLiteral("/a"), QStringLiteral("/b c")};
    item.characterCount = 0;
    item.contentHash = QStringLiteral("ba7816bf8f01cfea414140de");
    item.isPinned = true;
    return item;
}

// One entry with only the required keys, plus `extra` (raw JSON members, each with a leading comma).
QByteArray fileWith(const char* extra, const char* id = "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"",
                    const char* kind = "\"text\"", const char* createdAt = "\"2026-12-05T17:57:21Z\"",
                    const char* isPinned = ",\"isPinned\":false")
{
    return QByteArray("[{\"id\":") + id + ",\"kind\":" + kind + ",\"createdAt\":" + createdAt + isPinned + extra + "}]";
}

bool readable(const QByteArray& json)
{
    return HistoryFile::decode(json).has_value();
}
} // namespace

TEST(HistoryFile, RoundTripKeepsEveryField)
{
    ClipboardItem second;
    second.kind = ClipboardKind::file;
    second.createdAt = at("1999-01-02T03:04:05Z");
    second.filePaths = QStringList();
    const QList<ClipboardItem> items{fullItem(), second};

    const auto decoded = HistoryFile::decode(HistoryFile::encode(items));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, items);
    EXPECT_EQ(HistoryFile::encode({}), QByteArray("[]"));
    EXPECT_EQ(HistoryFile::decode("[]"), QList<ClipboardItem>());
}

TEST(HistoryFile, WritesCompactObjectsWithOnlyPresentFields)
{
    ClipboardItem minimal;
    minimal.id = QUuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
    minimal.kind = ClipboardKind::richText;
    minimal.createdAt = at("2026-12-05T18:57:21.789+01:00");
    ClipboardItem emptyFiles = minimal;
    emptyFiles.kind = ClipboardKind::file;
    emptyFiles.filePaths = QStringList();

    const QByteArray json = HistoryFile::encode({minimal, emptyFiles, fullItem()});
    EXPECT_FALSE(json.contains('\n'));
    EXPECT_FALSE(json.contains(": "));
    EXPECT_FALSE(json.contains("null"));

    const QJsonArray array = QJsonDocument::fromJson(json).array();
    ASSERT_EQ(array.size(), 3);
    const QJsonObject first = array[0].toObject();
    EXPECT_EQ(first.keys(), (QStringList{"createdAt", "id", "isPinned", "kind"}));
    EXPECT_EQ(first["id"].toString(), QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    EXPECT_EQ(first["kind"].toString(), QStringLiteral("richText"));
    // UTC, whole seconds, "Z": the fraction of a second is dropped.
    EXPECT_EQ(first["createdAt"].toString(), QStringLiteral("2026-12-05T17:57:21Z"));
    EXPECT_EQ(first["isPinned"], QJsonValue(false));
    EXPECT_EQ(array[1].toObject()["filePaths"], QJsonValue(QJsonArray()));

    const QJsonObject full = array[2].toObject();
    EXPECT_EQ(full.size(), 16);
    EXPECT_EQ(full["imageWidth"].toInteger(), 1920);
    EXPECT_TRUE(json.contains("\"imageHeight\":9007199254740993"));
    EXPECT_EQ(full["characterCount"], QJsonValue(0));

    // An unsaved time with a fraction does not survive a round trip; the same time without one does.
    const auto reread = HistoryFile::decode(json);
    ASSERT_TRUE(reread);
    EXPECT_NE((*reread)[0], minimal);
    minimal.createdAt = at("2026-12-05T17:57:21Z");
    EXPECT_EQ((*reread)[0], minimal);
}

TEST(HistoryFile, UnwritableTimeIsWrittenAsTheEpochSoTheFileStaysReadable)
{
    ClipboardItem item;
    item.createdAt = QDateTime();
    ClipboardItem farFuture;
    farFuture.createdAt = QDateTime(QDate(12000, 1, 1), QTime(0, 0), Qt::UTC);
    const auto decoded = HistoryFile::decode(HistoryFile::encode({item, farFuture}));
    ASSERT_TRUE(decoded);
    EXPECT_EQ((*decoded)[0].createdAt, at("1970-01-01T00:00:00Z"));
    EXPECT_EQ((*decoded)[1].createdAt, at("1970-01-01T00:00:00Z"));
}

TEST(HistoryFile, ReadsHandWrittenFilesLeniently)
{
    // Keys in any order, unknown keys, nulls for optionals, lower-case UUIDs, other UTC offsets.
    const QByteArray json = R"([
        {"isPinned": true, "future": {"nested": [1, 2]}, "createdAt": "2026-12-05T19:57:21+02:00",
         "kind": "link", "id": "6f9619ff-8b86-d011-b42d-00c04fc964ff", "text": "https://example.org",
         "imagePath": null, "filePaths": null, "characterCount": null, "imageWidth": 4.0},
        {"id": "00000000-0000-0000-0000-000000000000", "kind": "color", "createdAt": "2026-12-05T17:57:21.5Z",
         "isPinned": false, "colorHex": "#00FF00"}
    ])";
    QString error;
    const auto decoded = HistoryFile::decode(json, &error);
    ASSERT_TRUE(decoded) << error.toStdString();
    ASSERT_EQ(decoded->size(), 2);
    const ClipboardItem& link = (*decoded)[0];
    EXPECT_EQ(link.id, QUuid::fromString(QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")));
    EXPECT_EQ(link.kind, ClipboardKind::link);
    EXPECT_EQ(link.createdAt, at("2026-12-05T17:57:21Z"));
    EXPECT_TRUE(link.isPinned);
    EXPECT_EQ(link.text, QStringLiteral("https://example.org"));
    EXPECT_FALSE(link.imagePath);
    EXPECT_FALSE(link.filePaths);
    EXPECT_FALSE(link.characterCount);
    EXPECT_EQ(link.imageWidth, 4);
    EXPECT_EQ((*decoded)[1].colorHex, QStringLiteral("#00FF00"));
}

TEST(HistoryFile, OneBadEntryRejectsTheWholeFile)
{
    ASSERT_TRUE(readable(fileWith("")));
    const char* badMembers[] = {
        R"(,"imageWidth":1.5)",
        R"(,"characterCount":"3")",
        R"(,"imageHeight":true)",
        R"(,"imageWidth":1e300)",
        R"(,"text":5)",
        R"(,"filePaths":"/a")",
        R"(,"filePaths":["/a",null])",
        R"(,"contentHash":["x"])",
        R"(,"sourceBundleID":{})",
    };
    for (const char* member : badMembers) {
        EXPECT_FALSE(readable(fileWith(member))) << member;
    }
    const char* badIds[] = {"null",
                            "42",
                            R"("6F9619FF8B86D011B42D00C04FC964FF")",
                            R"("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")",
                            R"("6F9619FF-8B86-D011-B42D-00C04FC964FG")",
                            R"("")"};
    for (const char* id : badIds) {
        EXPECT_FALSE(readable(fileWith("", id))) << id;
    }
    for (const char* kind : {R"("Text")", R"("video")", R"("")", "null", "0"}) {
        EXPECT_FALSE(readable(fileWith("", "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"", kind))) << kind;
    }
    const char* badDates[] = {R"("2026-12-05 17:57:21Z")",
                              R"("2026-12-05T17:57:21")",
                              R"("2026-12-05")",
                              R"("2026-02-30T17:57:21Z")",
                              R"("yesterday")",
                              "1796493441",
                              "null",
                              R"("2026-12-05T17:57Z")"};
    for (const char* date : badDates) {
        EXPECT_FALSE(readable(fileWith("", "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"", "\"text\"", date))) << date;
    }
    for (const char* pinned : {"", R"(,"isPinned":null)", R"(,"isPinned":0)", R"(,"isPinned":"false")"}) {
        EXPECT_FALSE(readable(
            fileWith("", "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"", "\"text\"", "\"2026-12-05T17:57:21Z\"", pinned)))
            << pinned;
    }

    // A good entry next to a bad one is lost with it; the reason names the entry.
    QByteArray mixed = fileWith("");
    mixed.chop(1);
    mixed += R"(,{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","kind":"text","createdAt":"2026-12-05T17:57:21Z"}])";
    QString error;
    EXPECT_FALSE(HistoryFile::decode(mixed, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("entry 1"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("isPinned"))) << error.toStdString();
}

TEST(HistoryFile, RejectsWhatIsNotAnArrayOfObjects)
{
    for (const char* json :
         {"", "   ", "{}", "null", "[1]", "[[]]", "[{}", "[{}]", "\xff\xfe[]", "[\"\xc3\"]", "[] trailing"}) {
        EXPECT_FALSE(readable(QByteArray(json))) << json;
    }
}
