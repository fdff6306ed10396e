#include "platform/TimerScheduler.h"

#include <QTimer>

TimerScheduler::TimerScheduler(QObject* parent) : QObject(parent) {}

TimerScheduler::~TimerScheduler()
{
    qDeleteAll(m_timers);
}

Scheduler::TaskId TimerScheduler::schedule(int delayMs, std::function<void()> task)
{
    const TaskId id = m_nextId++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, id, timer, task = std::move(task)]() {
        m_timers.remove(id);
        timer->deleteLater();
        task();
    });
    m_timers.insert(id, timer);
    timer->start(delayMs < 0 ? 0 : delayMs);
    return id;
}

void TimerScheduler::cancel(TaskId id)
{
    if (QTimer* timer = m_timers.take(id)) {
        timer->stop();
        timer->deleteLater();
    }
}
