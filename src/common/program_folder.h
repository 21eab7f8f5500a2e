#pragma once

#include <QString>

// The folder of the running program, with a trailing "/". Every file the client keeps lies in it.
QString ProgramFolder();

// The running program file: the program folder and the file name the program was started from.
QString ProgramFilePath();

// Tests run the client's code against a temporary folder instead of the test binary's own.
void SetProgramFolderForTesting(const QString& folder);
