// The player's "导出存档" and "导入存档": the loaded game's saved data to and from a file the
// user chooses.
#include "common/message_boxes.h"
#include "platform/flash_player.h"
#include "shell/game/save_file.h"
#include "shell/main_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString kSaveFiles = QStringLiteral("游戏存档 (*.json);;所有文件 (*)");

// The name the saves are kept under: the game file's.
QString SavesGameName(const QString& movie) {
    return QFileInfo(movie).completeBaseName();
}

} // namespace

void TfrmMain::btnExportSavesClick() {
    if (!GameLoaded())
        return;
    const QString game = SavesGameName(swfPlay->Movie());
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出存档"),
        QDir::home().filePath(game + QStringLiteral("的存档.json")), kSaveFiles);
    if (path.isEmpty())
        return;
    swfPlay->ReadSaves([game, path](const TGameSaves& saves) {
        if (saves.isEmpty()) {
            ShowPlainMessage(QStringLiteral("游戏“%1”还没有存档。").arg(game));
            return;
        }
        const QString failure = StoreSaveFile(path, game, saves);
        ShowPlainMessage(failure.isEmpty()
                             ? QStringLiteral("游戏“%1”的存档已导出到\n%2").arg(game, path)
                             : failure);
    });
}

void TfrmMain::btnImportSavesClick() {
    if (!GameLoaded())
        return;
    const QString game = SavesGameName(swfPlay->Movie());
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("导入存档"),
                                                      QDir::homePath(), kSaveFiles);
    if (path.isEmpty())
        return;
    const TSaveFileRead read = LoadSaveFile(path, game);
    if (!read.failure.isEmpty()) {
        ShowPlainMessage(read.failure);
        return;
    }
    // The game starts again from the saves brought in.
    swfPlay->WriteSaves(read.saves);
    btnReplayClick();
}

void TfrmMain::swfPlaySavesWritten(bool stored) {
    ShowPlainMessage(stored ? QStringLiteral("存档已导入，游戏重新开始。")
                            : QStringLiteral("存储空间已满，存档没有导入，游戏原来的存档不变。"));
}
