// Drives the program's Wayland backends from the desktop tests, on a real compositor: every
// clipboard change is captured as the monitor would (off the main thread, with its deadline) and
// printed as one JSON line; commands on standard input set the clipboard and type the paste.
//
//   wayland_driver <files folder>      then, one per line on standard input:
//       place <type> <file> [<type> <file>...]   sets the clipboard to exactly these representations
//       paste                                     types the paste keystroke into the activated toplevel
//       front                                     prints the application in front
//       refocus <handle>                          activates that toplevel and waits until it is
#include "CommandInput.h"
#include "capture/CaptureWorker.h"
#include "history/HistoryFile.h"
#include "platform/Applications.h"
#include "platform/KeySynthesizer.h"
#include "platform/PasteboardReader.h"
#include "platform/wayland/WaylandClipboard.h"
#include "platform/wayland/WaylandPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>
#include <QUuid>
#include <cstdio>
#include <mutex>

namespace {
std::mutex outputLock;

void say(const QJsonObject& line)
{
    const QByteArray text = QJsonDocument(line).toJson(QJsonDocument::Compact);
    std::lock_guard lock(outputLock);
    std::printf("%s\n", text.constData());
    std::fflush(stdout);
}

class FolderFiles final : public CaptureFiles
{
public:
    explicit FolderFiles(QString folder) : m_folder(std::move(folder)) {}
    QString saveImage(const QByteArray& data, const QString& ext) override { return save(data, ext); }
    QString saveAsset(const QByteArray& data, const QString& ext) override { return save(data, ext); }

private:
    QString save(const QByteArray& data, const QString& ext)
    {
        const QString path =
            m_folder + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('.') + ext;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
            return {};
        }
        return path;
    }
    QString m_folder;
};

QJsonArray strings(const QList<QByteArray>& values)
{
    QJsonArray array;
    for (const QByteArray& value : values) {
        array.append(QString::fromUtf8(value));
    }
    return array;
}

// What one change becomes: the reader's types and the captured entry (null when refused).
void capture(PasteboardReaderFactory& readers, CaptureFiles& files, const ClipboardChange& change,
             const CaptureSource& source, QJsonObject line)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    const auto started = std::chrono::steady_clock::now();
    const auto reader = readers.open(change, deadline);
    const auto types = reader->types();
    line.insert(QStringLiteral("types"), types ? QJsonArray::fromStringList(*types) : QJsonArray());
    const auto item = CaptureWorker::capture(readers, CaptureJob{change, source, &files}, deadline).item;
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    line.insert(QStringLiteral("ms"), qint64(elapsed.count()));
    if (item) {
        const QJsonArray encoded = QJsonDocument::fromJson(HistoryFile::encode({*item})).array();
        line.insert(QStringLiteral("item"), encoded.first());
    } else {
        line.insert(QStringLiteral("item"), QJsonValue::Null);
    }
    say(line);
}

void place(Clipboard& clipboard, const QStringList& args)
{
    PasteboardContent content;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        QFile file(args[i + 1]);
        if (!file.open(QIODevice::ReadOnly)) {
            say({{QStringLiteral("error"), QStringLiteral("cannot read ") + args[i + 1]}});
            return;
        }
        content.data.append({args[i], file.readAll()});
    }
    clipboard.replaceContents(content);
    say({{QStringLiteral("event"), QStringLiteral("placed")}});
}

QJsonObject describe(const std::optional<RunningApplication>& app)
{
    if (!app) {
        return {{QStringLiteral("event"), QStringLiteral("front")}, {QStringLiteral("app"), QJsonValue::Null}};
    }
    return {{QStringLiteral("event"), QStringLiteral("front")},
            {QStringLiteral("app"), app->bundleID.value_or(QString())},
            {QStringLiteral("name"), app->name.value_or(QString())},
            {QStringLiteral("handle"), QString::number(app->handle)}};
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: wayland_driver <files folder>\n");
        return 2;
    }
    QDir().mkpath(args[1]);
    FolderFiles files(args[1]);

    WaylandPlatform wayland(QDir::tempPath());
    const Platform platform = wayland.services();
    auto& clipboard = static_cast<WaylandClipboard&>(*platform.clipboard);
    say({{QStringLiteral("event"), QStringLiteral("ready")}, {QStringLiteral("summary"), wayland.protocolSummary()}});

    // One change at a time, in order, off the main thread: as the capture worker reads.
    QThreadPool readers;
    readers.setMaxThreadCount(1);
    QObject::connect(&clipboard, &Clipboard::changed, [&] {
        CaptureSource source;
        const auto front = platform.applications->frontmostApplication();
        if (front) {
            source.bundleID = front->bundleID;
            source.appName = front->name;
        }
        QJsonObject line{{QStringLiteral("event"), QStringLiteral("change")},
                         {QStringLiteral("count"), clipboard.changeCount()},
                         {QStringLiteral("ours"), clipboard.latestChangeIsOurs()},
                         {QStringLiteral("mimes"), strings(clipboard.offeredMimeTypes())},
                         {QStringLiteral("source"), source.bundleID.value_or(QString())}};
        if (clipboard.latestChangeIsOurs()) {
            say(line); // the monitor skips these
            return;
        }
        readers.start([&clipboard, &files, change = clipboard.lastChange(), source, line] {
            capture(clipboard, files, change, source, line);
        });
    });

    readCommands([&](const QString& command, const QStringList& words) {
        if (command == QLatin1String("place")) {
            place(clipboard, words);
        } else if (command == QLatin1String("paste")) {
            const auto front = platform.applications->frontmostApplication();
            platform.keys->postPaste(front.value_or(RunningApplication()), [](PasteOutcome outcome) {
                say({{QStringLiteral("event"), QStringLiteral("posted")},
                     {QStringLiteral("ok"), outcome == PasteOutcome::posted}});
            });
        } else if (command == QLatin1String("front")) {
            say(describe(platform.applications->frontmostApplication()));
        } else if (command == QLatin1String("refocus")) {
            RunningApplication target;
            target.handle = words.value(0).toULongLong();
            platform.applications->activate(target);
            platform.applications->whenActive(target, 2000, [](bool active) {
                say({{QStringLiteral("event"), QStringLiteral("active")}, {QStringLiteral("ok"), active}});
            });
        } else {
            say({{QStringLiteral("error"), QStringLiteral("unknown command ") + command}});
        }
    });
    const int status = QCoreApplication::exec();
    readers.waitForDone();
    return status;
}
