#include "shell/progress_relay.h"

#include "platform/ui_dispatcher.h"

namespace {

// Ten updates a second look smooth, and every update recomposes the whole window (its browser
// panes are drawn with OpenGL, in software where there is no GPU), which a download competes with.
constexpr int kCoolDownMilliseconds = 100;

} // namespace

void TProgressFeed::Post(qint64 count) const {
    FSlot->Pending = count;
    if (!FSlot->Scheduled.exchange(true)) {
        TProgressRelay* relay = FRelay;
        TUiDispatcher::Post(relay, [relay] { relay->Drain(); });
    }
}

TProgressRelay::TProgressRelay(std::function<void(qint64)> apply, QObject* parent)
    : QObject(parent), FApply(std::move(apply)) {
    FCoolDown.setSingleShot(true);
    FCoolDown.setInterval(kCoolDownMilliseconds);
    connect(&FCoolDown, &QTimer::timeout, this, &TProgressRelay::Drain);
}

void TProgressRelay::Flush() {
    const qint64 count = FSlot->Pending.exchange(TProgressSlot::kNothing);
    if (count != TProgressSlot::kNothing)
        FApply(count);
}

void TProgressRelay::Drain() {
    const qint64 count = FSlot->Pending.exchange(TProgressSlot::kNothing);
    if (count != TProgressSlot::kNothing) {
        FApply(count);
        FCoolDown.start();
        return;
    }
    FSlot->Scheduled = false;
    // A count posted while the flag was still set would wait for nobody; take it now.
    if (FSlot->Pending != TProgressSlot::kNothing && !FSlot->Scheduled.exchange(true))
        Drain();
}
