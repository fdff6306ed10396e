// The body of a rich-text card: the beginning of its stored document in the document's own fonts
// and colours, or its plain text when the document cannot be read.
#pragma once

#include "popup/RichTextPreview.h"
#include "popup/ui/CardBody.h"
#include "popup/ui/PlainTextPreview.h"

#include <QSizeF>
#include <memory>

class QTextDocument;

class RichTextBody : public CardBody
{
public:
    explicit RichTextBody(const ClipboardItem& item);
    ~RichTextBody() override;
    void paint(QPainter& painter, const QRectF& body) override;

private:
    void load();
    void paintDocument(QPainter& painter, const QRectF& area);

    ClipboardItem m_item;
    PlainTextPreview m_plainText;
    std::unique_ptr<QTextDocument> m_document;
    bool m_isLoaded = false;
    bool m_isCut = false;   // the document goes on past what was read
    QSizeF m_documentSize; // the size in points it was laid out and cut for
    RichTextPreview::TailCut m_cut;
};
