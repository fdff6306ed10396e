#include "capture/CaptureWorker.h"

#include "capture/CaptureFileTracker.h"
#include "capture/ConcealedTypes.h"
#include "platform/PasteboardReader.h"

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
        finished(capture(m_readers, job, std::chrono::steady_clock::now() + m_deadline));
        return;
    }
    QMetaObject::invokeMethod(
        m_threadContext,
        [this, job] {
            // The deadline starts when the reading does, not while the change waited its turn.
            auto item = capture(m_readers, job, std::chrono::steady_clock::now() + m_deadline);
            QMetaObject::invokeMethod(
                this, [this, item] { finished(item); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void CaptureWorker::finished(const std::optional<ClipboardItem>& item)
{
    m_busy = false;
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
                                                    std::chrono::steady_clock::time_point deadline)
{
    const std::unique_ptr<PasteboardReader> reader = readers.open(deadline);
    if (!reader || !job.files) {
        return std::nullopt;
    }
    // A list that cannot be read skips this gate; a content that cannot be read fails below anyway.
    if (const auto types = reader->types(); types && ConcealedTypes::anyIn(*types)) {
        return std::nullopt;
    }
    if (reader->hasFailed()) {
        return std::nullopt;
    }
    CaptureFileTracker files(*job.files);
    auto item = PasteboardClassifier::readItem(*reader, job.source, files);
    // A read that timed out midway may have made the classifier settle for a lesser kind: drop the
    // whole change rather than record something the user did not copy. So too when a file could not
    // be stored (a full disk): an entry without its picture or document would paste nothing.
    if (!item || reader->hasFailed() || files.hasFailedWrite()) {
        files.removeAll();
        return std::nullopt;
    }
    files.removeAllBut(*item);
    return item;
}
