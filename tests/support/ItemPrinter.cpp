#include "support/ItemPrinter.h"

#include "history/HistoryFile.h"

void PrintTo(const ClipboardItem& item, std::ostream* out)
{
    // The file form shows every present field; the time is shown with its milliseconds too.
    *out << HistoryFile::encode({item}).constData() << " @" << item.createdAt.toString(Qt::ISODateWithMs).toStdString();
}
