#include "platform/xdg/AutostartLoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

AutostartLoginItem::AutostartLoginItem(const QString& entryPath, const QString& program)
    : m_entryPath(entryPath), m_program(program)
{}

QString AutostartLoginItem::defaultEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/stashwell.desktop");
}

LoginItem::Status AutostartLoginItem::status() const
{
    QFile file(m_entryPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return Status::NotRegistered;
    }
    // A user (or a desktop's settings panel) turns an entry off with Hidden=true in its main group.
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || line.startsWith('#') || equals < 0) {
            continue;
        }
        if (line.left(equals).trimmed() == "Hidden" && line.mid(equals + 1).trimmed() == "true") {
            return Status::NotRegistered;
        }
    }
    return Status::Enabled;
}

QString AutostartLoginItem::execValue(const QString& program)
{
    // The program as one quoted argument: ", `, $ and \ get a backslash, % is doubled (field codes),
    // and then the whole value gets the escapes of a string value, which double every backslash.
    QString argument;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            argument += u'\\';
        } else if (c == u'%') {
            argument += u'%';
        }
        argument += c;
    }
    argument = QLatin1Char('"') + argument + QLatin1Char('"');
    QString value;
    for (const QChar c : std::as_const(argument)) {
        if (c == u'\\') {
            value += QStringLiteral("\\\\");
        } else if (c == u'\n') {
            value += QStringLiteral("\\n");
        } else if (c == u'\t') {
            value += QStringLiteral("\\t");
        } else if (c == u'\r') {
            value += QStringLiteral("\\r");
        } else {
            value += c;
        }
    }
    return value;
}

bool AutostartLoginItem::registerItem(QString* error)
{
    if (!QDir().mkpath(QFileInfo(m_entryPath).absolutePath())) {
        if (error) {
            *error = QStringLiteral("cannot create the folder of ") + m_entryPath;
        }
        return false;
    }
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Stashwell\n"
                                         "Comment=Clipboard manager\n"
                                         "Exec=%1\n"
                                         "Icon=stashwell\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execValue(m_program));
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

bool AutostartLoginItem::unregisterItem(QString* error)
{
    QFile file(m_entryPath);
    if (!file.exists() || file.remove()) {
        return true;
    }
    if (error) {
        *error = file.errorString();
    }
    return false;
}
