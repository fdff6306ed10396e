// One Stashwell per history: an advisory lock on a file in the history folder, released by the
// kernel however the process ends.
#pragma once

#include <QString>

class InstanceLock
{
public:
    explicit InstanceLock(const QString& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock (or the file cannot be opened: see error()).
    bool tryLock();
    QString error() const { return m_error; }

private:
    QString m_path;
    QString m_error;
    int m_fd = -1;
};
