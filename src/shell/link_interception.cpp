// Game links in the catalogue panes become games in the player; the category tree opens its
// categories in the game-list pane.
#include "common/common_method.h"
#include "common/failure.h"
#include "common/handler_guard.h"
#include "common/message_boxes.h"
#include "platform/browser_pane.h"
#include "platform/event_loop_wait.h"
#include "platform/http_client.h"
#include "shell/catalogue_addresses.h"
#include "shell/game/game_record.h"
#include "shell/game_failure_text.h"
#include "shell/main_window.h"

#include <QTimer>

namespace {

bool IsGameLink(const QString& url) {
    const QString prefix = GameInfoPrefix();
    return UpperCaseAscii(url.left(prefix.size())) == prefix;
}

} // namespace

void TfrmMain::WB_GameListBeforeNavigate2(TBrowserPane*, const QString& url, bool& cancel) {
    if (!IsGameLink(url))
        return;
    cancel = true;
    // The browser asks from inside its own navigation; the record request waits with the event
    // loop running, so it runs once the browser's call has returned.
    QTimer::singleShot(0, this,
                       [this, url] { RunHandler([this, &url] { InterceptGameLink(url); }); });
}

void TfrmMain::InterceptGameLink(const QString& url) {
    const auto retry = [this, url] {
        InterceptGameLink(url);
    };
    QByteArray reply;
    try {
        reply = THttpClient().Get(url);
    } catch (const EWaitAbandoned&) {
        return; // the client is closing
    } catch (const EHttpFailure& failure) {
        ShowGameFailure(QString(), GameFailureText(failure, true), failure.Message(), retry);
        return;
    }
    TGameInfo game;
    try {
        game = ParseGameRecord(reply);
    } catch (const EFailure& failure) {
        ShowGameFailure(QString(), UnreadableRecordText(), failure.Message(), retry);
        return;
    }
    CurrentGame = game;
    PlayGame(game);
    FetchMissingPicture(game);
    SelectPage(1);
}

void TfrmMain::WB_GameTreeListBeforeNavigate2(TBrowserPane* pane, const QString& url,
                                              bool& cancel) {
    // A game link plays from the tree as from every pane.
    if (IsGameLink(url)) {
        WB_GameListBeforeNavigate2(pane, url, cancel);
        return;
    }
    if (TrimBlanks(url) == CategoryTreeAddress())
        return;
    if (url.contains(QLatin1String("classid"))) {
        QTimer::singleShot(0, this, [this, url] {
            WB_GameList->Navigate(url);
            SelectPage(0);
        });
    }
    cancel = true;
}
