#pragma once

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QString>

// How often, when last and how long each game was played (table play_history). Every function
// fails with the engine's message.

struct TPlayRecord {
    int Count = 0;
    // As fDate is stored: local "yyyy-MM-dd HH:mm:ss.zzz", which sorts as the times do.
    QString LastPlayed;
    qint64 Seconds = 0;
};

// One more play of the game, begun At.
void RecordPlay(const QSqlDatabase& database, const QString& id, const QDateTime& at);
void AddPlayTime(const QSqlDatabase& database, const QString& id, qint64 seconds);
QHash<QString, TPlayRecord> ReadPlayHistory(const QSqlDatabase& database);
