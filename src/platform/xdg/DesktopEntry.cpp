// Reads desktop entry files in freedesktop.org's format: groups, keys, escapes and localized values.
#include "platform/xdg/DesktopEntry.h"

#include <QFile>

namespace {
constexpr qint64 maxEntrySize = 1024 * 1024;

QString unescape(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != QLatin1Char('\\') || i + 1 == raw.size()) {
            out.append(c);
            continue;
        }
        const QChar next = raw.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        default:
            out.append(next); // "\\" and the list separator "\;" keep the character itself
            break;
        }
    }
    return out;
}
} // namespace

std::optional<DesktopEntry> DesktopEntry::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxEntrySize) {
        return std::nullopt;
    }
    DesktopEntry entry = parse(file.read(maxEntrySize));
    if (!entry.m_hasGroup) {
        return std::nullopt;
    }
    return entry;
}

DesktopEntry DesktopEntry::parse(const QByteArray& contents)
{
    DesktopEntry entry;
    bool inGroup = false;
    const QString text = QString::fromUtf8(contents);
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            entry.m_hasGroup = entry.m_hasGroup || inGroup;
            continue;
        }
        if (!inGroup) {
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed().toString();
        // The first occurrence of a key wins; later duplicates are a broken file's noise.
        if (!entry.m_values.contains(key)) {
            entry.m_values.insert(key, unescape(line.mid(equals + 1).trimmed().toString()));
        }
    }
    return entry;
}

std::optional<QString> DesktopEntry::value(const QString& key, const QStringList& locales) const
{
    for (const QString& locale : locales) {
        const auto found = m_values.constFind(key + QLatin1Char('[') + locale + QLatin1Char(']'));
        if (found != m_values.constEnd()) {
            return *found;
        }
    }
    const auto found = m_values.constFind(key);
    if (found == m_values.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

bool DesktopEntry::isHidden() const
{
    return m_values.value(QStringLiteral("Hidden")).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

QStringList DesktopEntry::localesFor(const QString& localeName)
{
    // lang_COUNTRY.ENCODING@MODIFIER; the encoding never takes part in matching.
    QString name = localeName;
    QString modifier;
    if (const qsizetype at = name.indexOf(QLatin1Char('@')); at >= 0) {
        modifier = name.mid(at + 1);
        name.truncate(at);
    }
    if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot >= 0) {
        name.truncate(dot);
    }
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")) {
        return {};
    }
    QString lang = name;
    QString country;
    if (const qsizetype underscore = name.indexOf(QLatin1Char('_')); underscore >= 0) {
        lang = name.left(underscore);
        country = name.mid(underscore + 1);
    }
    QStringList order;
    if (!country.isEmpty() && !modifier.isEmpty()) {
        order << lang + QLatin1Char('_') + country + QLatin1Char('@') + modifier;
    }
    if (!country.isEmpty()) {
        order << lang + QLatin1Char('_') + country;
    }
    if (!modifier.isEmpty()) {
        order << lang + QLatin1Char('@') + modifier;
    }
    order << lang;
    return order;
}

QStringList DesktopEntry::userLocales()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            return localesFor(value);
        }
    }
    return {};
}
