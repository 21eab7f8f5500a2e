#pragma once

#include <QString>
#include <QStringList>

// What the client asks of the upgrader. It starts us with "<program path> +<restart
// arguments><method digit>", nothing quoted, so a program path with blanks arrives split into
// several arguments and is joined again here.
struct TUpgraderCommand {
    QString ProgramPath;      // the program to put the files beside and to restart
    QString RestartArguments; // passed to the restarted program
    bool SetupMode = false;   // run a downloaded setup program instead of replacing the program
};

TUpgraderCommand ParseUpgraderCommand(const QStringList& arguments);
