// Refuses every resource a document asks for.
#include "capture/OfflineTextDocument.h"

QString OfflineTextDocument::plainTextWithoutObjects() const
{
    QString text = toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

QVariant OfflineTextDocument::loadResource(int, const QUrl&)
{
    return {};
}
