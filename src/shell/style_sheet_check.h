#pragma once

#include <QByteArray>
#include <QString>

// Decodes a skin file's bytes as a style sheet. Empty when they are not UTF-8 text or when Qt
// cannot parse them: such a skin must not replace the look the window has.
QString ValidStyleSheet(const QByteArray& bytes);
