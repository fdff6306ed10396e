#include "ClipOwner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

ClipOwner::ClipOwner(const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/clipowner"), arguments);
    const bool owns = !arguments.contains(QStringLiteral("--no-own"));
    const bool shows = arguments.contains(QStringLiteral("--window"));
    QDeadlineTimer deadline(5000);
    QByteArray output;
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(50);
        output += m_process.readAll();
        for (const QByteArray& line : output.split('\n')) {
            if (line.startsWith("window ")) {
                m_window = line.mid(7).toUInt();
            }
        }
        if ((!owns || output.contains("owned ")) && (!shows || m_window != 0)) {
            m_ready = true;
            return;
        }
    }
}

ClipOwner::~ClipOwner()
{
    kill();
}

void ClipOwner::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}
