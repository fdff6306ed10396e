// The body of a colour card: the colour itself with its hex form on a capsule, or plain grey when
// the stored form does not parse.
#pragma once

#include "popup/ui/CardBody.h"

#include <QColor>
#include <QString>
#include <optional>

class ColorBody : public CardBody
{
public:
    explicit ColorBody(const ClipboardItem& item);
    void paint(QPainter& painter, const QRectF& body) override;

private:
    QString m_hex;
    std::optional<QColor> m_color;
};
