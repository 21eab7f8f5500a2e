#pragma once

#include "common/program_folder.h"
#include "support/program_files.h"

#include <QTemporaryDir>

// Makes Folder a program folder of its own, with the installed files, and the client's program
// folder; false when the files could not be copied.
inline bool UseProgramFolderCopy(const QTemporaryDir& folder) {
    if (!CopyInstalledProgramFiles(folder.path()))
        return false;
    SetProgramFolderForTesting(folder.path());
    return true;
}
