// Card previews read on worker threads, so that no file an entry names, however it behaves, can
// hold up the popup; the results come back to the main thread.
#pragma once

#include "popup/PreviewImage.h"

#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <functional>
#include <memory>

// What the workers found for one card, filled in on the main thread once they are done.
struct CardPreview
{
    bool isReady = false;
    QPixmap pixmap;   // null when no picture decoded
    QString typeName; // a file's MIME type, which picks its icon; only read when there is no picture
};

class CardPreviewLoader : public QObject
{
    Q_OBJECT
public:
    // The program's loader, a child of the application object, so that it and its workers are
    // gone before `main` returns.
    static CardPreviewLoader& shared();

    explicit CardPreviewLoader(QObject* parent = nullptr);
    // Drops the work still waiting and waits for the running jobs, each of them bounded.
    ~CardPreviewLoader() override;

    // The picture of an image or PDF entry: the first of `paths` that decodes, filling `size`.
    std::shared_ptr<const CardPreview> loadImage(const QStringList& paths, const QSize& size, PreviewImage::Crop crop);
    // The first file of a file entry: its picture filling `size` when `wantsImage`, else (or when
    // it does not decode) its type.
    std::shared_ptr<const CardPreview> loadFile(const QString& path, const QSize& size, bool wantsImage);

    // Waits for every job asked for so far and delivers its result.
    void finishAll();

signals:
    // A card's preview became ready: the views that show cards repaint.
    void previewReady();

private:
    struct Found
    {
        PreviewImage::Decoded decoded;
        QString typeName;
    };
    std::shared_ptr<const CardPreview> start(std::function<Found()> read, const QSize& size, PreviewImage::Crop crop);

    QThreadPool m_pool;
};
