#include "platform/FileCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool FileCopy::replace(const QString& source, const QString& target, QString* error)
{
    const auto failed = [error](const QString& what, const QFileDevice& file) {
        if (error) {
            *error = what + QStringLiteral(": ") + file.errorString();
        }
        return false;
    };
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        return failed(QStringLiteral("cannot read ") + source, in);
    }
    const bool isNew = !QFileInfo::exists(target);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        return failed(QStringLiteral("cannot write beside ") + target, out);
    }
    if (isNew) {
        out.setPermissions(in.permissions());
    }
    // Returning without a commit discards what was written beside the target.
    constexpr qint64 chunk = 64 * 1024;
    for (QByteArray bytes = in.read(chunk); !bytes.isEmpty(); bytes = in.read(chunk)) {
        if (out.write(bytes) != bytes.size()) {
            return failed(QStringLiteral("cannot write ") + target, out);
        }
    }
    if (in.error() != QFileDevice::NoError) {
        return failed(QStringLiteral("cannot read ") + source, in);
    }
    if (!out.commit()) {
        return failed(QStringLiteral("cannot replace ") + target, out);
    }
    return true;
}
