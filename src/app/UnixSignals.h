// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Control-C in a terminal) into an orderly quit.
#pragma once

#include <QObject>

class QSocketNotifier;

class UnixSignals : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

signals:
    void terminationRequested(int signal);

private:
    QSocketNotifier* m_notifier = nullptr;
};
