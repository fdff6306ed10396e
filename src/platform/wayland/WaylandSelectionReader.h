// Reads the selection of one change through data control, on the capture worker's thread: each type
// comes through a pipe the owner writes, within the change's deadline and the size cap.
#pragma once

#include "platform/PasteboardReader.h"
#include "platform/wayland/SelectionSession.h"

#include <QHash>

class WaylandSelectionReader final : public PasteboardReader
{
public:
    // Reads the selection of `serial` (SelectionSession::Snapshot::serial) and fails once another
    // has taken its place.
    WaylandSelectionReader(std::shared_ptr<SelectionSession> session, std::uint64_t serial,
                           std::chrono::steady_clock::time_point deadline, qint64 maxTransferBytes = transferCapBytes);

    std::optional<QStringList> types() override;
    std::optional<bool> offersAnyOf(const QSet<QString>& types) override;
    std::optional<QByteArray> data(const QString& type) override;
    std::optional<UrlList> urls() override;
    std::optional<QList<QColor>> colors() override;
    bool hasFailed() const override { return m_failed; }

private:
    bool offers(const QByteArray& mime) const;
    // The bytes of one offered MIME type (cached); nothing when refused, or the change failed.
    std::optional<QByteArray> fetch(const QByteArray& mime);
    std::optional<QByteArray> readPipe(const QByteArray& mime);

    std::shared_ptr<SelectionSession> m_session;
    std::chrono::steady_clock::time_point m_deadline;
    qint64 m_maxTransferBytes;
    SelectionSession::Snapshot m_selection;
    bool m_failed = false;
    QHash<QByteArray, std::optional<QByteArray>> m_fetched;
};
