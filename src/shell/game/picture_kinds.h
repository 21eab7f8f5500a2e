#pragma once

#include "shell/game/game_info.h"

#include <QByteArray>
#include <QString>

// The picture kinds the local games view can show.

// Exactly ".gif", ".jpg", ".bmp" or ".png"; letter case counts, so ".JPG" is not accepted.
bool IsAcceptedPictureExt(const QString& ext);

// A bitmap, JPEG, GIF or PNG by its first two bytes; anything else (an HTML error page served
// as a picture, fewer than two bytes) is replaced by the placeholder picture.
bool IsAcceptedPictureContent(const QByteArray& content);

// The picName stored for a game: its own when its extension is accepted, else "nopic.gif".
QString StoredPicName(const TGameInfo& game);
