// The system log: one line per condition, always beginning "Stashwell: ".
#pragma once

#include <QString>

class SystemLog
{
public:
    virtual ~SystemLog() = default;
    virtual void write(const QString& line) = 0;
};

// The real log: standard error, which the desktop session's journal keeps.
class StderrLog final : public SystemLog
{
public:
    void write(const QString& line) override;
};
