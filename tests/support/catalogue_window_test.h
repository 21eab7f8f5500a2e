#pragma once

#include "catalogue_server.h"
#include "common/program_folder.h"
#include "platform/browser_pane.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/program_files.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The main window in a fresh program folder of its own, against the demo catalogue (with its
// games that fail on purpose) on loopback, with every message box recorded instead of shown.
class TCatalogueWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FServer = std::make_unique<CatalogueServer>(std::filesystem::path(), FaultGames::Included);
        FHost = QStringLiteral("127.0.0.1:%1").arg(FServer->bind(0));
        FServer->start();
    }
    static void TearDownTestSuite() { FServer.reset(); }

    void SetUp() override {
        ASSERT_TRUE(CopyInstalledProgramFiles(FFolder.path()));
        SetProgramFolderForTesting(FFolder.path());
        qputenv("PEBBLO_CATALOGUE_HOST", FHost.toUtf8());
        FWindow = std::make_unique<TfrmMain>();
    }
    void TearDown() override {
        if (FWindow) {
            EXPECT_TRUE(WaitForDownloads());
        }
        FWindow.reset();
        qunsetenv("PEBBLO_CATALOGUE_HOST");
        SetProgramFolderForTesting(QString());
    }

    static QString Origin() { return QStringLiteral("http://") + FHost; }
    static QString GameLink(const QString& id) {
        return Origin() + QStringLiteral("/GAMESOFT/GAMEINFO.ASP?ID=") + id;
    }

    // Offers Url to the game-list handler; true when it cancelled the navigation.
    bool Offer(const QString& url) {
        bool cancel = false;
        FWindow->WB_GameListBeforeNavigate2(FWindow->WB_GameList, url, cancel);
        return cancel;
    }

    bool WaitForGame(const QString& id) {
        return PumpEventsUntil([&] { return FWindow->CurrentGame.id == id; });
    }

    bool WaitForDownloads() {
        return PumpEventsUntil([&] { return FWindow->RunningDownloads() == 0; }, 30000);
    }

    static inline std::unique_ptr<CatalogueServer> FServer;
    static inline QString FHost;
    TUiDispatcher FDispatcher;
    QTemporaryDir FFolder;
    TRecordedMessages FMessages;
    std::unique_ptr<TfrmMain> FWindow;
};
