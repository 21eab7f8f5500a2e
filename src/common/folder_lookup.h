#pragma once

#include <QString>

// File names in the program folder match without regard to letter case, so a "Flash" folder
// or a "CONFIG.XML" written by another tool is still found.

// The full path of the entry of Folder whose name equals Name ignoring case (an exact match
// wins); empty when there is none.
QString FindInFolder(const QString& folder, const QString& name);

// The existing entry's path when there is one, else Folder + Name: the path to open or create.
QString ResolveInFolder(const QString& folder, const QString& name);
