#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// The list of verified files the client leaves for us: what it downloaded and checked against
// the vendor's signed information file. We install nothing else, and nothing that changed since.

struct TVerifiedFile {
    QString PendingName; // in the program folder
    qint64 Size = -1;
    QByteArray Sha256; // 32 bytes
};

struct TVerifiedFiles {
    QString Version;
    std::vector<TVerifiedFile> Files;
};

// Empty when the program folder holds no list, or one we cannot read.
std::optional<TVerifiedFiles> ReadVerifiedFiles(const QString& programFolder);
void DeleteVerifiedFiles(const QString& programFolder);

// Whether the pending file in Folder still has the size and SHA-256 the list gives it.
bool StillAsVerified(const QString& folder, const TVerifiedFile& file);
