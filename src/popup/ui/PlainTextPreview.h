// A card's text laid out in its area: wrapped, as many whole lines as fit, the last one ending in
// an ellipsis where the text goes on. The layout is kept for the last area drawn in.
#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QTextLayout;

class PlainTextPreview
{
public:
    PlainTextPreview(QString text, QFont::Weight weight);
    ~PlainTextPreview();
    PlainTextPreview(const PlainTextPreview&) = delete;
    PlainTextPreview& operator=(const PlainTextPreview&) = delete;

    void paint(QPainter& painter, const QRectF& area);

private:
    void layOut(const QFont& font, const QSizeF& size);

    QString m_text;
    QFont::Weight m_weight;
    std::unique_ptr<QTextLayout> m_layout;
    QSizeF m_layoutSize;
    int m_visibleLines = 0;
    QString m_elidedLastLine;
};
