#include "platform/SelectionDecoding.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstdint>
#include <cstring>

QList<QUrl> SelectionDecoding::urlsFromList(const QByteArray& bytes, bool leadingOperation)
{
    QList<QUrl> urls;
    bool first = true;
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (first && leadingOperation) {
            first = false;
            if (line == "copy" || line == "cut") {
                continue;
            }
        }
        first = false;
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        urls.append(QUrl::fromEncoded(line));
    }
    return urls;
}

std::optional<QColor> SelectionDecoding::colorFromXColor(const QByteArray& bytes)
{
    std::uint16_t channels[4];
    if (bytes.size() < qsizetype(sizeof(channels))) {
        return std::nullopt;
    }
    std::memcpy(channels, bytes.constData(), sizeof(channels));
    return QColor::fromRgba64(channels[0], channels[1], channels[2], channels[3]);
}

std::optional<QByteArray> SelectionDecoding::imageAsPng(const QByteArray& bytes)
{
    QBuffer source;
    source.setData(bytes);
    QImageReader reader(&source);
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    QByteArray png;
    QBuffer sink(&png);
    sink.open(QIODevice::WriteOnly);
    if (!image.save(&sink, "PNG")) {
        return std::nullopt;
    }
    return png;
}
