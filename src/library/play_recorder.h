#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>

// Keeps play_history for the game in the player: a play counts when a game starts; its time
// runs while it plays and is written when it halts, when another game starts and when the window
// goes. Times come from TClock, so tests can pin them.
class TPlayRecorder {
public:
    using TDatabase = std::function<QSqlDatabase()>;

    explicit TPlayRecorder(TDatabase database);

    void Started(const QString& id);
    void Halted();
    void Resumed();

private:
    template <typename Write> void TryWrite(Write&& write);

    TDatabase FDatabase;
    QString FId;
    std::optional<QDateTime> FRunningSince;
};
