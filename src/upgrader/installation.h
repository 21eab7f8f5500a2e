#pragma once

#include "upgrader/file_pass.h"
#include "upgrader/journal.h"

#include <QString>
#include <functional>
#include <vector>

// The steps that change the program folder during an installation and its undoing. Each is
// durable before the next begins, and the journal says which of them may have happened, so
// that a crash between any two of them leaves files that Roll back can put back.

// Runs before every step that changes the program folder. Tests make it stop us there, as a
// crash would.
void SetStepHookForTesting(std::function<void()> hook);
void BeforeStep();

// The journal of these replacements, before any of them is made.
TJournal JournalOf(const QString& programFolder, const std::vector<TReplacement>& replacements,
                   const QString& version);

// Keeps each target that exists in the backup folder, then puts its replacement in place.
// False at the first replacement that cannot be made; what was done stays for RollBack.
bool InstallReplacements(const QString& programFolder,
                         const std::vector<TReplacement>& replacements);

// Puts back every old file the journal names and removes every file it added; the verified
// files not installed yet go too. Safe to run again after a crash in the middle of it.
void RollBack(const QString& programFolder, const TJournal& journal);

// Removes the backup folder with what it keeps.
void RemoveBackup(const QString& programFolder);
