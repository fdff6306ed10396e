// The body of a file card that shows no picture: the first file's type icon and its name on at
// most two lines, and "+N more" for the other files.
#pragma once

#include "popup/CardPreviewRequest.h"
#include "popup/ui/CardBody.h"

#include <QString>
#include <optional>

class FileBody : public CardBody
{
public:
    explicit FileBody(const ClipboardItem& item);
    void paint(QPainter& painter, const QRectF& body) override;

private:
    std::optional<QString> m_path; // none for an entry without files, whose body stays empty
    QString m_name;
    QString m_more;
    CardPreviewRequest m_preview;
};
