#include "shell/skin_data.h"

#include "common/folder_lookup.h"
#include "shell/style_sheet_check.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QString ReadStyleSheet(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return ValidStyleSheet(file.readAll());
}

QString BuiltInSkin() {
    return ReadStyleSheet(QStringLiteral(":/pebblo/builtin.skn"));
}

} // namespace

TSkinData::TSkinData(QObject* parent) : QObject(parent) {
    Apply();
}

void TSkinData::SetSkinFile(const QString& path) {
    FSkinFile = path;
    if (FActive)
        Apply();
}

void TSkinData::Activate() {
    FActive = true;
    Apply();
}

void TSkinData::Apply() {
    const QFileInfo info(FSkinFile);
    QString sheet;
    if (!FSkinFile.isEmpty())
        sheet = ReadStyleSheet(FindInFolder(info.path(), info.fileName()));
    if (sheet.isEmpty())
        sheet = BuiltInSkin();
    FApplied = sheet;
    qApp->setStyleSheet(sheet);
}
