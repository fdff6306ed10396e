// The body of text, HTML and link cards: the text itself, a link's in a heavier weight.
#pragma once

#include "popup/ui/CardBody.h"
#include "popup/ui/PlainTextPreview.h"

class TextBody : public CardBody
{
public:
    explicit TextBody(const ClipboardItem& item);
    void paint(QPainter& painter, const QRectF& body) override;

private:
    PlainTextPreview m_text;
};
