#include "collection_client.h"

#include "common/program_folder.h"
#include "platform/flash_player.h"
#include "support/player_answers.h"
#include "support/program_files.h"
#include "support/pump_events.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

TCollectionClient::TCollectionClient(const QString& host) {
    FInstalled = CopyInstalledProgramFiles(FProgramFolder.path());
    SetProgramFolderForTesting(FProgramFolder.path());
    qputenv("PEBBLO_CATALOGUE_HOST", host.toUtf8());
    FWindow = std::make_unique<TfrmMain>();
}

// The window goes while the folder and the host it was made with are still there.
TCollectionClient::~TCollectionClient() {
    FWindow.reset();
    qunsetenv("PEBBLO_CATALOGUE_HOST");
    SetProgramFolderForTesting(QString());
}

bool TCollectionClient::FollowGame(const std::string& listPage, const QString& name,
                                   const QString& flashname) {
    // A card: <a href="LINK"><img ...></a><a href="LINK"><b>NAME</b></a>
    const QRegularExpressionMatch link =
        QRegularExpression(QStringLiteral("href=\"([^\"]*GameInfo\\.asp\\?ID=[^\"]+)\"><b>") +
                               QRegularExpression::escape(name) + QStringLiteral("</b>"),
                           QRegularExpression::CaseInsensitiveOption)
            .match(QStringDecoder("GBK").decode(QByteArray::fromStdString(listPage)));
    if (!link.hasMatch())
        return false;
    bool cancel = false;
    FWindow->WB_GameListBeforeNavigate2(FWindow->WB_GameList, link.captured(1), cancel);
    return cancel && PumpEventsUntil([&] { return FWindow->CurrentGame.flashname == flashname; }) &&
           PumpEventsUntil([&] { return FWindow->RunningDownloads() == 0; }, 30000);
}

bool TCollectionClient::MovieLoaded() {
    return PlayerStateBecomes(*FWindow->swfPlay,
                              [](const TFlashPlayerState& state) { return state.loaded; });
}

QByteArray TCollectionClient::Stored(const QString& relativePath) const {
    QFile file(FProgramFolder.filePath(relativePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
