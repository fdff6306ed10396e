// A job holds only a weak reference to its card's preview: a card that is gone (the popup closed)
// drops the job before it reads anything. Pixmaps are made on the main thread, from the workers'
// images.
#include "popup/CardPreviewLoader.h"

#include "popup/PreviewFile.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
// Two, so that one slow file does not hold up the previews of the others.
constexpr int workerCount = 2;
} // namespace

CardPreviewLoader& CardPreviewLoader::shared()
{
    static QPointer<CardPreviewLoader> loader;
    if (!loader) {
        loader = new CardPreviewLoader(QCoreApplication::instance());
    }
    return *loader;
}

CardPreviewLoader::CardPreviewLoader(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(workerCount);
}

CardPreviewLoader::~CardPreviewLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

std::shared_ptr<const CardPreview> CardPreviewLoader::loadImage(const QStringList& paths, const QSize& size,
                                                                PreviewImage::Crop crop)
{
    return start([paths, size, crop] { return Found{PreviewImage::readFilling(paths, size, crop), {}}; }, size, crop);
}

std::shared_ptr<const CardPreview> CardPreviewLoader::loadFile(const QString& path, const QSize& size, bool wantsImage)
{
    return start(
        [path, size, wantsImage] {
            Found found;
            if (wantsImage) {
                found.decoded = PreviewImage::readFilling({path}, size);
            }
            if (found.decoded.image.isNull()) {
                found.typeName = PreviewFile::typeName(path);
            }
            return found;
        },
        size, PreviewImage::Crop::centre);
}

std::shared_ptr<const CardPreview> CardPreviewLoader::start(std::function<Found()> read, const QSize& size,
                                                            PreviewImage::Crop crop)
{
    auto preview = std::make_shared<CardPreview>();
    std::weak_ptr<CardPreview> card = preview;
    m_pool.start([this, card, read = std::move(read), size, crop] {
        if (card.expired()) {
            return;
        }
        Found found = read();
        QMetaObject::invokeMethod(
            this,
            [this, card, found = std::move(found), size, crop] {
                // Into the pixmap cache even when the card is gone: the next opening shows it at once.
                const QPixmap pixmap = PreviewImage::insert(found.decoded, size, crop);
                if (const std::shared_ptr<CardPreview> shown = card.lock()) {
                    shown->isReady = true;
                    shown->pixmap = pixmap;
                    shown->typeName = found.typeName;
                    emit previewReady();
                }
            },
            Qt::QueuedConnection);
    });
    return preview;
}

void CardPreviewLoader::finishAll()
{
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}
