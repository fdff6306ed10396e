#include "history/HistoryFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {
QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QString dateText(const QDateTime& time)
{
    // Whole seconds, UTC, "Z": 2026-12-05T17:57:21Z. A time that this form cannot hold (an invalid
    // one, or a year outside 1 to 9999) is written as the epoch: one unreadable date would make the
    // whole file unreadable at the next start.
    const QDateTime utc = time.toUTC();
    if (!utc.isValid() || utc.date().year() < 1 || utc.date().year() > 9999) {
        return QStringLiteral("1970-01-01T00:00:00Z");
    }
    return utc.toString(Qt::ISODate);
}

std::optional<QDateTime> parseDate(const QString& text)
{
    // The internet date-time form. A fraction of a second is tolerated on reading: a file written
    // by another tool loses nothing by it, and this program never writes one.
    static const QRegularExpression form(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d{1,9})?(Z|[+-]\d{2}:\d{2})$)"));
    if (!form.match(text).hasMatch()) {
        return std::nullopt;
    }
    QDateTime parsed = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!parsed.isValid()) {
        return std::nullopt;
    }
    return parsed.toUTC();
}

std::optional<QUuid> parseUuid(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    if (!form.match(text).hasMatch()) {
        return std::nullopt;
    }
    return QUuid::fromString(text);
}

// Reading one object. A failure sets `error` and every later read is skipped by the caller.
class EntryReader
{
public:
    EntryReader(const QJsonObject& object, QString& error) : m_object(object), m_error(error) {}

    bool failed() const { return !m_error.isEmpty(); }

    QJsonValue required(const char* key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (value.isUndefined()) {
            fail(key, "is missing");
        }
        return value;
    }

    std::optional<QString> optionalString(const char* key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) {
            return std::nullopt;
        }
        if (!value.isString()) {
            fail(key, "is not a string");
            return std::nullopt;
        }
        return value.toString();
    }

    std::optional<std::int64_t> optionalInteger(const char* key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) {
            return std::nullopt;
        }
        return integer(value, key);
    }

    std::optional<std::int64_t> integer(const QJsonValue& value, const char* key)
    {
        // toInteger() answers only for numbers that are whole and fit 64 bits.
        constexpr qint64 sentinelA = 1;
        constexpr qint64 sentinelB = 2;
        if (value.isDouble()) {
            const qint64 a = value.toInteger(sentinelA);
            const qint64 b = value.toInteger(sentinelB);
            if (a == b) {
                return a;
            }
        }
        fail(key, "is not an integer");
        return std::nullopt;
    }

    std::optional<QStringList> optionalStringList(const char* key)
    {
        const QJsonValue value = m_object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull()) {
            return std::nullopt;
        }
        if (!value.isArray()) {
            fail(key, "is not an array");
            return std::nullopt;
        }
        QStringList list;
        for (const QJsonValue element : value.toArray()) {
            if (!element.isString()) {
                fail(key, "holds something other than strings");
                return std::nullopt;
            }
            list.append(element.toString());
        }
        return list;
    }

    void fail(const char* key, const char* why)
    {
        if (m_error.isEmpty()) {
            m_error = QStringLiteral("\"%1\" %2").arg(QLatin1String(key), QLatin1String(why));
        }
    }

private:
    const QJsonObject& m_object;
    QString& m_error;
};

