#pragma once

#include <QString>

// The text from the last of ".", "\" and ":" to the end when that last one is "."; otherwise
// empty. "/" is not a separator, so for "http://host.example/pic/123" the extension is
// ".example/pic/123".
QString ExtractFileExt(const QString& name);
