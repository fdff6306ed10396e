// A copied file list may name anything: a FIFO whose open() waits for a writer forever, a link to
// /dev/zero that never ends, a device whose open() has effects. Only regular files are opened, and
// the check is made twice: before opening, so nothing else is ever opened, and on the open file,
// so a path swapped in between is caught.
#include "popup/PreviewFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What QMimeDatabase reads of a file to match its content rules.
constexpr qint64 sniffBytes = 16 * 1024;
constexpr qint64 chunkBytes = 64 * 1024;

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::optional<PreviewFile::Head> read(const QString& path, qint64 maxBytes, bool wholeOnly)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status = {};
    if (name.isEmpty() || maxBytes < 0 || ::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        (wholeOnly && status.st_size > maxBytes)) {
        return std::nullopt;
    }
    // One byte past the limit tells a file that ends there from one that goes on.
    const qint64 limit = maxBytes + 1;
    PreviewFile::Head head;
    head.bytes.reserve(static_cast<qsizetype>(std::min<qint64>(status.st_size + 1, limit)));
    qint64 size = 0;
    while (size < limit) {
        const qint64 wanted = std::min(chunkBytes, limit - size);
        head.bytes.resize(static_cast<qsizetype>(size + wanted));
        const ssize_t got = ::read(file.get(), head.bytes.data() + size, static_cast<size_t>(wanted));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            head.isWhole = true;
            break;
        }
        size += got;
    }
    head.bytes.resize(static_cast<qsizetype>(size));
    if (!head.isWhole) {
        if (wholeOnly) {
            return std::nullopt; // it grew past the limit while being read
        }
        head.bytes.truncate(static_cast<qsizetype>(maxBytes));
    }
    return head;
}
} // namespace

std::optional<PreviewFile::Head> PreviewFile::readHead(const QString& path, qint64 maxBytes)
{
    return read(path, maxBytes, false);
}

std::optional<QByteArray> PreviewFile::readWhole(const QString& path, qint64 maxBytes)
{
    std::optional<Head> head = read(path, maxBytes, true);
    if (!head) {
        return std::nullopt;
    }
    return std::move(head->bytes);
}

QString PreviewFile::typeName(const QString& path)
{
    static const QMimeDatabase database;
    struct stat status = {};
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || ::stat(name.constData(), &status) != 0) {
        return database.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    }
    if (S_ISREG(status.st_mode)) {
        const std::optional<Head> head = readHead(path, sniffBytes);
        return (head ? database.mimeTypeForFileNameAndData(QFileInfo(path).fileName(), head->bytes)
                     : database.mimeTypeForFile(path, QMimeDatabase::MatchExtension))
            .name();
    }
    if (S_ISDIR(status.st_mode)) {
        return QStringLiteral("inode/directory");
    }
    if (S_ISFIFO(status.st_mode)) {
        return QStringLiteral("inode/fifo");
    }
    if (S_ISCHR(status.st_mode)) {
        return QStringLiteral("inode/chardevice");
    }
    if (S_ISBLK(status.st_mode)) {
        return QStringLiteral("inode/blockdevice");
    }
    if (S_ISSOCK(status.st_mode)) {
        return QStringLiteral("inode/socket");
    }
    return QStringLiteral("application/octet-stream");
}
