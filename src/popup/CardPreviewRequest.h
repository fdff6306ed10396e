// What one card asked the preview workers for: asked again only when the card is drawn at another
// size, so a card that is painted often starts its read once.
#pragma once

#include "popup/CardPreviewLoader.h"
#include "popup/PreviewImage.h"

#include <QIcon>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class CardPreviewRequest
{
public:
    // The picture of an image or PDF entry, the first of `paths` that decodes, at `size` device pixels.
    const CardPreview& image(const QStringList& paths, const QSize& size, PreviewImage::Crop crop);
    // The first file of a file entry: its picture at `size` when it names an image and `size` is
    // not empty, else (or when it does not decode) its type.
    const CardPreview& file(const QString& path, const QSize& size);
    // The icon of the file's type once the workers have read the type; null before.
    const QIcon* fileIcon();

private:
    std::shared_ptr<const CardPreview> m_preview;
    QSize m_size;
    std::optional<QIcon> m_fileIcon;
};
