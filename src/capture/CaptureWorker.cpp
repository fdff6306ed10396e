#include "capture/CaptureWorker.h"

#include "capture/CaptureFileTracker.h"
#include "capture/ConcealedTypes.h"
#include "platform/PasteboardReader.h"
#include "platform/Platform.h"
#include "platform/SystemLog.h"

#include <QThread>

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
    if (m_thread) {
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
    }
}

void CaptureWorker::submit(const CaptureJob& job)
{
    if (m_busy) {
        m_waiting = job;
        return;
    }
    start(job);
}

void CaptureWorker::start(const CaptureJob& job)
{
    m_busy = true;
    if (m_mode == Mode::Inline) {
        QString refusal;
        const auto item = capture(m_readers, job, std::chrono::steady_clock::now() + m_deadline, &refusal);
        finished(item, refusal);
        return;
    }
    QMetaObject::invokeMethod(
        m_threadContext,
        [this, job] {
            // The deadline starts when the reading does, not while the change waited its turn.
            QString refusal;
            auto item = capture(m_readers, job, std::chrono::steady_clock::now() + m_deadline, &refusal);
            QMetaObject::invokeMethod(
                this, [this, item, refusal] { finished(item, refusal); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void CaptureWorker::finished(const std::optional<ClipboardItem>& item, const QString& refusal)
{
    m_busy = false;
    if (SystemLog* log = Platform::current().log; log && !refusal.isEmpty()) {
        log->write(refusal);
    }
    if (item && m_deliver) {
        m_deliver(*item);
    }
    if (m_waiting) {
        const CaptureJob next = *m_waiting;
        m_waiting.reset();
        start(next);
    }
}

std::optional<ClipboardItem> CaptureWorker::capture(PasteboardReaderFactory& readers, const CaptureJob& job,
                                                    std::chrono::steady_clock::time_point deadline, QString* refusal)
{
    const std::unique_ptr<PasteboardReader> reader = readers.open(deadline);
    if (!reader || !job.files) {
        return std::nullopt;
    }
    // An owner that keeps us waiting past the deadline loses its copy; the log says so, since from
    // the outside it looks as if the copy was simply missed. (A read cut short by the next copy is
    // not worth a line.)
    const auto failedRead = [&] {
        if (refusal && std::chrono::steady_clock::now() >= deadline) {
            *refusal = QStringLiteral("Stashwell: a copy was not recorded: the application that owns the clipboard "
                                      "did not hand over its content in time");
        }
        return std::nullopt;
    };
    // A list that cannot be read skips this gate; a content that cannot be read fails below anyway.
    if (const auto types = reader->types(); types && ConcealedTypes::anyIn(*types)) {
        return std::nullopt;
    }
    if (reader->hasFailed()) {
        return failedRead();
    }
    CaptureFileTracker files(*job.files);
    qsizetype tooLongText = 0;
    auto item = PasteboardClassifier::readItem(*reader, job.source, files, &tooLongText);
    // A read that timed out midway may have made the classifier settle for a lesser kind: drop the
    // whole change rather than record something the user did not copy. So too when a file could not
    // be stored (a full disk): an entry without its picture or document would paste nothing.
    if (!item || reader->hasFailed() || files.hasFailedWrite()) {
        files.removeAll();
        if (reader->hasFailed()) {
            return failedRead();
        }
        if (tooLongText > 0 && refusal) {
            *refusal = QStringLiteral("Stashwell: a copied text of %1 characters was not recorded: the history keeps "
                                      "texts of up to %2 characters")
                           .arg(tooLongText)
                           .arg(PasteboardClassifier::maxTextLength);
        }
        return std::nullopt;
    }
    files.removeAllBut(*item);
    return item;
}
