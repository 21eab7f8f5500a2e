#pragma once

#include <QByteArray>
#include <QString>

// The record carries the SWF address as "&#" followed by a character code, once per character.
// Each code is read as a 32-bit integer and contributes its low 8 bits as one byte of GBK text;
// a piece that is not an integer fails with "'<piece>' is not a valid integer value".
QString DecodeFlashUrl(const QByteArray& coded);
