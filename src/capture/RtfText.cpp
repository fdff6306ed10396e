// Joining the runs of read RTF text.
#include "capture/RtfText.h"

QString RtfText::text() const
{
    QString joined;
    for (const RtfRun& run : runs) {
        joined += run.text;
    }
    return joined;
}
