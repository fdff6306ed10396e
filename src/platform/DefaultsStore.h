// A persistent key-value store with the types of the user defaults: booleans, integers, numbers,
// strings and arrays of strings, held as JSON values.
#pragma once

#include <QJsonValue>
#include <QString>
#include <optional>

class DefaultsStore
{
public:
    virtual ~DefaultsStore() = default;

    // The stored value, or nothing when the key is absent.
    virtual std::optional<QJsonValue> object(const QString& key) const = 0;

    // Stores the value at once. A failed write goes unnoticed, as a user-defaults write would.
    virtual void setObject(const QString& key, const QJsonValue& value) = 0;
};
