// Drives the program's X11 backends from the desktop tests: places history entries and serves them,
// posts the paste keystroke, or holds the global shortcut, printing what happens on standard output.
//
//   platform_driver commands <history.json>   then, one per line on standard input:
//       place <index> [plain]                 places that entry of the file
//       paste [window]                        posts the paste keystroke into the active window (or
//                                             activates that window first), reports the outcome
//   platform_driver hotkey                    registers the configured shortcut and reports presses
#include "CommandInput.h"
#include "history/HistoryFile.h"
#include "hotkey/HotkeyManager.h"
#include "paste/Pasteboard.h"
#include "platform/Applications.h"
#include "platform/Clipboard.h"
#include "platform/x11/X11Platform.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int usage()
{
    std::fprintf(stderr, "usage: platform_driver commands <history.json> | hotkey\n");
    return 2;
}

void place(const Platform& platform, const QList<ClipboardItem>& items, const QStringList& args)
{
    bool ok = false;
    const int index = args.value(0).toInt(&ok);
    if (!ok || index < 0 || index >= items.size()) {
        say(QStringLiteral("no such entry"));
        return;
    }
    int suppressed = 0;
    Pasteboard::place(items.at(index), args.value(1) == QLatin1String("plain"), *platform.clipboard,
                      [&suppressed] { ++suppressed; });
    say(QStringLiteral("placed %1, suppressed %2").arg(index).arg(suppressed));
}

void paste(const Platform& platform, const QStringList& args)
{
    auto post = [](const RunningApplication& target) {
        Pasteboard::simulatePaste(target, [](PasteOutcome outcome) {
            const char* names[] = {"posted", "window-not-active", "unavailable"};
            say(QStringLiteral("paste ") + QLatin1String(names[static_cast<int>(outcome)]));
        });
    };
    RunningApplication app;
    app.window = args.value(0).toUInt(nullptr, 0);
    if (app.window == 0) {
        const auto front = platform.applications->frontmostApplication();
        post(front.value_or(RunningApplication()));
        return;
    }
    platform.applications->activate(app);
    platform.applications->whenActive(app, 2000, [post, app](bool active) {
        say(QStringLiteral("active %1").arg(active ? "true" : "false"));
        post(app);
    });
}

int commands(const Platform& platform, const QStringList& args)
{
    QFile file(args.value(0));
    if (!file.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("cannot read ") + args.value(0));
        return 1;
    }
    const auto items = HistoryFile::decode(file.readAll());
    if (!items) {
        say(QStringLiteral("unreadable entries"));
        return 1;
    }
    QObject::connect(platform.clipboard, &Clipboard::changed,
                     [&platform] { say(QStringLiteral("change %1").arg(platform.clipboard->changeCount())); });
    readCommands([&platform, &items](const QString& command, const QStringList& words) {
        if (command == QLatin1String("place")) {
            place(platform, *items, words);
        } else if (command == QLatin1String("paste")) {
            paste(platform, words);
        } else {
            say(QStringLiteral("unknown command ") + command);
        }
    });
    say(QStringLiteral("ready"));
    return QApplication::exec();
}

int hotkey()
{
    int presses = 0;
    const std::int32_t status =
        HotkeyManager::shared().registerHandler([&presses] { say(QStringLiteral("pressed %1").arg(++presses)); });
    say(QStringLiteral("status %1").arg(status));
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        return usage();
    }
    const QString mode = args.takeFirst();

    QTemporaryDir dataFolder;
    X11Platform x11(dataFolder.path());
    const Platform platform = x11.services();
    Platform::install(platform);

    if (mode == QLatin1String("commands")) {
        return commands(platform, args);
    }
    if (mode == QLatin1String("hotkey")) {
        return hotkey();
    }
    return usage();
}
