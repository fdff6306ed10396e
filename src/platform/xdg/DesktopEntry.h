// The [Desktop Entry] group of a .desktop file: its keys, with localized values and escapes resolved.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class DesktopEntry
{
public:
    // Nothing when the file cannot be read or has no [Desktop Entry] group. Files larger than a
    // desktop entry ever is are refused rather than read whole.
    static std::optional<DesktopEntry> load(const QString& path);
    static DesktopEntry parse(const QByteArray& contents);

    // The value of `key` for the first of `locales` that has one (as "de_DE@euro", "de_DE",
    // "de@euro", "de" in that order, as the desktop entry format matches them), else the plain key.
    std::optional<QString> value(const QString& key, const QStringList& locales = {}) const;
    bool isHidden() const;

    // The lookup order of localized keys for the user's messages locale ($LC_ALL, $LC_MESSAGES, $LANG).
    static QStringList userLocales();
    static QStringList localesFor(const QString& localeName);

    bool hasGroup() const { return m_hasGroup; }

private:
    QHash<QString, QString> m_values;
    bool m_hasGroup = false;
};
