#pragma once

#include <QString>
#include <QStringList>

// Hands an address to the desktop's own handler (the user's browser for web pages).
bool OpenWithDesktop(const QString& url);

// Starts a program on its own, outliving the client; false when it could not be started, with
// the system's reason in Reason when one is asked for.
bool StartProgram(const QString& program, const QStringList& arguments, QString* reason = nullptr);
