#include "platform/xdg/DesktopEntryIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <algorithm>
#include <tuple>

namespace {
constexpr qint64 maxEntryBytes = 1024 * 1024;

QDateTime modificationTime(const QString& folder)
{
    const QFileInfo info(folder);
    return info.exists() ? info.lastModified() : QDateTime();
}

// The program of an Exec line: the first word, unquoted, without its folder.
QString executableOf(const QString& exec)
{
    QString first = exec.trimmed().section(QLatin1Char(' '), 0, 0);
    if (first.startsWith(QLatin1Char('"'))) {
        first = exec.trimmed().mid(1).section(QLatin1Char('"'), 0, 0);
    }
    return QFileInfo(first).fileName();
}

// Whether Exec gives its program more than the field codes through which files and URLs come in.
bool hasArguments(const QString& exec)
{
    static const QStringList fieldCodes = {QStringLiteral("%f"), QStringLiteral("%F"), QStringLiteral("%u"),
                                           QStringLiteral("%U"), QStringLiteral("%i"), QStringLiteral("%c"),
                                           QStringLiteral("%k")};
    QStringList words = exec.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!words.isEmpty() && words.first().startsWith(QLatin1Char('"'))) {
        return !exec.trimmed().mid(1).section(QLatin1Char('"'), 1).trimmed().isEmpty();
    }
    words.removeFirst();
    return std::any_of(words.cbegin(), words.cend(), [](const QString& word) { return !fieldCodes.contains(word); });
}

// Whether the entry's id names the program: "org.xfce.mousepad" and "mousepad" for mousepad.
bool idEndsWithProgram(const QString& id, const QString& executable)
{
    const QString lowerId = id.toLower();
    const QString lowerProgram = executable.toLower();
    if (lowerId == lowerProgram) {
        return true;
    }
    return lowerId.endsWith(lowerProgram) &&
           QStringLiteral(".-_").contains(lowerId.at(lowerId.size() - lowerProgram.size() - 1));
}
} // namespace

DesktopEntryIndex::DesktopEntryIndex(std::function<QStringList()> folders, QString locale)
    : m_folders(std::move(folders)), m_locale(locale.isEmpty() ? QLocale::system().name() : std::move(locale))
{}

QStringList DesktopEntryIndex::standardFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::parse(const QByteArray& contents, const QString& id,
                                                                 const QString& locale)
{
    // Name[de_DE], Name[de], Name: the most specific translation wins.
    const QString language = locale.section(QLatin1Char('_'), 0, 0);
    const QStringList nameKeys = {QStringLiteral("Name[%1]").arg(locale), QStringLiteral("Name[%1]").arg(language),
                                  QStringLiteral("Name")};
    QHash<QString, QString> values;
    bool inMainGroup = false;
    for (const QByteArray& rawLine : contents.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (!values.contains(key)) {
            values.insert(key, line.mid(equals + 1).trimmed());
        }
    }
    if (values.value(QStringLiteral("Type")) != QLatin1String("Application") ||
        values.value(QStringLiteral("Hidden")) == QLatin1String("true")) {
        return std::nullopt;
    }
    Entry entry;
    entry.id = id;
    for (const QString& key : nameKeys) {
        if (const QString name = values.value(key); !name.isEmpty()) {
            entry.name = name;
            break;
        }
    }
    entry.startupWMClass = values.value(QStringLiteral("StartupWMClass"));
    const QString exec = values.value(QStringLiteral("Exec"));
    entry.executable = executableOf(exec);
    entry.execHasArguments = !exec.isEmpty() && hasArguments(exec);
    entry.noDisplay = values.value(QStringLiteral("NoDisplay")) == QLatin1String("true");
    return entry;
}

void DesktopEntryIndex::refreshIfChanged()
{
    bool changed = !m_scanned || m_folders() != m_roots;
    for (auto it = m_folderTimes.cbegin(); !changed && it != m_folderTimes.cend(); ++it) {
        changed = modificationTime(it.key()) != it.value();
    }
    if (changed) {
        scan();
    }
}

