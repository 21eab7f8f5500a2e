#pragma once

#include "upgrader/program_location.h"

#include <QString>
#include <QStringList>
#include <vector>

// One pending file ("<name>.uTMP", downloaded by the client beside the program) and the file it
// replaces.
struct TReplacement {
    QString PendingPath;
    QString TargetPath;
    bool Runnable = false; // the program file or the setup program: it needs the run bits
    bool Hidden = false;   // the setup program
};

struct TFilePass {
    std::vector<TReplacement> Replacements; // in the order they are made
    QString SetupProgramPath;               // setup mode only, when a setup program came
};

// Decides what each of the pending files named (in the program's folder) replaces. Without the
// program's own pending copy, the first pending file whose name ends in "exe" is the new program
// file (or, in setup mode, the setup program); every other file keeps its name. Two files for
// one target: the later one is put in place.
TFilePass PlanFilePass(const TProgramLocation& program, bool setupMode,
                       const QStringList& pendingNames);
