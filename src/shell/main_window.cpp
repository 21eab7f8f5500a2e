#include "shell/main_window.h"

#include "common/folder_lookup.h"
#include "common/handler_guard.h"
#include "common/hosts.h"
#include "fullscreen/full_screen_window.h"
#include "hotkeys/hot_key_manager.h"
#include "library/library_connection.h"
#include "library/local_games_view.h"
#include "library/play_recorder.h"
#include "library/search_field.h"
#include "platform/browser_pane.h"
#include "platform/flash_player.h"
#include "platform/shell_open.h"
#include "shell/clickable_image.h"
#include "shell/game_status_panel.h"
#include "shell/library_check_dialog.h"
#include "shell/offline_panes.h"
#include "shell/progress_relay.h"
#include "shell/skin_data.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    Q_INIT_RESOURCE(shell);
    setObjectName(QStringLiteral("frmMain"));
    FPlays = std::make_unique<TPlayRecorder>([this] { return qry_flash->Database(); });
    SkinData1 = new TSkinData(this);
    SkinData1->setObjectName(QStringLiteral("SkinData1"));
    HotKeyManager1 = new THotKeyManager(this);
    HotKeyManager1->setObjectName(QStringLiteral("HotKeyManager1"));
    BuildLayout();

    WireHandlers();
    CreateAutoUpdater();
    resize(950, 547);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
    RestorePlacement();
    CreateFullScreenWindow();

    CreateLocalGamesView();
}

void TfrmMain::CreateLocalGamesView() {
    FLocalGames = new TLocalGamesView(
        {sbAll, sbFavorite, sbThisWeek, sbRecent}, qry_flash->DatabasePath(), FProgramFolder,
        [this](const QString& id) { RunHandler([&] { PlayLocalGame(id); }); }, &ShowStandardError,
        this);
    connect(pcMain, &QTabWidget::currentChanged, this,
            [this] { RunHandler([this] { pcMainChange(); }); });
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { RunHandler([this] { PageControl1Change(); }); });
    connect(edtSearchGames, &QLineEdit::textChanged, FLocalGames, &TLocalGamesView::SetSearchText);
    connect(cbSortGames, &QComboBox::currentIndexChanged, FLocalGames,
            [this](int order) { FLocalGames->SetSortOrder(TLibrarySort(order)); });
    connect(btnCheckLibrary, &QPushButton::clicked, this, &TfrmMain::btnCheckLibraryClick);
}

TLibraryCheckDialog* TfrmMain::LibraryCheck() const {
    return FLibraryCheck;
}

void TfrmMain::btnCheckLibraryClick() {
    if (FLibraryCheck) {
        FLibraryCheck->raise();
        return;
    }
    FLibraryCheck = new TLibraryCheckDialog(
        {qry_flash->DatabasePath(), ResolveInFolder(FProgramFolder, QStringLiteral("flash")),
         ResolveInFolder(FProgramFolder, QStringLiteral("pic"))},
        this);
    FLibraryCheck->setAttribute(Qt::WA_DeleteOnClose);
    connect(FLibraryCheck, &TLibraryCheckDialog::LibraryRepaired, this,
            &TfrmMain::RefreshLocalGames);
    FLibraryCheck->show();
}

void TfrmMain::pcMainChange() {
    if (pcMain->currentWidget() == tsLocalGame)
        RefreshLocalGames();
}

void TfrmMain::PageControl1Change() {
    RefreshLocalGames();
}

void TfrmMain::RefreshLocalGames() {
    FLocalGames->LoadLocalGames(PageControl1->currentIndex());
}

TfrmMain::~TfrmMain() {
    UnwireSettingsPage();
    FPlays->Halted();
}

// Closing the main window ends the client, whatever else is open (the full-screen window, the
// tray icon's window) and even while the window is hidden: Qt's own quit on the last window
// closed does neither.
void TfrmMain::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    SavePlacement();
    QCoreApplication::exit(0);
}

void TfrmMain::Image1Click() {
    PanelLeft->setVisible(!PanelLeft->isVisibleTo(this));
    Image1->setPixmap(PanelLeft->isVisibleTo(this) ? imgLeft->pixmap() : imgRight->pixmap());
}

void TfrmMain::Image3Click() {
    pnlRIght->setVisible(!pnlRIght->isVisibleTo(this));
    // A reopened right pane is 125 pixels wide, not its first 160.
    pnlRIght->setFixedWidth(pnlRIght->width() > 0 ? 0 : 125);
}

void TfrmMain::Button1Click() {
    OpenWithDesktop(QStringLiteral("http://") + VendorHost() + '/');
}

void TfrmMain::SelectPage(int index) {
    const QSignalBlocker quiet(pcMain);
    pcMain->setCurrentIndex(index);
}

void TfrmMain::WireHandlers() {
    for (TClickableImage* toggle : {Image1, imgLeft, imgRight})
        toggle->SetOnClick([this] { Image1Click(); });
    Image3->SetOnClick([this] { Image3Click(); });
    WireSettingsPage();
    WB_GameTreeList->SetOnBeforeNavigate(
        [this](TBrowserPane* pane, const QString& url, bool& cancel) {
            RunHandler([&] { WB_GameTreeListBeforeNavigate2(pane, url, cancel); });
        });
    const QList<TBrowserPane*> panes = {WB_GameTreeList, WB_Right,  WB_GameList, wb_advice,
                                        wb_order,        wbCurrent, WB_search};
    // The panes' engine is not kept up to date: they show the catalogue and nothing else.
    for (TBrowserPane* pane : panes)
        pane->ConfineTo(CatalogueHost());
    new TOfflinePanes(panes, this);
    // A game link plays from every pane; none ever shows a game's record.
    for (TBrowserPane* pane : {WB_GameList, wb_advice, wb_order, WB_search, WB_Right, wbCurrent}) {
        pane->SetOnBeforeNavigate([this](TBrowserPane* sender, const QString& url, bool& cancel) {
            RunHandler([&] { WB_GameListBeforeNavigate2(sender, url, cancel); });
        });
    }
    connect(swfPlay, &TFlashPlayer::MovieFailed, this,
            [this](TMovieFailure failure, const QString& detail) {
                RunHandler([&] { GameFailedToPlay(failure, detail); });
            });
    connect(swfPlay, &TFlashPlayer::SavesWritten, this,
            [this](bool stored) { RunHandler([&] { swfPlaySavesWritten(stored); }); });
    connect(pnlGameStatus, &TGameStatusPanel::BackRequested, this,
            [this] { RunHandler([this] { GoBackFromGame(); }); });
    const std::pair<QPushButton*, void (TfrmMain::*)()> buttons[] = {
        {Button1, &TfrmMain::Button1Click},
        {Button2, &TfrmMain::Button2Click},
        {btnAddFavorate, &TfrmMain::btnAddFavorateClick},
        {btnStop, &TfrmMain::btnStopClick},
        {btnReplay, &TfrmMain::btnReplayClick},
        {btnViewInfo, &TfrmMain::btnViewInfoClick},
        {btnFullScreen, &TfrmMain::btnFullScreenClick},
        {btnExportSaves, &TfrmMain::btnExportSavesClick},
        {btnImportSaves, &TfrmMain::btnImportSavesClick},
        {btnSave, &TfrmMain::btnSaveClick},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { RunHandler([this, handler] { (this->*handler)(); }); });
    }
}
