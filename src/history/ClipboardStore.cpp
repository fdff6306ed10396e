#include "history/ClipboardStore.h"

#include "history/HistoryFile.h"
#include "platform/Platform.h"
#include "platform/PrivateFiles.h"
#include "platform/Scheduler.h"
#include "platform/SystemLog.h"
#include "settings/AppSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
QString newFileName(const QString& ext)
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QLatin1Char('.') + ext;
}

// A failed write leaves no partial file: readers of the entry then fall back as for a missing file.
QString writeNewFile(const HistoryFolder& files, const QString& folder, const QByteArray& data, const QString& ext)
{
    const QString path = folder + QLatin1Char('/') + newFileName(ext);
    if (files.canStoreIn(folder) && !PrivateFiles::write(path, data)) {
        QFile::remove(path);
    }
    return path;
}

void log(const QString& line)
{
    if (SystemLog* systemLog = Platform::current().log) {
        systemLog->write(line);
    }
}
} // namespace

ClipboardStore::ClipboardStore(const QString& folder, Scheduler& scheduler, std::function<std::int64_t()> cap,
                               QObject* parent)
    : QObject(parent), m_files(folder), m_scheduler(scheduler), m_cap(std::move(cap))
{
    for (const QString& refused : m_files.prepare()) {
        log(QStringLiteral("Stashwell: %1 is a symbolic link; no files are stored in it or deleted from it")
                .arg(refused));
    }
    load();
}

ClipboardStore::~ClipboardStore()
{
    cancelPendingSave();
}

ClipboardStore& ClipboardStore::shared()
{
    static ClipboardStore* store = [] {
        const Platform& platform = Platform::current();
        if (platform.dataFolder.isEmpty() || !QDir().mkpath(platform.dataFolder)) {
            std::fprintf(stderr, "Stashwell could not access its data folder (%s). Check disk permissions.\n",
                         qUtf8Printable(platform.dataFolder + QStringLiteral("/Stashwell")));
            std::fflush(stderr);
            std::_Exit(EXIT_FAILURE);
        }
        return new ClipboardStore(platform.dataFolder + QStringLiteral("/Stashwell"), *platform.scheduler,
                                  [] { return AppSettings::shared().maxHistoryItems(); });
    }();
    return *store;
}

QString ClipboardStore::historyFilePath() const
{
    return m_files.historyFile();
}

QString ClipboardStore::imagesFolder() const
{
    return m_files.images();
}

QString ClipboardStore::assetsFolder() const
{
    return m_files.assets();
}

void ClipboardStore::load()
{
    m_files.removeStaleTemporaryFiles();
    const QString path = historyFilePath();
    QFile file(path);
    if (!file.exists()) {
        gcOrphanedAssets();
        return;
    }
    PrivateFiles::restrictFile(path);
    QString reason;
    std::optional<QList<ClipboardItem>> decoded;
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else {
        decoded = HistoryFile::decode(file.readAll(), &reason);
        file.close();
    }
    if (decoded) {
        m_items = std::move(*decoded);
        renewDuplicateIds();
        if (const int moved = m_files.repoint(m_items)) {
            log(QStringLiteral("Stashwell: %1 entries named their files under another path; they now name them in %2")
                    .arg(moved)
                    .arg(m_files.path()));
        }
        gcOrphanedAssets();
        return;
    }
    // Never lose a history we could not read: keep it aside for the user (or a later version) and do
    // not sweep, since every stored image and document would look orphaned.
    const QString stem = path + QStringLiteral(".unreadable-") +
                         QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    // Two failed loads within one second must not overwrite the first copy kept aside.
    QString aside = stem;
    for (int n = 2; QFileInfo::exists(aside) && n < 1000; ++n) {
        aside = stem + QLatin1Char('-') + QString::number(n);
    }
    if (QFile::rename(path, aside)) {
        log(QStringLiteral("Stashwell: history could not be read (%1); kept as %2").arg(reason, aside));
    } else {
        log(QStringLiteral("Stashwell: history could not be read (%1)").arg(reason));
    }
}

