#pragma once

#include <QString>

class EHttpFailure;

// What went wrong on the way to a game, in the words of the client's user; the technical text
// is shown beside it as detail.

// Fetching the game's record (Record) or its file.
QString GameFailureText(const EHttpFailure& failure, bool record);
// A record that came but cannot be read.
QString UnreadableRecordText();
// A game file that came empty.
QString EmptyGameFileText();
