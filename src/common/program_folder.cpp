#include "common/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString& OverriddenFolder() {
    static QString folder;
    return folder;
}

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString ProgramFolder() {
    if (!OverriddenFolder().isEmpty())
        return OverriddenFolder();
    return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

QString ProgramFilePath() {
    return ProgramFolder() + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

void SetProgramFolderForTesting(const QString& folder) {
    OverriddenFolder() =
        folder.isEmpty() ? QString() : WithTrailingSlash(QDir(folder).absolutePath());
}
