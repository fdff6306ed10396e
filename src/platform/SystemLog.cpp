#include "platform/SystemLog.h"

#include <cstdio>

void StderrLog::write(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}
