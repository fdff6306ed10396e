// Capture figures on a real X server: the time from an owner change to the item reaching the
// history, the longest the main thread goes without running while a 3840 x 2160 PNG is captured, and
// how long that capture and its transfer take. It always runs itself on a private X server (never on
// the user's clipboard), with the clipowner helper of the test build playing the other programs.
//
//   bench_capture [--clipowner PATH]   (other arguments, such as Google Benchmark's, are ignored)
#include "capture/ClipboardMonitor.h"
#include "platform/KeyTap.h"
#include "platform/PasteboardTypes.h"
#include "platform/TimerScheduler.h"
#include "platform/x11/X11Applications.h"
#include "platform/x11/X11Clipboard.h"
#include "platform/x11/X11SelectionReader.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUuid>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {
class NoKeyTap final : public KeyTap
{
public:
    bool install(std::function<void()>) override { return false; }
    void remove() override {}
    bool isInstalled() const override { return false; }
};

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
        if (file.open(QIODevice::WriteOnly)) {
            file.write(data);
        }
        return path;
    }
    QString m_folder;
};

// A screenshot-like picture: flat areas, gradients, text and one busy photo-like region.
QByteArray screenshotPng()
{
    QImage image(3840, 2160, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 3840, 2160);
    gradient.setColorAt(0, QColor(30, 60, 110));
    gradient.setColorAt(1, QColor(200, 210, 230));
    painter.fillRect(image.rect(), gradient);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 18));
    for (int row = 0; row < 60; ++row) {
        painter.drawText(40, 60 + row * 34,
                         QStringLiteral("Line %1 of a window full of text, as screenshots have").arg(row));
    }
    painter.end();
    QRandomGenerator generator(42);
    for (int y = 300; y < 1300; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 2000; x < 3400; ++x) {
            line[x] = qRgb(generator.bounded(256), (x + y) % 256, generator.bounded(128));
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Starts the helper owning the clipboard; `owned` receives the moment it asked for ownership.
QProcess* startOwner(const QString& helper, const QStringList& arguments, Clock::time_point* owned)
{
    auto* process = new QProcess;
    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [process, owned] {
        const QByteArray line = process->readAllStandardOutput();
        if (const qsizetype at = line.indexOf("owned "); at >= 0) {
            *owned = Clock::time_point(std::chrono::nanoseconds(line.mid(at + 6).trimmed().toLongLong()));
        }
    });
    process->start(helper, arguments);
    return process;
}

