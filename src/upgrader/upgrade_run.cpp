#include "upgrader/upgrade_run.h"

#include "upgrader/file_pass.h"
#include "upgrader/program_start.h"
#include "upgrader/program_wait.h"
#include "upgrader/replacement.h"

#include <QFile>

namespace {

void RunSetupProgram(const QString& setupProgramPath, const QString& arguments) {
    const pid_t setup = StartProgram(setupProgramPath, arguments);
    if (setup > 0)
        WaitForProgram(setup);
    QFile::remove(setupProgramPath);
}

} // namespace

void RunUpgrade(const TUpgraderCommand& command) {
    const TProgramLocation program = LocateProgram(command.ProgramPath);
    // Without a program file name there is neither a folder to work in nor a program to start.
    if (program.Name.isEmpty())
        return;
    if (program.Exists)
        WaitUntilProgramEnded(program.Path());

    const TFilePass pass = PlanFilePass(program, command.SetupMode);
    for (const TReplacement& replacement : pass.Replacements)
        ReplaceTarget(replacement);
    SyncFolder(program.Folder);

    if (!pass.SetupProgramPath.isEmpty())
        RunSetupProgram(pass.SetupProgramPath, command.RestartArguments);
    StartProgram(program.Path(), command.RestartArguments);
}
