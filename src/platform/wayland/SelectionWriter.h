// Serves our clipboard content to the programs that ask for it: each send request is written into
// its pipe without blocking, a piece at a time as the reader takes it, on the Wayland thread.
#pragma once

#include <QByteArray>
#include <chrono>
#include <map>

class WaylandConnection;

class SelectionWriter
{
public:
    // A reader that takes nothing for this long has gone away.
    static constexpr std::chrono::seconds stallTimeout{10};
    // Transfers beyond this many at once are refused (their pipe is closed at once).
    static constexpr std::size_t maxTransfers = 32;

    explicit SelectionWriter(WaylandConnection& connection) : m_connection(connection) {}
    ~SelectionWriter();
    SelectionWriter(const SelectionWriter&) = delete;
    SelectionWriter& operator=(const SelectionWriter&) = delete;

    // Takes ownership of `fd`.
    void send(int fd, const QByteArray& bytes);
    std::size_t transfers() const { return m_transfers.size(); }

private:
    struct Transfer
    {
        QByteArray bytes;
        qsizetype offset = 0;
        std::chrono::steady_clock::time_point lastProgress;
    };

    // Writes what the pipe takes now; false when the transfer is over (done or failed).
    bool writeSome(int fd);
    void finish(int fd);
    void checkStalls();

    WaylandConnection& m_connection;
    std::map<int, Transfer> m_transfers;
    bool m_stallCheckPosted = false;
};
