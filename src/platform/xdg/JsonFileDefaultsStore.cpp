#include "platform/xdg/JsonFileDefaultsStore.h"

#include "platform/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

JsonFileDefaultsStore::JsonFileDefaultsStore(const QString& path) : m_path(path)
{
    // A missing, unreadable or non-object file reads as an empty domain; it is only replaced when
    // the user changes a setting.
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        if (document.isObject()) {
            m_values = document.object();
        }
    }
}

QString JsonFileDefaultsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Stashwell/defaults.json");
}

std::optional<QJsonValue> JsonFileDefaultsStore::object(const QString& key) const
{
    const auto found = m_values.constFind(key);
    if (found == m_values.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

void JsonFileDefaultsStore::setObject(const QString& key, const QJsonValue& value)
{
    m_values.insert(key, value);
    PrivateFiles::ensureFolder(QFileInfo(m_path).absolutePath());
    PrivateFiles::writeAtomically(m_path, QJsonDocument(m_values).toJson(QJsonDocument::Indented));
}
