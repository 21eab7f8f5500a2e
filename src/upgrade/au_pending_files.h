#pragma once

#include <QString>

// Pending files: each listed file is downloaded beside the program as "<name>.uTMP", where the
// upgrader finds it and puts it in place. Names match without regard to letter case.

// The pending file of the file at Url in Folder: the file name of the address (its query string
// included) followed by ".uTMP"; an existing pending file of that name in another letter case is
// reused, as the file system of the client's home platform would.
QString PendingFilePath(const QString& folder, const QString& url);

// Deletes every pending file in Folder, and every one still being written ("<name>.uTMP.part"),
// except Keep (the running program, whatever its name); failures are ignored.
void DeletePendingFiles(const QString& folder, const QString& keep);
