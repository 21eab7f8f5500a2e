#include "shell/skin_data.h"

#include "common/folder_lookup.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString BuiltInSkin() {
    return ReadText(QStringLiteral(":/pebblo/builtin.skn"));
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
        sheet = ReadText(FindInFolder(info.path(), info.fileName()));
    if (sheet.isEmpty())
        sheet = BuiltInSkin();
    FApplied = sheet;
    qApp->setStyleSheet(sheet);
}
