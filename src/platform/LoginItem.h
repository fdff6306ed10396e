// Starting the program when the user logs in.
#pragma once

#include <QString>

class LoginItem
{
public:
    // The numbers are those of the login-item service the settings were designed around.
    enum class Status { NotRegistered = 0, Enabled = 1, RequiresApproval = 2, NotFound = 3 };

    virtual ~LoginItem() = default;

    virtual Status status() const = 0;
    // Both return false and describe the failure in `error` when the change could not be made.
    virtual bool registerItem(QString* error) = 0;
    virtual bool unregisterItem(QString* error) = 0;
};
