#pragma once

#include "upgrade/au_auto_updater_types.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// The upgrade information file: plain 8-bit text in which each value is found by searching for
// its key pattern ("#key=" for a one-line value, "#key={" for one in braces), in any letter
// case, the first occurrence anywhere winning. These functions need no display and no network.

// What the check takes from an information file.
struct TauInfoFileContent {
    QStringList Files;
    QString Version;
    QString Date;
    QString Message;
    TauUpgradeMethod Method = umSelfUpgrade;
};

// An information file is a few hundred bytes; only this much of one is ever read, so that a
// server cannot make the client hold an endless reply in memory.
inline constexpr qint64 kLargestInfoFile = 1024 * 1024;

// A one-line value runs from behind "#key=" to the first byte below 32 or the end of the text;
// a value in braces from behind "#key={" to the first "}" or the end; an absent key gives an
// empty value. The bytes are code page 936 text. The files are the values of "url", then "url0",
// then "url" + k for k = (files so far) + 1, 2, … up to the first empty one.
TauInfoFileContent ParseInfoFile(const QByteArray& text);

// By number: the offered version compares greater. By date: the offered date is strictly later;
// a missing or unreadable date on either side counts as today.
bool IsNewerVersion(TauAutoUpdaterVersionControl control, const TauInfoFileContent& offered,
                    const QString& versionNumber, const QString& versionDate);

// "month/day/year" in decimal; today's date for anything that is not a calendar date.
QDate ParseVersionDate(const QString& text);
// Two-digit month, "/", two-digit day, "/", four-digit year.
QString FormatVersionDate(const QDate& date);
