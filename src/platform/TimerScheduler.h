// The real scheduler: single-shot QTimers on the main thread's event loop.
#pragma once

#include "platform/Scheduler.h"

#include <QHash>
#include <QObject>

class QTimer;

class TimerScheduler final : public QObject, public Scheduler
{
    Q_OBJECT
public:
    explicit TimerScheduler(QObject* parent = nullptr);
    ~TimerScheduler() override;

    TaskId schedule(int delayMs, std::function<void()> task) override;
    void cancel(TaskId id) override;

private:
    TaskId m_nextId = 1;
    QHash<TaskId, QTimer*> m_timers;
};
