// Reading the serialized file wrapper: "rtfd", 0, version 3, count, (name length, name) per entry, then
// every data length, then every entry's data.
#include "capture/RtfdReader.h"

#include "capture/RtfReader.h"

#include <QTextDocument>
#include <QtEndian>

namespace RtfdReader {
namespace {
constexpr quint32 supportedVersion = 3;

class Cursor
{
public:
    explicit Cursor(const QByteArray& bytes) : m_bytes(bytes) {}

    std::optional<quint32> word()
    {
        if (remaining() < 4) {
            return std::nullopt;
        }
        const quint32 value = qFromLittleEndian<quint32>(m_bytes.constData() + m_position);
        m_position += 4;
        return value;
    }

    std::optional<QByteArray> take(quint32 length)
    {
        if (length > remaining()) {
            return std::nullopt;
        }
        QByteArray piece = m_bytes.mid(m_position, length);
        m_position += length;
        return piece;
    }

    qsizetype remaining() const { return m_bytes.size() - m_position; }

private:
    const QByteArray& m_bytes;
    qsizetype m_position = 0;
};

std::optional<QList<quint32>> lengths(Cursor& cursor, quint32 count)
{
    QList<quint32> values;
    values.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const auto value = cursor.word();
        if (!value) {
            return std::nullopt;
        }
        values.append(*value);
    }
    return values;
}
} // namespace

std::optional<QList<Entry>> entries(const QByteArray& flat)
{
    if (!flat.startsWith("rtfd")) {
        return std::nullopt;
    }
    Cursor cursor(flat);
    cursor.take(4);
    const auto zero = cursor.word();
    const auto version = cursor.word();
    const auto count = cursor.word();
    if (!zero || *zero != 0 || !version || *version != supportedVersion || !count) {
        return std::nullopt;
    }
    // Every entry needs two length words, so a count beyond that cannot be true (and must not size a list).
    if (*count > quint64(cursor.remaining()) / 8) {
        return std::nullopt;
    }
    QList<Entry> result;
    result.reserve(*count);
    for (quint32 i = 0; i < *count; ++i) {
        const auto length = cursor.word();
        auto name = length ? cursor.take(*length) : std::nullopt;
        if (!name) {
            return std::nullopt;
        }
        result.append(Entry{std::move(*name), {}});
    }
    const auto dataLengths = lengths(cursor, *count);
    if (!dataLengths) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < result.size(); ++i) {
        auto data = cursor.take((*dataLengths)[i]);
        if (!data) {
            return std::nullopt;
        }
        result[i].data = std::move(*data);
    }
    return result;
}

std::optional<QByteArray> rtfText(const QByteArray& flat)
{
    const auto all = entries(flat);
    if (!all) {
        return std::nullopt;
    }
    for (const Entry& entry : *all) {
        // Names may carry a terminating NUL.
        QByteArray name = entry.name;
        while (name.endsWith('\0')) {
            name.chop(1);
        }
        if (name == "TXT.rtf") {
            return entry.data;
        }
    }
    return std::nullopt;
}

std::optional<QString> plainText(const QByteArray& flat)
{
    const auto rtf = rtfText(flat);
    return rtf ? RtfReader::plainText(*rtf) : std::nullopt;
}

std::unique_ptr<QTextDocument> toDocument(const QByteArray& flat)
{
    const auto rtf = rtfText(flat);
    return rtf ? RtfReader::toDocument(*rtf) : nullptr;
}
} // namespace RtfdReader
