// The body of a file card whose first file is a picture: the picture filling the body, its type's
// icon when it does not decode, and a "+N more" badge for the other files.
#pragma once

#include "popup/CardPreviewRequest.h"
#include "popup/ui/CardBody.h"

#include <QString>

class ImageFileBody : public CardBody
{
public:
    // For an item whose first file names a picture (CardContent::showsFirstFileImage).
    explicit ImageFileBody(const ClipboardItem& item);
    void paint(QPainter& painter, const QRectF& body) override;

private:
    QString m_path;
    QString m_more;
    CardPreviewRequest m_preview;
};
