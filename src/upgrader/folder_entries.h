#pragma once

#include <QString>

// Names in the program folder match without regard to letter case, as on the system the client
// comes from: a pending "SKIN.DAT.uTMP" replaces "skin.dat".

// The name of the entry of Folder that equals Name ignoring case (an exact match wins); empty
// when there is none.
QString StoredName(const QString& folder, const QString& name);

// Folder + the stored name when the entry exists, else Folder + Name.
QString ResolvedPath(const QString& folder, const QString& name);
