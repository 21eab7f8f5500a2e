#pragma once

#include "upgrade/au_auto_updater_types.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

// The upgrade information file: plain 8-bit text in which each value is found by searching for
// its key pattern ("#key=" for a one-line value, "#key={" for one in braces), in any letter
// case, the first occurrence anywhere winning. These functions need no display and no network.

// What the information file vouches for about one listed file: its size and SHA-256, in keys
// beside its address ("size" + n and "sha256_" + n for "url" + n; "size" and "sha256" for
// "url"), which older readers of the file ignore.
struct TauFileDigest {
    qint64 Size = -1;  // -1 when absent or not a decimal number
    QByteArray Sha256; // the 32 bytes; empty when absent or not 64 hexadecimal digits

    bool Complete() const { return Size >= 0 && Sha256.size() == 32; }
};

// What the check takes from an information file.
struct TauInfoFileContent {
    QStringList Files;
    // Beside Files, one for each: the file's key ("url", "url0", "url2", …) and its digest.
    QList<QByteArray> FileKeys;
    QList<TauFileDigest> Digests;
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

// The keys of a file's size and digest, given the key of its address.
QByteArray SizeKeyOf(const QByteArray& fileKey);
QByteArray DigestKeyOf(const QByteArray& fileKey);

// Sets the one-line value of Key where a reader finds it (its first occurrence), or appends
// the key on a line of its own, in the text's own line ends. Value holds no control byte.
void SetOneLineValue(QByteArray& text, const QByteArray& key, const QByteArray& value);

// By number: the offered version compares greater (blanks around either version do not count). By
// date: the offered date is strictly later; a missing or unreadable date on either side counts as
// today.
bool IsNewerVersion(TauAutoUpdaterVersionControl control, const TauInfoFileContent& offered,
                    const QString& versionNumber, const QString& versionDate);

// "month/day/year" in decimal; today's date for anything that is not a calendar date.
QDate ParseVersionDate(const QString& text);
// Two-digit month, "/", two-digit day, "/", four-digit year.
QString FormatVersionDate(const QDate& date);
