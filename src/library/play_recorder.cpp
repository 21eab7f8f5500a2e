#include "library/play_recorder.h"

#include "common/date_time.h"
#include "common/failure.h"
#include "library/play_history.h"

#include <algorithm>

TPlayRecorder::TPlayRecorder(TDatabase database) : FDatabase(std::move(database)) {}

void TPlayRecorder::Started(const QString& id) {
    Halted();
    FId = id;
    FRunningSince = TClock::Now();
    TryWrite([&](const QSqlDatabase& database) { RecordPlay(database, FId, *FRunningSince); });
}

void TPlayRecorder::Halted() {
    if (!FRunningSince)
        return;
    const qint64 seconds = std::max<qint64>(0, FRunningSince->secsTo(TClock::Now()));
    FRunningSince.reset();
    TryWrite([&](const QSqlDatabase& database) { AddPlayTime(database, FId, seconds); });
}

void TPlayRecorder::Resumed() {
    if (!FId.isEmpty() && !FRunningSince)
        FRunningSince = TClock::Now();
}

// The history is a convenience beside the game: a library that cannot be written reports that
// when the game is stored, and the game plays all the same.
template <typename Write> void TPlayRecorder::TryWrite(Write&& write) {
    try {
        write(FDatabase());
    } catch (const EFailure&) {
    }
}
