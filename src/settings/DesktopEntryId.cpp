#include "settings/DesktopEntryId.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Real entries are a few kilobytes; a larger file is read only this far.
constexpr qint64 readLimit = 256 * 1024;

std::optional<QString> relativeTo(const QString& path, const QString& folder)
{
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    const QString prefix = QDir::cleanPath(folder) + QLatin1Char('/');
    if (!path.startsWith(prefix)) {
        return std::nullopt;
    }
    return path.mid(prefix.size());
}

std::optional<QString> pathBelowFolders(const QString& path, const QStringList& folders)
{
    const QString clean = QDir::cleanPath(path);
    for (const QString& folder : folders) {
        if (auto relative = relativeTo(clean, folder)) {
            return relative;
        }
    }
    // The dialog may hand back a path through a symbolic link of the folder, or the other way round.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const QString& folder : folders) {
        if (auto relative = relativeTo(canonical, QFileInfo(folder).canonicalFilePath())) {
            return relative;
        }
    }
    return std::nullopt;
}

bool isUsableId(const QString& id)
{
    if (id.trimmed().isEmpty()) {
        return false;
    }
    for (const QChar c : id) {
        if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter) {
            return false;
        }
    }
    return true;
}
} // namespace

bool DesktopEntryId::isApplicationEntry(const QByteArray& contents)
{
    bool inMainGroup = false;
    for (const QByteArray& rawLine : contents.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        if (line.startsWith('[')) {
            if (inMainGroup) {
                return false; // the main group ended without saying what it is
            }
            if (line != "[Desktop Entry]") {
                return false;
            }
            inMainGroup = true;
            continue;
        }
        if (!inMainGroup) {
            return false; // a key before any group
        }
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == "Type") {
            return line.mid(equals + 1).trimmed() == "Application";
        }
    }
    return false;
}

std::optional<QString> DesktopEntryId::forFile(const QString& path, const QStringList& applicationFolders)
{
    static const QString suffix = QStringLiteral(".desktop");
    const QString relative = pathBelowFolders(path, applicationFolders).value_or(QFileInfo(path).fileName());
    if (!relative.endsWith(suffix)) {
        return std::nullopt;
    }
    QString id = relative.chopped(suffix.size());
    id.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (!isUsableId(id)) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !isApplicationEntry(file.read(readLimit))) {
        return std::nullopt;
    }
    return id;
}