void ClipboardStore::renewDuplicateIds()
{
    // Entries are found by id: a second entry with the same id would be pinned or removed in place
    // of the first. The first keeps it.
    QSet<QUuid> seen;
    int renewed = 0;
    for (ClipboardItem& item : m_items) {
        if (seen.contains(item.id)) {
            item.id = QUuid::createUuid();
            ++renewed;
        }
        seen.insert(item.id);
    }
    if (renewed > 0) {
        log(QStringLiteral("Stashwell: %1 history entries repeated an earlier entry's id; they got new ids")
                .arg(renewed));
    }
}

void ClipboardStore::gcOrphanedAssets()
{
    // The pictures and documents of a history kept aside are named by nothing loaded: sweeping would
    // delete all of them.
    if (const QString aside = m_files.setAsideHistory(); !aside.isEmpty()) {
        log(QStringLiteral("Stashwell: stored files are not swept while %1 is kept aside").arg(aside));
        return;
    }
    m_files.sweep(m_items);
}

qsizetype ClipboardStore::firstUnpinnedIndex() const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (!m_items[i].isPinned) {
            return i;
        }
    }
    return -1;
}

void ClipboardStore::add(const ClipboardItem& item)
{
    const QString key = item.dedupeKey();
    // The kind leads the key, so entries of another kind never match: their keys are not built.
    const auto sameContent = [&item, &key](const ClipboardItem& other) {
        return other.kind == item.kind && other.dedupeKey() == key;
    };
    const qsizetype newest = firstUnpinnedIndex();
    if (newest >= 0 && sameContent(m_items[newest])) {
        // The capture stored this copy's image and document bytes anew: nothing will name them.
        deleteUnreferencedFiles({item});
        return;
    }

    ClipboardItem entry = item;
    QList<ClipboardItem> replaced;
    const auto first = std::find_if(m_items.cbegin(), m_items.cend(), sameContent);
    if (first != m_items.cend()) {
        entry.isPinned = first->isPinned;
        const qsizetype from = first - m_items.cbegin();
        const auto end =
            std::stable_partition(m_items.begin() + from, m_items.end(),
                                  [&sameContent](const ClipboardItem& other) { return !sameContent(other); });
        replaced = QList<ClipboardItem>(end, m_items.end());
        m_items.erase(end, m_items.end());
    }

    const qsizetype at = firstUnpinnedIndex();
    m_items.insert(at >= 0 ? at : m_items.size(), std::move(entry));
    deleteUnreferencedFiles(replaced);

    if (m_cap() >= m_items.size()) {
        emit itemsChanged();
        save();
        return;
    }
    trimToCap();
}

void ClipboardStore::applyMaxHistoryItems()
{
    if (m_cap() >= m_items.size()) {
        return;
    }
    trimToCap();
}

void ClipboardStore::trimToCap()
{
    // Pinned entries first, each part in its order. Every list this store builds has them on top
    // already; one loaded from a file may have them anywhere.
    const auto isPinned = [](const ClipboardItem& entry) { return entry.isPinned; };
    if (!std::is_partitioned(m_items.cbegin(), m_items.cend(), isPinned)) {
        std::stable_partition(m_items.begin(), m_items.end(), isPinned);
    }
    const qsizetype pinnedCount = std::partition_point(m_items.cbegin(), m_items.cend(), isPinned) - m_items.cbegin();
    const std::int64_t keep = std::max<std::int64_t>(0, m_cap() - pinnedCount);
    const qsizetype end =
        pinnedCount + static_cast<qsizetype>(std::min<std::int64_t>(keep, m_items.size() - pinnedCount));
    for (qsizetype i = end; i < m_items.size(); ++i) {
        deleteFiles(m_items[i]);
    }
    m_items.remove(end, m_items.size() - end);
    emit itemsChanged();
    save();
}

