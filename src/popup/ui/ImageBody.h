// The body of image and PDF cards: the picture (a document's first page) filling the body, on
// light grey while the workers read it, and a placeholder when none decodes.
#pragma once

#include "popup/CardPreviewRequest.h"
#include "popup/ui/CardBody.h"

#include <QStringList>

class ImageBody : public CardBody
{
public:
    explicit ImageBody(const ClipboardItem& item);
    void paint(QPainter& painter, const QRectF& body) override;

private:
    void paintPlaceholder(QPainter& painter, const QRectF& body) const;

    QStringList m_paths; // the thumbnail first
    bool m_isPdf;
    CardPreviewRequest m_preview;
};
