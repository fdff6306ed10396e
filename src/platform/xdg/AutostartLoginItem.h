// The login item as an XDG autostart entry ($XDG_CONFIG_HOME/autostart/stashwell.desktop).
#pragma once

#include "platform/LoginItem.h"

class AutostartLoginItem final : public LoginItem
{
public:
    // `program` is the absolute path the entry starts.
    AutostartLoginItem(const QString& entryPath, const QString& program);

    static QString defaultEntryPath();
    // The Exec value that starts `program` with no arguments, quoted and escaped for a desktop entry.
    static QString execValue(const QString& program);

    Status status() const override;
    bool registerItem(QString* error) override;
    bool unregisterItem(QString* error) override;

private:
    QString m_entryPath;
    QString m_program;
};
