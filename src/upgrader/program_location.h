#pragma once

#include <QString>

// Where the program to upgrade lives. Folder ends with "/".
struct TProgramLocation {
    QString Folder;
    QString Name;        // as stored on disk when the file exists, else as given
    bool Exists = false; // a program that does not exist is not waited for

    QString Path() const { return Folder + Name; }
};

// A relative path counts from the working directory.
TProgramLocation LocateProgram(const QString& programPath);
