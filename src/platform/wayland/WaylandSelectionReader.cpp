#include "platform/wayland/WaylandSelectionReader.h"

#include "platform/MimeTypeTable.h"
#include "platform/PasteboardTypes.h"
#include "platform/SelectionDecoding.h"
#include "platform/UriList.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
// Reads are done in pieces of this size.
constexpr qsizetype readChunkBytes = 1 << 16;

int millisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return int(std::max<std::int64_t>(left.count(), 0));
}

struct Pipe
{
    int read = -1;
    int write = -1;
    ~Pipe()
    {
        for (int fd : {read, write}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
};
} // namespace

WaylandSelectionReader::WaylandSelectionReader(std::shared_ptr<SelectionSession> session, std::uint64_t serial,
                                               std::chrono::steady_clock::time_point deadline, qint64 maxTransferBytes)
    : m_session(std::move(session)), m_deadline(deadline), m_maxTransferBytes(maxTransferBytes)
{
    if (!m_session) {
        m_failed = true;
        return;
    }
    m_selection = m_session->snapshot();
    // A change that another has replaced while it waited its turn is not read: what is on the
    // clipboard now may come from another program (one the user asked us to ignore).
    m_failed = !m_selection.available || m_selection.serial != serial;
}

bool WaylandSelectionReader::offers(const QByteArray& mime) const
{
    return m_selection.mimeTypes.contains(mime);
}

std::optional<QStringList> WaylandSelectionReader::types()
{
    if (m_failed) {
        return std::nullopt;
    }
    return MimeTypeTable::identifiersFor(m_selection.mimeTypes);
}

std::optional<bool> WaylandSelectionReader::offersAnyOf(const QSet<QString>& types)
{
    if (m_failed) {
        return std::nullopt;
    }
    // Concealed markers are MIME types of their own: the whole list is looked at.
    for (const QByteArray& mime : std::as_const(m_selection.mimeTypes)) {
        if (types.contains(QString::fromUtf8(mime))) {
            return true;
        }
    }
    const QStringList identifiers = MimeTypeTable::identifiersFor(m_selection.mimeTypes);
    return std::any_of(identifiers.cbegin(), identifiers.cend(),
                       [&](const QString& identifier) { return types.contains(identifier); });
}

std::optional<QByteArray> WaylandSelectionReader::data(const QString& type)
{
    if (m_failed || type == PasteboardType::fileUrl || type == PasteboardType::color) {
        return std::nullopt;
    }
    QList<QByteArray> candidates = MimeTypeTable::targetsFor(type);
    if (candidates.isEmpty()) {
        candidates.append(type.toUtf8());
    }
    for (const QByteArray& mime : candidates) {
        if (!offers(mime)) {
            continue;
        }
        if (auto bytes = fetch(mime)) {
            return bytes;
        }
        if (m_failed) {
            return std::nullopt;
        }
    }
    if (type == PasteboardType::png) {
        for (const QByteArray& mime : MimeTypeTable::convertibleImageTargets(m_selection.mimeTypes)) {
            const auto bytes = fetch(mime);
            if (m_failed) {
                return std::nullopt;
            }
            if (auto png = bytes ? SelectionDecoding::rasterImageAsPng(*bytes, MimeTypeTable::rasterFormatOf(mime))
                                 : std::nullopt) {
                return png;
            }
        }
    }
    return std::nullopt;
}

std::optional<UrlList> WaylandSelectionReader::urls()
{
    for (const char* mime : {MimeTypeTable::uriList, MimeTypeTable::gnomeCopiedFiles}) {
        if (!offers(mime)) {
            continue;
        }
        if (const auto bytes = fetch(mime)) {
            return UriList::parse(*bytes, mime == MimeTypeTable::gnomeCopiedFiles);
        }
        if (m_failed) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<QList<QColor>> WaylandSelectionReader::colors()
{
    if (!offers(MimeTypeTable::xColor)) {
        return std::nullopt;
    }
    const auto bytes = fetch(MimeTypeTable::xColor);
    const auto color = bytes ? SelectionDecoding::colorFromXColor(*bytes) : std::nullopt;
    if (!color) {
        return std::nullopt;
    }
    return QList<QColor>{*color};
}

std::optional<QByteArray> WaylandSelectionReader::fetch(const QByteArray& mime)
{
    if (m_failed) {
        return std::nullopt;
    }
    if (const auto found = m_fetched.constFind(mime); found != m_fetched.constEnd()) {
        return *found;
    }
    std::optional<QByteArray> bytes;
    if (m_selection.own) {
        // Our own content: no pipe to ourselves.
        for (const ClipboardTarget& target : *m_selection.own) {
            if (target.name == mime) {
                bytes = target.bytes;
                break;
            }
        }
    } else {
        bytes = readPipe(mime);
    }
    if (!m_failed) {
        m_fetched.insert(mime, bytes);
    }
    return bytes;
}

std::optional<QByteArray> WaylandSelectionReader::readPipe(const QByteArray& mime)
{
    if (std::chrono::steady_clock::now() >= m_deadline) {
        m_failed = true;
        return std::nullopt;
    }
    Pipe pipe;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        m_failed = true;
        return std::nullopt;
    }
    pipe.read = fds[0];
    ::fcntl(pipe.read, F_SETFL, O_NONBLOCK);
    // The session takes the write end.
    std::future<bool> asked = m_session->receive(m_selection.serial, mime, fds[1]);
    if (asked.wait_until(m_deadline) != std::future_status::ready || !asked.get()) {
        // Deadline passed, or the selection changed since this change was opened.
        m_failed = true;
        return std::nullopt;
    }
    QByteArray bytes;
    char buffer[readChunkBytes];
    for (;;) {
        const ssize_t got = ::read(pipe.read, buffer, sizeof buffer);
        if (got > 0) {
            if (bytes.size() + got > m_maxTransferBytes) {
                m_failed = true;
                return std::nullopt;
            }
            bytes.append(buffer, got);
            continue;
        }
        if (got == 0) {
            return bytes;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_failed = true;
            return std::nullopt;
        }
        pollfd wait{pipe.read, POLLIN, 0};
        const int timeout = millisecondsUntil(m_deadline);
        if (timeout == 0 || ::poll(&wait, 1, timeout) == 0) {
            // An owner that has not finished writing by the deadline: this change yields nothing.
            m_failed = true;
            return std::nullopt;
        }
    }
}
