#include "history/HistoryFolder.h"

#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <array>

namespace {
const QString imagesName = QStringLiteral("images");
const QString assetsName = QStringLiteral("assets");

// An entry's path as the name of its folder and its own name: ("images", "<UUID>.png").
struct PathTail
{
    QString folder;
    QString name;

    QString joined() const { return folder + QLatin1Char('/') + name; }
};

PathTail tailOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return {};
    }
    const QStringView parent = QStringView(path).left(slash);
    return {parent.mid(parent.lastIndexOf(QLatin1Char('/')) + 1).toString(), path.mid(slash + 1)};
}

std::array<std::optional<QString>*, 3> pathsOf(ClipboardItem& item)
{
    return {&item.imagePath, &item.thumbnailPath, &item.assetPath};
}

// A name the store gives its files: a UUID, a dot and an extension.
bool isStoredFileName(QStringView name)
{
    static const QRegularExpression form(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\.[A-Za-z0-9]+$"));
    return form.match(name).hasMatch();
}

bool isSymLink(const QString& path)
{
    return QFileInfo(path).isSymLink();
}
} // namespace

HistoryFolder::HistoryFolder(const QString& path) : m_path(QDir::cleanPath(path)) {}

QString HistoryFolder::historyFile() const
{
    return m_path + QStringLiteral("/history.json");
}

QString HistoryFolder::images() const
{
    return m_path + QLatin1Char('/') + imagesName;
}

QString HistoryFolder::assets() const
{
    return m_path + QLatin1Char('/') + assetsName;
}

QStringList HistoryFolder::prepare()
{
    PrivateFiles::ensureFolder(m_path);
    QStringList refused;
    for (auto [folder, isRefused] : {std::pair{images(), &m_imagesRefused}, std::pair{assets(), &m_assetsRefused}}) {
        // Making a link's target private (or emptying it later) would act on a folder that is not ours.
        *isRefused = isSymLink(folder);
        if (*isRefused) {
            refused.append(folder);
        } else {
            PrivateFiles::ensureFolder(folder);
        }
    }
    return refused;
}

bool HistoryFolder::canStoreIn(const QString& folder) const
{
    return (folder == images() && !m_imagesRefused) || (folder == assets() && !m_assetsRefused);
}

bool HistoryFolder::owns(const QString& path) const
{
    // Only files directly inside images/ or assets/ are the store's: an entry read from a history
    // file written elsewhere (or by hand) may name any path, and removing it must not delete that.
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return false;
    }
    const QStringView name = QStringView(path).mid(slash + 1);
    if (name.isEmpty() || name == u"." || name == u"..") {
        return false;
    }
    return canStoreIn(path.left(slash));
}

int HistoryFolder::repoint(QList<ClipboardItem>& items) const
{
    int changed = 0;
    for (ClipboardItem& item : items) {
        bool moved = false;
        for (std::optional<QString>* path : pathsOf(item)) {
            if (!*path) {
                continue;
            }
            const PathTail tail = tailOf(**path);
            if ((tail.folder != imagesName && tail.folder != assetsName) || !isStoredFileName(tail.name)) {
                continue;
            }
            const QString here = m_path + QLatin1Char('/') + tail.joined();
            if (here != **path && (QFileInfo::exists(here) || isSymLink(here))) {
                *path = here;
                moved = true;
            }
        }
        changed += moved ? 1 : 0;
    }
    return changed;
}

QString HistoryFolder::setAsideHistory() const
{
    const QStringList names = QDir(m_path).entryList({QStringLiteral("history.json.unreadable-*")},
                                                     QDir::AllEntries | QDir::Hidden | QDir::System);
    return names.isEmpty() ? QString() : m_path + QLatin1Char('/') + names.first();
}

void HistoryFolder::removeStaleTemporaryFiles() const
{
    // A save cut short by a crash or a kill leaves its temporary file (history.json.XXXXXX) behind.
    static const QRegularExpression temporary(QStringLiteral("^history\\.json\\.[A-Za-z0-9]{6}$"));
    const QStringList names = QDir(m_path).entryList({QStringLiteral("history.json.*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (temporary.match(name).hasMatch()) {
            QFile::remove(m_path + QLatin1Char('/') + name);
        }
    }
}

void HistoryFolder::sweep(const QList<ClipboardItem>& items) const
{
    // By name, not by the whole path: the entries may spell this folder another way.
    QSet<QString> named;
    for (const ClipboardItem& item : items) {
        for (const auto* path : {&item.imagePath, &item.thumbnailPath, &item.assetPath}) {
            if (*path) {
                named.insert(tailOf(**path).joined());
            }
        }
    }
    for (const QString& folderName : {imagesName, assetsName}) {
        const QString folder = m_path + QLatin1Char('/') + folderName;
        if (!canStoreIn(folder)) {
            continue;
        }
        const QStringList names =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            const QString path = folder + QLatin1Char('/') + name;
            const QFileInfo info(path);
            // A link goes as a link; what it points to is neither removed nor made private.
            if (named.contains(folderName + QLatin1Char('/') + name)) {
                if (info.isFile() && !info.isSymLink()) {
                    PrivateFiles::restrictFile(path);
                }
            } else if (isStoredFileName(name) && (info.isSymLink() || info.isFile())) {
                QFile::remove(path);
            }
        }
    }
}
