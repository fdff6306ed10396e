// The defaults store as one JSON object in a file ($XDG_CONFIG_HOME/Stashwell/defaults.json).
#pragma once

#include "platform/DefaultsStore.h"

#include <QJsonObject>

class JsonFileDefaultsStore final : public DefaultsStore
{
public:
    explicit JsonFileDefaultsStore(const QString& path);

    // $XDG_CONFIG_HOME/Stashwell/defaults.json, with ~/.config when the variable is unset.
    static QString defaultPath();

    std::optional<QJsonValue> object(const QString& key) const override;
    void setObject(const QString& key, const QJsonValue& value) override;

private:
    QString m_path;
    QJsonObject m_values;
};