// Runs the event loop (sleeping between events) until `done` holds or the time is up.
bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    check.start(2);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// CPU time the calling thread has used: tells work on the main thread from time it waited for a core.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * double(values.size())))];
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("STASHWELL_BENCH_ON_XVFB")) {
        qputenv("STASHWELL_BENCH_ON_XVFB", "1");
        qputenv("STASHWELL_BIN", "/bin/true");
        std::vector<char*> arguments{const_cast<char*>(STASHWELL_WITH_XVFB)};
        arguments.insert(arguments.end(), argv, argv + argc);
        arguments.push_back(nullptr);
        execv(STASHWELL_WITH_XVFB, arguments.data());
        std::fprintf(stderr, "bench_capture: cannot run %s\n", STASHWELL_WITH_XVFB);
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QString helper = QCoreApplication::applicationDirPath() + "/../tests/clipowner";
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--clipowner") == 0) {
            helper = QString::fromLocal8Bit(argv[i + 1]);
        }
    }
    if (!QFile::exists(helper)) {
        std::printf("bench_capture: no clipowner helper at %s (build with the tests)\n", qPrintable(helper));
        return 0;
    }
    QTemporaryDir folder;

    TimerScheduler scheduler;
    X11Clipboard clipboard;
    X11Applications applications;
    NoKeyTap tap;
    FolderFiles files(folder.path());
    std::optional<ClipboardItem> added;
    Clock::time_point addedAt;
    ClipboardMonitor::Hooks hooks;
    hooks.pauseCapture = [] { return false; };
    hooks.ignoredBundleIDs = [] { return QSet<QString>(); };
    hooks.files = [&files]() -> CaptureFiles& { return files; };
    hooks.add = [&](const ClipboardItem& item) {
        addedAt = Clock::now();
        added = item;
    };
    ClipboardMonitor monitor(clipboard, clipboard, applications, tap, scheduler, hooks);
    monitor.start();

    // 1. Latency of text copies: owner change to the item handed to the history.
    std::vector<double> latencies;
    QList<QProcess*> owners;
    for (int i = 0; i < 50; ++i) {
        added.reset();
        Clock::time_point owned{};
        owners.append(startOwner(helper, {"--target", QStringLiteral("UTF8_STRING=copy number %1").arg(i)}, &owned));
        if (!runUntil([&] { return added.has_value() && owned != Clock::time_point{}; }, 5000)) {
            std::fprintf(stderr, "copy %d was not captured\n", i);
            return 1;
        }
        latencies.push_back(ms(addedAt - owned));
    }
    std::printf("text copy, owner change to item added (50 copies): median %.2f ms, p90 %.2f ms, max %.2f ms\n",
                percentile(latencies, 0.5), percentile(latencies, 0.9), percentile(latencies, 1.0));

    // 2. A 3840 x 2160 PNG: main-thread gaps during its capture, and the capture's duration.
    const QByteArray png = screenshotPng();
    QFile pngFile(folder.path() + "/screenshot.png");
    pngFile.open(QIODevice::WriteOnly);
    pngFile.write(png);
    pngFile.close();

    QElapsedTimer beat;
    double longestGap = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, double(beat.nsecsElapsed()) / 1e6);
        beat.restart();
    });
    beat.start();
    heartbeat.start(4);
    const double idleCpuBefore = threadCpuMs();
    runUntil([] { return false; }, 1000);
    const double idleGap = longestGap;
    const double idleCpu = threadCpuMs() - idleCpuBefore;
    // For comparison: the same measure around a small text copy.
    {
        added.reset();
        Clock::time_point textOwned{};
        owners.append(startOwner(helper, {"--target", "UTF8_STRING=a short text"}, &textOwned));
        longestGap = 0;
        beat.restart();
        runUntil([&] { return added.has_value() && textOwned != Clock::time_point{}; }, 5000);
        runUntil([] { return false; }, 50);
    }
    const double textGap = longestGap;

    added.reset();
    Clock::time_point owned{};
    owners.append(startOwner(
        helper, {"--target", "image/png=@" + pngFile.fileName(), "--target", "UTF8_STRING=screenshot caption"},
        &owned));
    // Measured from here: starting the helper process is the benchmark's own cost.
    longestGap = 0;
    beat.restart();
    const double cpuBefore = threadCpuMs();
    const bool captured = runUntil([&] { return added.has_value() && owned != Clock::time_point{}; }, 10000);
    runUntil([] { return false; }, 50);
    heartbeat.stop();
    const double mainThreadCpu = threadCpuMs() - cpuBefore;
    std::printf("3840x2160 PNG (%.1f MB): main-thread longest gap %.1f ms during capture (idle: %.1f ms, "
                "around a short text copy: %.1f ms); main-thread CPU time meanwhile %.1f ms (idle: %.1f ms/s)\n",
                double(png.size()) / 1e6, longestGap, idleGap, textGap, mainThreadCpu, idleCpu);
    if (captured) {
        std::printf("3840x2160 PNG: owner change to item added %.1f ms (captured as %s)\n", ms(addedAt - owned),
                    qPrintable(rawValue(added->kind)));
    } else {
        std::printf("3840x2160 PNG: not captured within 10 s\n");
    }

    // 3. The transfer alone, on a thread of its own as the capture worker does it.
    double transfer = 0;
    qsizetype received = 0;
    const ClipboardChange change = clipboard.lastChange();
    QThread* reading = QThread::create([&] {
        const auto started = Clock::now();
        const auto reader = X11SelectionReader::open(change, started + std::chrono::seconds(10));
        const auto bytes = reader->data(PasteboardType::png);
        transfer = ms(Clock::now() - started);
        received = bytes ? bytes->size() : -1;
    });
    reading->start();
    runUntil([&] { return reading->isFinished(); }, 15000);
    delete reading;
    std::printf("3840x2160 PNG: transfer from the owner %.1f ms (%lld bytes)\n", transfer,
                static_cast<long long>(received));

    for (QProcess* owner : owners) {
        owner->kill();
        owner->waitForFinished(1000);
        delete owner;
    }
    return received == png.size() ? 0 : 1;
}
