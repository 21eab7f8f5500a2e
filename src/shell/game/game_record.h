#pragma once

#include "shell/game/game_info.h"

#include <QByteArray>

// Turns the catalogue's "|"-separated reply (GBK bytes) into a game record: id, name,
// description, coded SWF address, picture address; later fields are ignored and nothing is
// trimmed. The picture's file name is the game name plus the picture address's extension.
// Fails with "List index out of bounds (N)" for the first missing field N (zero-based), or
// with the integer failure of the coded address, checked in the order the fields are read.
TGameInfo ParseGameRecord(const QByteArray& reply);
