#pragma once

#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/recorded_messages.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

// The client as a person runs it against the catalogue at host, in a program folder of its own.
class TCollectionClient {
public:
    explicit TCollectionClient(const QString& host);
    ~TCollectionClient();
    TCollectionClient(const TCollectionClient&) = delete;
    TCollectionClient& operator=(const TCollectionClient&) = delete;

    // Whether the program folder holds what the installation brings.
    bool Installed() const { return FInstalled; }
    // Follows the link of the game called name on a game list page, as the user's click does,
    // and waits until the game has been downloaded; false when that did not come about.
    bool FollowGame(const std::string& listPage, const QString& name, const QString& flashname);
    // Waits until the player has the current movie loaded.
    bool MovieLoaded();
    QByteArray Stored(const QString& relativePath) const;
    TfrmMain& Window() { return *FWindow; }
    const TRecordedMessages& Messages() const { return FMessages; }

private:
    TUiDispatcher FDispatcher;
    TRecordedMessages FMessages;
    QTemporaryDir FProgramFolder;
    bool FInstalled = false;
    std::unique_ptr<TfrmMain> FWindow;
};
