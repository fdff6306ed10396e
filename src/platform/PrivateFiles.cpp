#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr mode_t privateFolderMode = 0700;
constexpr mode_t privateFileMode = 0600;

QString describeErrno(const QString& what, const QString& path)
{
    return what + QStringLiteral(" ") + path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* cursor = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, cursor, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        cursor += written;
        left -= written;
    }
    return true;
}

void syncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

bool PrivateFiles::ensureFolder(const QString& path)
{
    if (!QDir().mkpath(path)) {
        return false;
    }
    return ::chmod(QFile::encodeName(path).constData(), privateFolderMode) == 0;
}

bool PrivateFiles::restrictFile(const QString& path)
{
    return ::chmod(QFile::encodeName(path).constData(), privateFileMode) == 0;
}

bool PrivateFiles::write(const QString& path, const QByteArray& bytes, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, privateFileMode);
    if (fd < 0) {
        if (error) {
            *error = describeErrno(QStringLiteral("cannot create"), path);
        }
        return false;
    }
    ::fchmod(fd, privateFileMode);
    const bool ok = writeAll(fd, bytes);
    if (!ok && error) {
        *error = describeErrno(QStringLiteral("cannot write"), path);
    }
    return ::close(fd) == 0 && ok;
}

bool PrivateFiles::writeAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QByteArray temp = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC); // mkostemp creates the file 0600
    if (fd < 0) {
        if (error) {
            *error = describeErrno(QStringLiteral("cannot create a temporary file for"), path);
        }
        return false;
    }
    ::fchmod(fd, privateFileMode);
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok && error) {
        *error = describeErrno(QStringLiteral("cannot write"), path);
    }
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        if (error) {
            *error = describeErrno(QStringLiteral("cannot replace"), path);
        }
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    syncFolderOf(path);
    return true;
}