void DesktopEntryIndex::scan()
{
    m_scanned = true;
    m_roots = m_folders();
    m_folderTimes.clear();
    m_entries.clear();
    m_seenIds.clear();
    m_byId.clear();
    m_byLowerId.clear();
    m_byWMClass.clear();
    m_byExecutable.clear();
    for (const QString& root : std::as_const(m_roots)) {
        scanFolder(root, root, QString());
    }
}

void DesktopEntryIndex::scanFolder(const QString& root, const QString& folder, const QString& prefix)
{
    // Remembered even when missing, so that creating the folder later is noticed.
    m_folderTimes.insert(folder, modificationTime(folder));
    const QDir dir(folder);
    const QFileInfoList children =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    for (const QFileInfo& child : children) {
        if (child.isDir()) {
            // Entries in subfolders have ids joined with "-" (kde/konsole.desktop is "kde-konsole").
            if (prefix.count(QLatin1Char('-')) < 8 && !child.isSymLink()) {
                scanFolder(root, child.filePath(), prefix + child.fileName() + QLatin1Char('-'));
            }
            continue;
        }
        if (!child.fileName().endsWith(QLatin1String(".desktop")) || child.size() > maxEntryBytes) {
            continue;
        }
        const QString id = prefix + child.completeBaseName();
        if (m_seenIds.contains(id)) {
            continue; // an earlier folder's entry of the same id hides this one, even a Hidden one
        }
        m_seenIds.insert(id);
        QFile file(child.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const auto entry = parse(file.read(maxEntryBytes), id, m_locale);
        if (!entry) {
            continue;
        }
        const qsizetype index = m_entries.size();
        m_entries.append(*entry);
        m_byId.insert(id, index);
        if (!m_byLowerId.contains(id.toLower())) {
            m_byLowerId.insert(id.toLower(), index);
        }
        if (!entry->startupWMClass.isEmpty() && !m_byWMClass.contains(entry->startupWMClass)) {
            m_byWMClass.insert(entry->startupWMClass, index);
        }
        if (!entry->executable.isEmpty()) {
            m_byExecutable[entry->executable].append(index);
        }
    }
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::byId(const QString& id)
{
    const qsizetype index = m_byId.value(id, -1);
    return index >= 0 ? std::optional(m_entries[index]) : std::nullopt;
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::byIdIgnoringCase(const QString& id)
{
    const qsizetype index = m_byLowerId.value(id.toLower(), -1);
    return index >= 0 ? std::optional(m_entries[index]) : std::nullopt;
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::byStartupWMClass(const QString& wmClass)
{
    const qsizetype index = m_byWMClass.value(wmClass, -1);
    return index >= 0 ? std::optional(m_entries[index]) : std::nullopt;
}

std::optional<DesktopEntryIndex::Entry> DesktopEntryIndex::byExecutable(const QString& executable)
{
    const QList<qsizetype> candidates = m_byExecutable.value(executable);
    if (candidates.size() == 1) {
        return m_entries[candidates.first()];
    }
    // Lower is better, criterion by criterion.
    const auto rank = [&](qsizetype index) {
        const Entry& entry = m_entries[index];
        return std::make_tuple(!idEndsWithProgram(entry.id, executable), entry.execHasArguments, entry.noDisplay,
                               entry.id.size(), entry.id);
    };
    const auto best = std::min_element(candidates.cbegin(), candidates.cend(),
                                       [&](qsizetype a, qsizetype b) { return rank(a) < rank(b); });
    if (best == candidates.cend()) {
        return std::nullopt;
    }
    const Entry& entry = m_entries[*best];
    if (!idEndsWithProgram(entry.id, executable) && entry.execHasArguments) {
        return std::nullopt;
    }
    return entry;
}
