#pragma once

#include "upgrader/file_pass.h"

#include <QString>

// Puts one pending file in place with a single rename, so that the target is at every moment
// either the old file or the whole new one, also across a crash or a power loss. The new file
// is given its final mode and attributes before it takes the target's name. When the rename
// fails the old file stays, and so does the pending file.
bool ReplaceTarget(const TReplacement& replacement);

// Makes the renames done in Folder durable.
void SyncFolder(const QString& folder);
