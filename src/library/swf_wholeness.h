#pragma once

#include <QIODevice>

enum class TSwfWholeness { Whole, NotSwf, CutShort };

// Whether File (open, read from its start) holds a whole Flash movie as its header describes it:
// a plain movie at least as long as it says, a zlib-packed one whose stream ends or reaches that
// length, an LZMA-packed one holding the packed length it gives. A copy cut short fails; a game
// without a fingerprint is judged by this alone.
TSwfWholeness CheckSwfWholeness(QIODevice& file);
