#include "capture/CaptureWorker.h"

#include "capture/CaptureFileTracker.h"
#include "capture/ConcealedTypes.h"
#include "platform/PasteboardReader.h"
#include "platform/Platform.h"
#include "platform/SystemLog.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {
// Far beyond what a reading and its classification take; only a fault makes the wait this long.
constexpr int shutDownWaitMs = 10000;

const QString lostWhileWaiting = QStringLiteral(
    "Stashwell: a copy was not recorded: the clipboard changed again while an earlier copy was still being read");
const QString lostToTheDeadline = QStringLiteral("Stashwell: a copy was not recorded: the application that owns the "
                                                 "clipboard did not hand over its content in time");
const QString lostToTheNextChange =
    QStringLiteral("Stashwell: a copy was not recorded: the clipboard changed again before its content was read");
} // namespace

CaptureWorker::CaptureWorker(PasteboardReaderFactory& readers, Mode mode, std::chrono::milliseconds deadline,
                             Deliver deliver, QObject* parent)
    : QObject(parent), m_readers(readers), m_mode(mode), m_deadline(deadline), m_deliver(std::move(deliver))
{
    if (m_mode == Mode::Thread) {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("capture"));
        m_threadContext = new QObject;
        m_threadContext->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_threadContext, &QObject::deleteLater);
        m_thread->start();
    }
}

CaptureWorker::~CaptureWorker()
{
    shutDown();
}

void CaptureWorker::shutDown()
{
    m_shutDown = true;
    m_waiting.reset();
    if (!m_thread) {
        return;
    }
    // The change being read finishes first: its reads are bounded by their deadline and its
    // classification by its work budget. Its result is not delivered.
    m_thread->quit();
    if (!m_thread->wait(QDeadlineTimer(shutDownWaitMs))) {
        // Left running rather than destroyed under its own feet; the process is ending anyway.
        log(QStringLiteral("Stashwell: the reading of a copy was still running at exit"));
        m_thread = nullptr;
        return;
    }
    delete m_thread;
    m_thread = nullptr;
}

void CaptureWorker::log(const QString& line)
{
    if (SystemLog* log = Platform::current().log; log && !line.isEmpty()) {
        log->write(line);
    }
}

void CaptureWorker::submit(const CaptureJob& job)
{
    if (m_shutDown) {
        return;
    }
    if (m_busy) {
        dropWaiting();
        m_waiting = job;
        return;
    }
    start(job);
}

void CaptureWorker::dropWaiting()
{
    if (m_waiting) {
        m_waiting.reset();
        log(lostWhileWaiting);
    }
}

void CaptureWorker::start(const CaptureJob& job)
{
    m_busy = true;
    if (m_mode == Mode::Inline) {
        finished(capture(m_readers, job, std::chrono::steady_clock::now() + m_deadline));
        return;
    }
    QMetaObject::invokeMethod(
        m_threadContext,
        [this, job] {
            // The deadline starts when the reading does, not while the change waited its turn.
            const Result result = capture(m_readers, job, std::chrono::steady_clock::now() + m_deadline);
            QMetaObject::invokeMethod(
                this, [this, result] { finished(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void CaptureWorker::finished(const Result& result)
{
    m_busy = false;
    if (m_shutDown) {
        return;
    }
    log(result.logLine);
    if (result.item && m_deliver) {
        m_deliver(*result.item);
    }
    if (m_waiting) {
        const CaptureJob next = *m_waiting;
        m_waiting.reset();
        start(next);
    }
}

CaptureWorker::Result CaptureWorker::capture(PasteboardReaderFactory& readers, const CaptureJob& job,
                                             std::chrono::steady_clock::time_point deadline)
{
    const std::unique_ptr<PasteboardReader> reader = readers.open(job.change, deadline);
    if (!reader || !job.files) {
        return {};
    }
    // A copy the user made is missing from the history: the log says why, since from the outside it
    // looks as if the copy was simply missed.
    const auto failedRead = [&] {
        return Result{std::nullopt,
                      std::chrono::steady_clock::now() >= deadline ? lostToTheDeadline : lostToTheNextChange};
    };
    // A list that cannot be read skips this gate; a content that cannot be read fails below anyway.
    if (reader->offersAnyOf(ConcealedTypes::all()).value_or(false)) {
        return {};
    }
    if (reader->hasFailed()) {
        return failedRead();
    }
    CaptureFileTracker files(*job.files);
    QString logLine;
    auto item = PasteboardClassifier::readItem(*reader, job.source, files, &logLine);
    // A read that timed out midway may have made the classifier settle for a lesser kind: drop the
    // whole change rather than record something the user did not copy. So too when a file could not
    // be stored (a full disk): an entry without its picture or document would paste nothing.
    if (!item || reader->hasFailed() || files.hasFailedWrite()) {
        files.removeAll();
        if (reader->hasFailed()) {
            return failedRead();
        }
        return Result{std::nullopt, item ? QString() : logLine};
    }
    files.removeAllBut(*item);
    return Result{item, logLine};
}
