#pragma once

#include "common/game_saves.h"

#include <QByteArray>
#include <QString>

// A game's saved data as a file of the user's: a small JSON text naming the game, so that
// saves can be kept aside, carried to another machine and brought back.
//
//   {"format": "pebblo-saves", "version": 1, "game": "<name>",
//    "saves": {"<object name>": "<its .sol bytes in base64>", ...}}

QByteArray SaveFileText(const QString& game, const TGameSaves& saves);

struct TSaveFileRead {
    TGameSaves saves;
    QString failure; // in the user's words; empty when the file is good
};

// Checks a file's text from end to end: it must be such a file, for Game (names match without
// regard to case), holding at least one save, every one well-formed.
TSaveFileRead ReadSaveFile(const QByteArray& text, const QString& game);

// Reads the file at Path for Game; a file that cannot be read, or too large to be saves, fails.
TSaveFileRead LoadSaveFile(const QString& path, const QString& game);

// Writes the file whole or not at all; the failure in the user's words, empty on success.
QString StoreSaveFile(const QString& path, const QString& game, const TGameSaves& saves);
