// The history: the ordered entries, their image and document files, and the history file.
#pragma once

#include "history/ClipboardItem.h"
#include "history/HistoryFolder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class Scheduler;

class ClipboardStore : public QObject
{
    Q_OBJECT
public:
    // Folder layout: <folder>/history.json, <folder>/images/, <folder>/assets/.
    // `cap` reads the history cap at the moment it is needed.
    ClipboardStore(const QString& folder, Scheduler& scheduler, std::function<std::int64_t()> cap,
                   QObject* parent = nullptr);
    ~ClipboardStore() override;

    // The one store of the program, in Stashwell/ of the application data folder.
    static ClipboardStore& shared();

    const QList<ClipboardItem>& items() const { return m_items; }

    void add(const ClipboardItem& item);
    void remove(const ClipboardItem& item);
    void togglePin(const ClipboardItem& item);
    void applyMaxHistoryItems();
    void clearAll();
    // Writes the history file now, cancelling a pending delayed save.
    void flush();

    // Store bytes as a new file named by a fresh UUID; the path is returned even when the write
    // fails. Safe to call from the capture worker's thread: they touch no mutable state.
    QString saveImage(const QByteArray& data, const QString& ext = QStringLiteral("png")) const;
    QString saveAsset(const QByteArray& data, const QString& ext) const;

    QString folder() const { return m_files.path(); }
    QString historyFilePath() const;
    QString imagesFolder() const;
    QString assetsFolder() const;

    // The delay between the last change and the write of the history file.
    static constexpr int saveDelayMs = 400;
    // The longest a change waits for its write: a burst that goes on (a script copying every tenth
    // of a second) would otherwise put the write off for as long as it lasts, and a crash meanwhile
    // would lose all of it.
    static constexpr int maxSaveWaitMs = 2 * saveDelayMs;

signals:
    void itemsChanged();

private:
    void load();
    void renewDuplicateIds();
    void gcOrphanedAssets();
    void save();
    void cancelPendingSave();
    void persistNow();
    void deleteFile(const QString& path) const;
    void deleteFiles(const ClipboardItem& item) const;
    // Files of entries that are gone (replaced or refused duplicates) that no entry names any more.
    void deleteUnreferencedFiles(const QList<ClipboardItem>& gone) const;
    void trimToCap();
    qsizetype firstUnpinnedIndex() const;

    HistoryFolder m_files;
    Scheduler& m_scheduler;
    std::function<std::int64_t()> m_cap;
    QList<ClipboardItem> m_items;
    std::uint64_t m_saveTask = 0;
    std::uint64_t m_saveDeadline = 0; // since the first change not yet written
    bool m_saveFailing = false;
};
