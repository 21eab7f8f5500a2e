#pragma once

#include "library/picture_ref.h"

#include <QCache>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>
#include <deque>
#include <mutex>

// Decodes thumbnails on a small pool of threads, only those asked for, into a cache bounded in
// bytes that drops the least recently used first. The UI thread asks and finds; the pool only
// decodes and hands each picture back to the UI thread.
class TThumbnailLoader : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kDefaultMaxBytes = qsizetype(64) << 20;

    enum class TState { Waiting, Decoded, Failed };

    // Pictures come stretched to Size.
    explicit TThumbnailLoader(QSize size, qsizetype maxBytes = kDefaultMaxBytes,
                              QObject* parent = nullptr);
    ~TThumbnailLoader() override;

    // What is known of the picture; a decoded one is put into Picture.
    TState Find(const TPictureRef& ref, QImage* picture = nullptr);

    // Replaces every earlier wish that no thread has taken yet: the urgent pictures are decoded
    // first, then the nearby ones. Pictures decoded or on their way are not decoded again.
    void Request(const QList<TPictureRef>& urgent, const QList<TPictureRef>& nearby);

    qsizetype Bytes() const { return FCache.totalCost(); }
    // Pictures asked for and not handed back yet.
    qsizetype Pending();

signals:
    void Decoded(const TPictureRef& ref);

private:
    void Work();
    void Store(const TPictureRef& ref, const QImage& picture);

    QSize FSize;
    QCache<TPictureRef, QImage> FCache; // a failed picture is a null image
    QThreadPool FPool;
    // Shared with the pool.
    std::mutex FLock;
    std::deque<TPictureRef> FWaiting;
    QSet<TPictureRef> FTaken;
    int FWorkers = 0;
};
