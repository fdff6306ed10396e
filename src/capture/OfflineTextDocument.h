// A text document that never loads images, style sheets or anything else its markup points to.
#pragma once

#include <QTextDocument>

class OfflineTextDocument final : public QTextDocument
{
    Q_OBJECT
public:
    using QTextDocument::QTextDocument;

    // The plain text, with the object replacement characters that stand for images dropped.
    QString plainTextWithoutObjects() const;

protected:
    // Clipboard markup is untrusted: a file:// or remote reference must not reach the disk or the network.
    QVariant loadResource(int type, const QUrl& name) override;
};
