#pragma once

#include "library/pinyin.h"

#include <QList>
#include <QString>

// A point in local time packed as the decimal digits yyyyMMddHHmm, as read from the text the
// library stores ("2008-12-17 20:15:00.000" is 200812172015); 0 when unknown. It orders as the
// times do and costs no time zone arithmetic, which matters over 100,000 rows.
using TPackedTime = qint64;
TPackedTime PackedTimeOf(const QString& storedText);
// "2008-12-17 20:15"; empty for 0.
QString PackedTimeText(TPackedTime time);

// One row of a library list, as shown: its picture file was found in the picture folder.
struct TLibraryGame {
    QString Id;
    QString Name; // flashname without surrounding blanks
    QString PictureName;
    qint64 PictureSize = 0;
    qint64 PictureModifiedNs = 0;
    TPackedTime StoredAt = 0;
};

// What the library knows of a game beyond its row, read after the list.
struct TGameDetails {
    TPinyin Spelling;
    int PlayCount = 0;
    TPackedTime LastPlayed = 0;
    qint64 SecondsPlayed = 0;
    // Its place among the list's names in Chinese collation order.
    int NameRank = 0;
};
