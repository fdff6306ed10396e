// Runs the clipowner helper program as another application owning the clipboard, for the X11 tests.
#pragma once

#include <QProcess>
#include <QStringList>

class ClipOwner
{
public:
    // Starts `clipowner` with these arguments and waits until it owns the clipboard (or shows its
    // window, with --no-own). The process is killed when the object goes.
    explicit ClipOwner(const QStringList& arguments);
    ~ClipOwner();

    bool isReady() const { return m_ready; }
    qint64 pid() const { return m_process.processId(); }
    quint32 window() const { return m_window; }
    void kill();

private:
    QProcess m_process;
    bool m_ready = false;
    quint32 m_window = 0;
};

// Runs a command (xdotool...) to its end; false when it fails.
bool runTool(const QString& program, const QStringList& arguments);
