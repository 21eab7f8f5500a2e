#include "library/thumbnail_loader.h"

#include "library/picture_loader.h"

namespace {

// The decoders take a fraction of a millisecond per thumbnail; two threads fill a screen in a
// few milliseconds and leave the rest of the machine to the window.
constexpr int kThreads = 2;
// What a remembered failure is charged, so that failures are bounded as well.
constexpr qsizetype kFailureCost = 64;

} // namespace

TThumbnailLoader::TThumbnailLoader(QSize size, qsizetype maxBytes, QObject* parent)
    : QObject(parent), FSize(size), FCache(maxBytes) {
    FPool.setMaxThreadCount(kThreads);
}

// Pictures handed back after this are dropped with the object's posted events.
TThumbnailLoader::~TThumbnailLoader() {
    {
        const std::lock_guard lock(FLock);
        FWaiting.clear();
    }
    FPool.waitForDone();
}

TThumbnailLoader::TState TThumbnailLoader::Find(const TPictureRef& ref, QImage* picture) {
    const QImage* known = FCache.object(ref);
    if (!known)
        return TState::Waiting;
    if (known->isNull())
        return TState::Failed;
    if (picture)
        *picture = *known;
    return TState::Decoded;
}

void TThumbnailLoader::Request(const QList<TPictureRef>& urgent, const QList<TPictureRef>& nearby) {
    int starting = 0;
    {
        const std::lock_guard lock(FLock);
        FWaiting.clear();
        QSet<TPictureRef> queued;
        for (const QList<TPictureRef>* wishes : {&urgent, &nearby}) {
            for (const TPictureRef& ref : *wishes) {
                if (!ref.IsNull() && !FCache.contains(ref) && !FTaken.contains(ref) &&
                    !queued.contains(ref)) {
                    queued.insert(ref);
                    FWaiting.push_back(ref);
                }
            }
        }
        starting = std::min(kThreads - FWorkers, int(FWaiting.size()));
        FWorkers += starting;
    }
    for (int i = 0; i < starting; ++i)
        FPool.start([this] { Work(); });
}

qsizetype TThumbnailLoader::Pending() {
    const std::lock_guard lock(FLock);
    return qsizetype(FWaiting.size()) + FTaken.size();
}

// A worker takes the first wish until none is left.
void TThumbnailLoader::Work() {
    for (;;) {
        TPictureRef ref;
        {
            const std::lock_guard lock(FLock);
            if (FWaiting.empty()) {
                --FWorkers;
                return;
            }
            ref = FWaiting.front();
            FWaiting.pop_front();
            FTaken.insert(ref);
        }
        const QImage picture = LoadThumbnail(ref.Path, FSize);
        QMetaObject::invokeMethod(
            this, [this, ref, picture] { Store(ref, picture); }, Qt::QueuedConnection);
    }
}

void TThumbnailLoader::Store(const TPictureRef& ref, const QImage& picture) {
    {
        const std::lock_guard lock(FLock);
        FTaken.remove(ref);
    }
    // Copied on this thread: kept in the decoding thread's heap, pictures evicted over a long
    // scroll leave holes there that a process never gets back.
    FCache.insert(ref, new QImage(picture.copy()),
                  picture.isNull() ? kFailureCost : picture.sizeInBytes());
    emit Decoded(ref);
}
