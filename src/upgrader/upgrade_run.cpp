#include "upgrader/upgrade_run.h"

#include "upgrader/file_pass.h"
#include "upgrader/installation.h"
#include "upgrader/journal.h"
#include "upgrader/program_start.h"
#include "upgrader/program_wait.h"
#include "upgrader/start_confirmation.h"
#include "upgrader/upgrader_lock.h"
#include "upgrader/verified_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

class TUpgradeRun {
public:
    TUpgradeRun(const TUpgraderCommand& command, const TProgramLocation& program,
                std::chrono::milliseconds confirmTimeout)
        : FCommand(command), FProgram(program), FConfirmTimeout(confirmTimeout) {}

    void Run() {
        if (std::optional<TJournal> journal = ReadJournal(Folder())) {
            TakeUp(*journal);
            return;
        }
        // A confirmed installation whose backup a crash left behind.
        if (QFileInfo::exists(BackupFolder(Folder())))
            RemoveBackup(Folder());
        const std::optional<TVerifiedFiles> verified = ReadVerifiedFiles(Folder());
        // Without the client's list nothing is known to be the vendor's: nothing is installed.
        if (!verified) {
            StartOldProgram();
            return;
        }
        if (!AllStillAsVerified(*verified)) {
            ForgetVerifiedFiles(*verified);
            WriteUndoNotice(Folder(), TUndoReason::FilesChanged, verified->Version);
            StartOldProgram();
            return;
        }
        Install(*verified);
    }

private:
    const QString& Folder() const { return FProgram.Folder; }

    bool AllStillAsVerified(const TVerifiedFiles& verified) const {
        return std::all_of(
            verified.Files.begin(), verified.Files.end(),
            [&](const TVerifiedFile& file) { return StillAsVerified(Folder(), file); });
    }

    void ForgetVerifiedFiles(const TVerifiedFiles& verified) const {
        for (const TVerifiedFile& file : verified.Files)
            QFile::remove(QDir(Folder()).filePath(file.PendingName));
        DeleteVerifiedFiles(Folder());
    }

    void Install(const TVerifiedFiles& verified) {
        QStringList names;
        for (const TVerifiedFile& file : verified.Files)
            names.append(file.PendingName);
        const TFilePass pass = PlanFilePass(FProgram, FCommand.SetupMode, names);
        TJournal journal = JournalOf(Folder(), pass.Replacements, verified.Version);
        BeforeStep();
        if (!WriteJournal(Folder(), journal)) {
            ForgetVerifiedFiles(verified);
            WriteUndoNotice(Folder(), TUndoReason::NotInstalled, verified.Version);
            StartOldProgram();
            return;
        }
        DeleteVerifiedFiles(Folder());
        if (!InstallReplacements(Folder(), pass.Replacements)) {
            Undo(journal, TUndoReason::NotInstalled);
            return;
        }
        journal.State = TJournalState::Installed;
        BeforeStep();
        WriteJournal(Folder(), journal);
        if (!pass.SetupProgramPath.isEmpty())
            RunSetupProgram(pass.SetupProgramPath);
        AwaitNewProgram(journal);
    }

    void TakeUp(TJournal& journal) {
        switch (journal.State) {
        case TJournalState::Installed:
            AwaitNewProgram(journal);
            break;
        case TJournalState::Installing:
            Undo(journal, TUndoReason::NotInstalled);
            break;
        case TJournalState::RollingBack:
            // Its notice was written before the old files started going back.
            Undo(journal, std::nullopt);
            break;
        }
    }

    void AwaitNewProgram(TJournal& journal) {
        const TStartOutcome outcome =
            StartAndAwaitConfirmation(FProgram.Path(), FCommand.RestartArguments, FConfirmTimeout);
        if (outcome == TStartOutcome::Confirmed) {
            BeforeStep();
            DeleteJournal(Folder());
            RemoveBackup(Folder());
            return;
        }
        WaitUntilProgramEnded(FProgram.Path());
        Undo(journal, TUndoReason::NotStarted);
    }

    void Undo(TJournal& journal, std::optional<TUndoReason> reason) {
        if (reason) {
            BeforeStep();
            WriteUndoNotice(Folder(), *reason, journal.Version);
        }
        journal.State = TJournalState::RollingBack;
        BeforeStep();
        WriteJournal(Folder(), journal);
        RollBack(Folder(), journal);
        BeforeStep();
        DeleteJournal(Folder());
        RemoveBackup(Folder());
        StartOldProgram();
    }

    void RunSetupProgram(const QString& setupProgramPath) const {
        const pid_t setup = StartProgram(setupProgramPath, FCommand.RestartArguments);
        if (setup > 0)
            WaitForProgram(setup);
        QFile::remove(setupProgramPath);
    }

    void StartOldProgram() const { StartProgram(FProgram.Path(), FCommand.RestartArguments); }

    const TUpgraderCommand& FCommand;
    const TProgramLocation& FProgram;
    const std::chrono::milliseconds FConfirmTimeout;
};

} // namespace

void RunUpgrade(const TUpgraderCommand& command, std::chrono::milliseconds confirmTimeout) {
    const TProgramLocation program = LocateProgram(command.ProgramPath);
    // Without a program file name there is neither a folder to work in nor a program to start.
    if (program.Name.isEmpty())
        return;
    const TUpgraderLock lock(program.Folder);
    // Another upgrader is at work on this folder and will start the program itself.
    if (lock.Busy())
        return;
    if (program.Exists)
        WaitUntilProgramEnded(program.Path());
    if (!lock.Held()) {
        // No room for our bookkeeping: nothing can be installed safely.
        StartProgram(program.Path(), command.RestartArguments);
        return;
    }
    TUpgradeRun(command, program, confirmTimeout).Run();
}
