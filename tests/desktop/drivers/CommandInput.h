// The driver programs' commands: one a line on standard input, words split on spaces.
#pragma once

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>
#include <functional>
#include <unistd.h>

// Calls `run(command, arguments)` for each line as it arrives; the application quits at the end of
// the input.
inline void readCommands(std::function<void(const QString&, const QStringList&)> run)
{
    auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, QCoreApplication::instance());
    auto pending = std::make_shared<QByteArray>();
    QObject::connect(input, &QSocketNotifier::activated, input, [input, pending, run = std::move(run)] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input->setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        pending->append(buffer, got);
        qsizetype end;
        while ((end = pending->indexOf('\n')) >= 0) {
            QStringList words = QString::fromUtf8(pending->left(end)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            pending->remove(0, end + 1);
            const QString command = words.isEmpty() ? QString() : words.takeFirst();
            run(command, words);
        }
    });
}