void ClipboardStore::remove(const ClipboardItem& item)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].id == item.id) {
            const ClipboardItem removed = m_items.takeAt(i);
            deleteFiles(removed);
            emit itemsChanged();
            save();
            return;
        }
    }
}

void ClipboardStore::togglePin(const ClipboardItem& item)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].id == item.id) {
            ClipboardItem entry = m_items.takeAt(i);
            entry.isPinned = !entry.isPinned;
            if (entry.isPinned) {
                m_items.insert(0, std::move(entry));
            } else {
                const qsizetype at = firstUnpinnedIndex();
                m_items.insert(at >= 0 ? at : m_items.size(), std::move(entry));
            }
            emit itemsChanged();
            save();
            return;
        }
    }
}

void ClipboardStore::clearAll()
{
    QList<ClipboardItem> pinned;
    for (ClipboardItem& item : m_items) {
        if (item.isPinned) {
            pinned.append(std::move(item));
        } else {
            deleteFiles(item);
        }
    }
    m_items = std::move(pinned);
    emit itemsChanged();
    save();
}

void ClipboardStore::deleteFile(const QString& path) const
{
    if (m_files.owns(path)) {
        QFile::remove(path);
    }
}

void ClipboardStore::deleteFiles(const ClipboardItem& item) const
{
    if (item.imagePath) {
        deleteFile(*item.imagePath);
    }
    if (item.thumbnailPath && item.thumbnailPath != item.imagePath) {
        deleteFile(*item.thumbnailPath);
    }
    if (item.assetPath) {
        deleteFile(*item.assetPath);
    }
}

void ClipboardStore::deleteUnreferencedFiles(const QList<ClipboardItem>& gone) const
{
    // Files are never shared between entries this store makes, but a history written elsewhere (or
    // by hand) may name one file twice: such a file stays while any entry still names it.
    QSet<QString> candidates;
    for (const ClipboardItem& item : gone) {
        for (const auto* path : {&item.imagePath, &item.thumbnailPath, &item.assetPath}) {
            if (*path && m_files.owns(**path)) {
                candidates.insert(**path);
            }
        }
    }
    if (candidates.isEmpty()) {
        return;
    }
    for (const ClipboardItem& item : m_items) {
        for (const auto* path : {&item.imagePath, &item.thumbnailPath, &item.assetPath}) {
            if (*path) {
                candidates.remove(**path);
            }
        }
    }
    for (const QString& path : std::as_const(candidates)) {
        QFile::remove(path);
    }
}

void ClipboardStore::save()
{
    m_scheduler.cancel(m_saveTask);
    m_saveTask = m_scheduler.schedule(saveDelayMs, [this] { flush(); });
    if (m_saveDeadline == 0) {
        m_saveDeadline = m_scheduler.schedule(maxSaveWaitMs, [this] { flush(); });
    }
}

void ClipboardStore::cancelPendingSave()
{
    m_scheduler.cancel(m_saveTask);
    m_scheduler.cancel(m_saveDeadline);
    m_saveTask = 0;
    m_saveDeadline = 0;
}

void ClipboardStore::flush()
{
    cancelPendingSave();
    persistNow();
}

void ClipboardStore::persistNow()
{
    QString error;
    const bool saved = PrivateFiles::writeAtomically(historyFilePath(), HistoryFile::encode(m_items), &error);
    // The old file stays whole and the next change tries again; say so once per run of failures (a
    // full disk would otherwise repeat the line at every copy).
    if (!saved && !m_saveFailing) {
        log(QStringLiteral("Stashwell: could not save the history: ") + error);
    }
    m_saveFailing = !saved;
}

QString ClipboardStore::saveImage(const QByteArray& data, const QString& ext) const
{
    return writeNewFile(m_files, imagesFolder(), data, ext);
}

QString ClipboardStore::saveAsset(const QByteArray& data, const QString& ext) const
{
    return writeNewFile(m_files, assetsFolder(), data, ext);
}
