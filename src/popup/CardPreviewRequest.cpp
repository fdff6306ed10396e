// The request is the card's only hold on the workers' result: once the card is gone, a read still
// waiting is dropped (CardPreviewLoader).
#include "popup/CardPreviewRequest.h"

#include "popup/AppIcon.h"
#include "popup/CardContent.h"

const CardPreview& CardPreviewRequest::image(const QStringList& paths, const QSize& size, PreviewImage::Crop crop)
{
    if (!m_preview || m_size != size) {
        m_preview = CardPreviewLoader::shared().loadImage(paths, size, crop);
        m_size = size;
    }
    return *m_preview;
}

const CardPreview& CardPreviewRequest::file(const QString& path, const QSize& size)
{
    if (!m_preview || m_size != size) {
        m_preview = CardPreviewLoader::shared().loadFile(path, size, !size.isEmpty() && CardContent::isImageFile(path));
        m_size = size;
    }
    return *m_preview;
}

const QIcon* CardPreviewRequest::fileIcon()
{
    if (!m_preview || !m_preview->isReady) {
        return nullptr;
    }
    if (!m_fileIcon) {
        m_fileIcon = AppIcon::fileTypeIcon(m_preview->typeName);
    }
    return &*m_fileIcon;
}
