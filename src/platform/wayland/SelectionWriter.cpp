#include "platform/wayland/SelectionWriter.h"

#include "platform/wayland/WaylandConnection.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The Wayland thread blocks SIGPIPE; one raised by a write to a closed pipe stays pending on it
// unless taken, so it is taken here.
void discardBrokenPipeSignal()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    const timespec now{0, 0};
    while (sigtimedwait(&set, nullptr, &now) == SIGPIPE) {
    }
}
} // namespace

SelectionWriter::~SelectionWriter()
{
    for (const auto& [fd, transfer] : m_transfers) {
        ::close(fd);
    }
}

void SelectionWriter::send(int fd, const QByteArray& bytes)
{
    if (m_transfers.size() >= maxTransfers) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_transfers[fd] = Transfer{bytes, 0, std::chrono::steady_clock::now()};
    if (!writeSome(fd)) {
        finish(fd);
        return;
    }
    m_connection.watchWritable(fd, [this, fd] {
        if (writeSome(fd)) {
            return true;
        }
        finish(fd);
        return false;
    });
    if (!m_stallCheckPosted) {
        m_stallCheckPosted = true;
        m_connection.post([this] { checkStalls(); }, std::chrono::seconds(1));
    }
}

bool SelectionWriter::writeSome(int fd)
{
    const auto found = m_transfers.find(fd);
    if (found == m_transfers.end()) {
        return false;
    }
    Transfer& transfer = found->second;
    while (transfer.offset < transfer.bytes.size()) {
        const ssize_t written =
            ::write(fd, transfer.bytes.constData() + transfer.offset, size_t(transfer.bytes.size() - transfer.offset));
        if (written > 0) {
            transfer.offset += written;
            transfer.lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true; // the rest when the reader has taken some
        }
        if (errno == EPIPE) {
            discardBrokenPipeSignal();
        }
        return false;
    }
    return false; // all written
}

void SelectionWriter::finish(int fd)
{
    if (m_transfers.erase(fd) > 0) {
        ::close(fd);
    }
}

void SelectionWriter::checkStalls()
{
    m_stallCheckPosted = false;
    const auto now = std::chrono::steady_clock::now();
    for (auto it = m_transfers.begin(); it != m_transfers.end();) {
        if (now - it->second.lastProgress > stallTimeout) {
            // The watch ends on its own: writeSome finds no transfer and says it is over.
            ::close(it->first);
            it = m_transfers.erase(it);
        } else {
            ++it;
        }
    }
    if (!m_transfers.empty()) {
        m_stallCheckPosted = true;
        m_connection.post([this] { checkStalls(); }, std::chrono::seconds(1));
    }
}
