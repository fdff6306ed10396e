#include "platform/MimeTypeTable.h"

#include "platform/PasteboardTypes.h"

#include <utility>

namespace {
struct Row
{
    QString identifier;
    QList<QByteArray> targets;
};

const QList<Row>& rows()
{
    static const QList<Row> table = {
        {PasteboardType::string, {"UTF8_STRING", "text/plain;charset=utf-8"}},
        {PasteboardType::utf16PlainText, {"text/plain;charset=utf-16"}},
        {PasteboardType::plainText, {"text/plain"}},
        {PasteboardType::nextPlainAscii, {"STRING", "TEXT"}},
        {PasteboardType::html, {"text/html"}},
        {PasteboardType::htmlMime, {"text/html"}},
        {PasteboardType::rtf, {"text/rtf", "application/rtf", "text/richtext"}},
        {PasteboardType::flatRtfd, {"application/x-rtfd", "com.apple.flat-rtfd"}},
        {PasteboardType::pdf, {"application/pdf"}},
        {PasteboardType::png, {"image/png"}},
        {PasteboardType::tiff, {"image/tiff"}},
    };
    return table;
}
} // namespace

QList<QByteArray> MimeTypeTable::targetsFor(const QString& identifier)
{
    for (const Row& row : rows()) {
        if (row.identifier == identifier) {
            return row.targets;
        }
    }
    return {};
}

bool MimeTypeTable::isProtocolTarget(const QByteArray& target)
{
    static const QList<QByteArray> protocol = {"TARGETS", "TIMESTAMP", "MULTIPLE", "DELETE", "INCR", "SAVE_TARGETS"};
    return protocol.contains(target);
}

QByteArray MimeTypeTable::rasterFormatOf(const QByteArray& target)
{
    // Raster formats only: a vector image (SVG) may name files of the user's to draw.
    static const QList<std::pair<QByteArray, QByteArray>> raster = {
        {"image/jpeg", "jpeg"},
        {"image/jpg", "jpeg"},
        {"image/pjpeg", "jpeg"},
        {"image/gif", "gif"},
        {"image/bmp", "bmp"},
        {"image/x-bmp", "bmp"},
        {"image/x-ms-bmp", "bmp"},
        {"image/webp", "webp"},
        {"image/x-portable-pixmap", "ppm"},
        {"image/x-portable-anymap", "ppm"},
        {"image/vnd.microsoft.icon", "ico"},
        {"image/x-icon", "ico"},
        {"image/x-xpixmap", "xpm"},
    };
    for (const auto& [mime, format] : raster) {
        if (mime == target) {
            return format;
        }
    }
    return {};
}

QList<QByteArray> MimeTypeTable::convertibleImageTargets(const QList<QByteArray>& offered)
{
    if (offered.contains("image/png") || offered.contains("image/tiff")) {
        return {};
    }
    QList<QByteArray> images;
    for (const QByteArray& target : offered) {
        if (!rasterFormatOf(target).isEmpty() && !images.contains(target)) {
            images.append(target);
        }
    }
    return images;
}

QStringList MimeTypeTable::identifiersFor(const QList<QByteArray>& offered)
{
    QStringList identifiers;
    const auto add = [&identifiers](const QString& identifier) {
        if (!identifiers.contains(identifier)) {
            identifiers.append(identifier);
        }
    };
    for (const Row& row : rows()) {
        for (const QByteArray& target : row.targets) {
            if (offered.contains(target)) {
                add(row.identifier);
                break;
            }
        }
        if (row.identifier == PasteboardType::png && !convertibleImageTargets(offered).isEmpty()) {
            add(PasteboardType::png);
        }
    }
    if (offered.contains(uriList) || offered.contains(gnomeCopiedFiles)) {
        add(PasteboardType::fileUrl);
    }
    if (offered.contains(xColor)) {
        add(PasteboardType::color);
    }
    for (const QByteArray& target : offered) {
        if (!isProtocolTarget(target) && !target.isEmpty()) {
            add(QString::fromUtf8(target));
        }
    }
    return identifiers;
}
