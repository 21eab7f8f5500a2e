#pragma once

#include <QString>

// Hands an address to the desktop's own handler (the user's browser for web pages).
bool OpenWithDesktop(const QString& url);
