#include "platform/xdg/AutostartLoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

AutostartLoginItem::AutostartLoginItem(const QString& entryPath, const QString& program)
    : m_entryPath(entryPath), m_program(program)
{
}

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
    // A user (or a desktop's settings panel) turns an entry off with Hidden=true.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith("Hidden=")) {
            const QByteArray value = line.mid(7).trimmed().toLower();
            if (value == "true") {
                return Status::NotRegistered;
            }
        }
    }
    return Status::Enabled;
}

bool AutostartLoginItem::registerItem(QString* error)
{
    if (!QDir().mkpath(QFileInfo(m_entryPath).absolutePath())) {
        if (error) {
            *error = QStringLiteral("cannot create the folder of ") + m_entryPath;
        }
        return false;
    }
    // Exec quoting per the desktop entry specification: the path in double quotes, with ", `, $ and
    // \ escaped by a backslash.
    QString quoted = m_program;
    for (const char* special : {"\\", "\"", "`", "$"}) {
        quoted.replace(QLatin1String(special), QLatin1String("\\") + QLatin1String(special));
    }
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Stashwell\n"
                                         "Comment=Clipboard manager\n"
                                         "Exec=\"%1\"\n"
                                         "Icon=stashwell\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(quoted);
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
