#pragma once

#include <QString>

// A name from the network (a game's name, a picture's extension) may become part of a path only
// when it cannot leave its folder: no "/", "\", NUL or control character, and not "." or "..".
bool IsSafeFileName(const QString& name);