std::optional<ClipboardItem> decodeEntry(const QJsonObject& object, QString& error)
{
    EntryReader reader(object, error);
    ClipboardItem item;

    const QJsonValue id = reader.required("id");
    const QJsonValue kind = reader.required("kind");
    const QJsonValue createdAt = reader.required("createdAt");
    const QJsonValue isPinned = reader.required("isPinned");
    if (reader.failed()) {
        return std::nullopt;
    }

    const auto uuid = id.isString() ? parseUuid(id.toString()) : std::nullopt;
    if (!uuid) {
        reader.fail("id", "is not a UUID");
        return std::nullopt;
    }
    item.id = *uuid;

    const auto parsedKind = kind.isString() ? clipboardKindFromRawValue(kind.toString()) : std::nullopt;
    if (!parsedKind) {
        reader.fail("kind", "is not a known kind");
        return std::nullopt;
    }
    item.kind = *parsedKind;

    const auto date = createdAt.isString() ? parseDate(createdAt.toString()) : std::nullopt;
    if (!date) {
        reader.fail("createdAt", "is not an ISO 8601 date");
        return std::nullopt;
    }
    item.createdAt = *date;

    if (!isPinned.isBool()) {
        reader.fail("isPinned", "is not true or false");
        return std::nullopt;
    }
    item.isPinned = isPinned.toBool();

    item.sourceBundleID = reader.optionalString("sourceBundleID");
    item.sourceAppName = reader.optionalString("sourceAppName");
    item.text = reader.optionalString("text");
    item.imagePath = reader.optionalString("imagePath");
    item.imageWidth = reader.optionalInteger("imageWidth");
    item.imageHeight = reader.optionalInteger("imageHeight");
    item.thumbnailPath = reader.optionalString("thumbnailPath");
    item.assetPath = reader.optionalString("assetPath");
    item.colorHex = reader.optionalString("colorHex");
    item.filePaths = reader.optionalStringList("filePaths");
    item.characterCount = reader.optionalInteger("characterCount");
    item.contentHash = reader.optionalString("contentHash");
    if (reader.failed()) {
        return std::nullopt;
    }
    return item;
}

QJsonObject encodeEntry(const ClipboardItem& item)
{
    QJsonObject object;
    object.insert(QStringLiteral("id"), uuidText(item.id));
    object.insert(QStringLiteral("kind"), rawValue(item.kind));
    object.insert(QStringLiteral("createdAt"), dateText(item.createdAt));
    const auto putString = [&object](const char* key, const std::optional<QString>& value) {
        if (value) {
            object.insert(QLatin1String(key), *value);
        }
    };
    const auto putInteger = [&object](const char* key, const std::optional<std::int64_t>& value) {
        if (value) {
            object.insert(QLatin1String(key), static_cast<qint64>(*value));
        }
    };
    putString("sourceBundleID", item.sourceBundleID);
    putString("sourceAppName", item.sourceAppName);
    putString("text", item.text);
    putString("imagePath", item.imagePath);
    putInteger("imageWidth", item.imageWidth);
    putInteger("imageHeight", item.imageHeight);
    putString("thumbnailPath", item.thumbnailPath);
    putString("assetPath", item.assetPath);
    putString("colorHex", item.colorHex);
    if (item.filePaths) {
        object.insert(QStringLiteral("filePaths"), QJsonArray::fromStringList(*item.filePaths));
    }
    putInteger("characterCount", item.characterCount);
    putString("contentHash", item.contentHash);
    object.insert(QStringLiteral("isPinned"), item.isPinned);
    return object;
}
} // namespace

QByteArray HistoryFile::encode(const QList<ClipboardItem>& items)
{
    QJsonArray array;
    for (const ClipboardItem& item : items) {
        array.append(encodeEntry(item));
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<ClipboardItem>> HistoryFile::decode(const QByteArray& json, QString* error)
{
    QString reason;
    QList<ClipboardItem> items;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        reason = QStringLiteral("not JSON: ") + parseError.errorString();
    } else if (!document.isArray()) {
        reason = QStringLiteral("not a JSON array");
    } else {
        const QJsonArray array = document.array();
        items.reserve(array.size());
        for (qsizetype index = 0; index < array.size() && reason.isEmpty(); ++index) {
            const QJsonValue value = array.at(index);
            if (!value.isObject()) {
                reason = QStringLiteral("entry %1 is not an object").arg(index);
                break;
            }
            QString entryError;
            if (auto item = decodeEntry(value.toObject(), entryError)) {
                items.append(std::move(*item));
            } else {
                reason = QStringLiteral("entry %1: %2").arg(index).arg(entryError);
            }
        }
    }
    if (!reason.isEmpty()) {
        if (error) {
            *error = reason;
        }
        return std::nullopt;
    }
    return items;
}
