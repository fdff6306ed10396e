#include "platform/ClipboardTargets.h"

#include "platform/PasteboardTypes.h"

#include <QHash>
#include <QStringList>
#include <cstring>

namespace {
const QHash<QString, QList<QByteArray>>& namesByType()
{
    static const QHash<QString, QList<QByteArray>> names{
        {PasteboardType::string, {"UTF8_STRING", "text/plain;charset=utf-8", "text/plain", "STRING"}},
        {PasteboardType::plainText, {"text/plain"}},
        {PasteboardType::utf16PlainText, {"text/plain;charset=utf-16"}},
        {PasteboardType::nextPlainAscii, {"STRING"}},
        {PasteboardType::rtf, {"text/rtf"}},
        {PasteboardType::flatRtfd, {"application/x-rtfd", "com.apple.flat-rtfd"}},
        {PasteboardType::html, {"text/html"}},
        {PasteboardType::htmlMime, {"text/html"}},
        {PasteboardType::png, {"image/png"}},
        {PasteboardType::tiff, {"image/tiff"}},
        {PasteboardType::pdf, {"application/pdf"}},
    };
    return names;
}

void add(QList<ClipboardTarget>& targets, const QByteArray& name, const QByteArray& bytes, int format = 8)
{
    for (const auto& existing : targets) {
        if (existing.name == name) {
            return; // the first representation offered under a name wins
        }
    }
    targets.append({name, format, bytes});
}

QByteArray bytesFor(const QByteArray& target, const QString& type, const QByteArray& bytes)
{
    // STRING is Latin-1 by definition; text that has other characters is served as well as it goes.
    if (target == "STRING" && type == PasteboardType::string) {
        return QString::fromUtf8(bytes).toLatin1();
    }
    return bytes;
}

QByteArray colorBytes(const QColor& color)
{
    const QRgba64 rgba = color.rgba64();
    const std::uint16_t channels[4] = {rgba.red(), rgba.green(), rgba.blue(), rgba.alpha()};
    QByteArray bytes(sizeof channels, Qt::Uninitialized);
    std::memcpy(bytes.data(), channels, sizeof channels);
    return bytes;
}
} // namespace

QList<ClipboardTarget> ClipboardTargets::forContent(const PasteboardContent& content)
{
    QList<ClipboardTarget> targets;
    for (const auto& [type, bytes] : content.data) {
        const auto known = namesByType().constFind(type);
        if (known != namesByType().constEnd()) {
            for (const QByteArray& name : *known) {
                add(targets, name, bytesFor(name, type, bytes));
            }
        } else if (type.contains(QLatin1Char('/'))) {
            add(targets, type.toUtf8(), bytes);
        }
    }
    if (content.hasUrls) {
        QByteArray uriList;
        QByteArray gnome("copy");
        for (const QUrl& url : content.urls) {
            uriList += url.toEncoded() + "\r\n";
            gnome += '\n' + url.toEncoded();
        }
        add(targets, "text/uri-list", uriList);
        add(targets, "x-special/gnome-copied-files", gnome);
    }
    if (content.hasColors && !content.colors.isEmpty()) {
        add(targets, "application/x-color", colorBytes(content.colors.first()), 16);
    }
    return targets;
}
