#pragma once

#include "shell/game/game_info.h"

#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSystemTrayIcon;
class QTabWidget;
class TBrowserPane;
class QTimer;
class TFlashPlayer;
enum class TMovieFailure;
class TGameGrid;
class TProgressFeed;
class TProgressRelay;
class TClickableImage;
class THotKeyField;
class THotKeyManager;
class TfrmFullScreen;
class TLibraryCheckDialog;
class TLibraryConnection;
class TLocalGamesView;
class TSearchField;
class TPlayRecorder;
class TSkinData;
class TauAutoUpdater;

// The main window: the catalogue panes, the player page, the local library, the settings and
// the About page. It owns every object of the user interface.
class TGameStatusPanel;

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    void FormCreate();
    // The window is shown and its settings and library could be opened: what a new version
    // must reach before its upgrade counts as done.
    bool StartedWell() const;
    void Image1Click();
    void Image3Click();
    void Button1Click();
    void Button2Click();
    void WB_GameListBeforeNavigate2(TBrowserPane* pane, const QString& url, bool& cancel);
    void WB_GameTreeListBeforeNavigate2(TBrowserPane* pane, const QString& url, bool& cancel);
    // The part of a game link's interception that runs after the pane's navigation is cancelled:
    // the record request, the record, and the page of the player.
    void InterceptGameLink(const QString& url);

    // The player (the file of a game, or its download), its buttons and the progress display.
    void PlayGame(TGameInfo game);
    void PlayLocalGame(const QString& id);
    // A game played from the catalogue that is on disk but lost its thumbnail gets it again.
    void FetchMissingPicture(const TGameInfo& game);
    void btnAddFavorateClick();
    void btnStopClick();
    void btnReplayClick();
    void btnViewInfoClick();
    void IdHTTPDownloadWorkBegin(qint64 total);
    void IdHTTPDownloadWork(qint64 count);
    // What lbDownLoad says after Count bytes: the share of the announced size, when there is one.
    static QString DownloadedText(std::optional<qint64> percent, qint64 count);
    void btnFullScreenClick();
    // The loaded game's saved data to and from a file the user chooses.
    void btnExportSavesClick();
    void btnImportSavesClick();
    void swfPlaySavesWritten(bool stored);

    // The "当前游戏" page's card: a game on its way, or one that could not come, with the way
    // to try again. The player is halted and covered meanwhile; "返回" goes back to the page
    // the user came from.
    void ShowGameLoading(const TGameInfo& game);
    void ShowLoadingCard(const TGameInfo& game);
    void DropLoadingCard();
    void ShowGameFailure(const QString& gameName, const QString& what, const QString& detail,
                         std::function<void()> retry, const QString& retryText = QString());
    // A stored game whose file is damaged or missing is not played; the card says so and offers
    // "重新下载" from the game's address.
    bool StoredGameFileSound(const TGameInfo& game, const QString& path);
    void RepairGame(const TGameInfo& game);
    void GoBackFromGame();

    // What a download worker does to the window, always on the UI thread.
    void PlayDownloadedGame(const QString& path, const TGameInfo& game);
    void GameDownloadFailed(const TGameInfo& game, const QString& what, const QString& detail);
    // The player could not read the current game's file, or stopped on an error while running it.
    void GameFailedToPlay(TMovieFailure failure, const QString& detail);
    void DownloadEnded(const QString& gameFile);
    int RunningDownloads() const { return FDownloading.size(); }

    // The local library page: rebuilt when the user comes to it or switches among its pages.
    TLocalGamesView* LocalGames() const { return FLocalGames; }
    void pcMainChange();
    void PageControl1Change();
    void RefreshLocalGames();
    // "检查游戏库": the check of every stored game, in a window of its own.
    void btnCheckLibraryClick();
    TLibraryCheckDialog* LibraryCheck() const;

    // Switches pcMain the way the program does it, without raising the user's change handler.
    void SelectPage(int index);

    QString ProgramFolder() const { return FProgramFolder; }

    // The settings page and the show/hide hot key.
    void FillSkinList(const QString& skinFolder);
    void ComboBox1Click();
    void btnSaveClick();
    void HotKeyManager1HotKeyPressed(QObject* sender, quint32 HotKey, quint16 Index);
    quint16 HideHotKeyIndex() const { return FHideHotKeyIndex; }

    // Left pane, its strip, the centre, the right strip and the right pane.
    QWidget* PanelLeft = nullptr;
    TBrowserPane* WB_GameTreeList = nullptr;
    QWidget* pnlNavigatorLeft = nullptr;
    TClickableImage* Image1 = nullptr;
    QWidget* PanelCenter = nullptr;
    QTabWidget* pcMain = nullptr;
    QWidget* Panel1 = nullptr;
    TClickableImage* Image3 = nullptr;
    QWidget* pnlRIght = nullptr;
    TBrowserPane* WB_Right = nullptr;

    // Pages of pcMain in index order and the panes on them.
    QWidget* pcGameList = nullptr;
    TBrowserPane* WB_GameList = nullptr;
    QWidget* tsCurrentGame = nullptr;
    QWidget* tsAdvice = nullptr;
    TBrowserPane* wb_advice = nullptr;
    QWidget* pcGameOrder = nullptr;
    TBrowserPane* wb_order = nullptr;
    QWidget* tsSetting = nullptr;
    QWidget* tsAbout = nullptr;
    QWidget* TabSheet1 = nullptr;
    TBrowserPane* WB_search = nullptr;
    QWidget* tsLocalGame = nullptr;

    // The "当前游戏" page: the advertisement behind the player panel, and in front of both,
    // while a game loads or failed, the card with the download panel.
    QWidget* pnlCurrentGame = nullptr;
    TGameStatusPanel* pnlGameStatus = nullptr;
    QWidget* pnlDownload = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* lbDownLoad = nullptr;
    TBrowserPane* wbCurrent = nullptr;
    QWidget* pnlPlaying = nullptr;
    QWidget* Panel3 = nullptr;
    TFlashPlayer* swfPlay = nullptr;
    // In the player's place while no game is loaded: how to start one.
    QLabel* lblNoGame = nullptr;
    QWidget* Panel2 = nullptr;
    QPushButton* btnAddFavorate = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnReplay = nullptr;
    QPushButton* btnFullScreen = nullptr;
    QPushButton* btnViewInfo = nullptr;
    QPushButton* btnExportSaves = nullptr;
    QPushButton* btnImportSaves = nullptr;
    TClickableImage* imgLeft = nullptr;
    TClickableImage* imgRight = nullptr;

    // Settings page.
    THotKeyField* HotKey1 = nullptr;
    QCheckBox* chk_Closehotkey = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* btnSave = nullptr;
    // Under the hot key field: why the key shown there does nothing, while it does not.
    QLabel* lblHotKeyState = nullptr;
    THotKeyManager* HotKeyManager1 = nullptr;

    // About page.
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // Local games page: the search and the order above the pages, the grids of the pages.
    TSearchField* edtSearchGames = nullptr;
    QComboBox* cbSortGames = nullptr;
    QPushButton* btnCheckLibrary = nullptr;
    QTabWidget* PageControl1 = nullptr;
    TGameGrid* sbAll = nullptr;
    TGameGrid* sbFavorite = nullptr;
    TGameGrid* sbThisWeek = nullptr;
    TGameGrid* sbRecent = nullptr;

    // The game now in the player.
    TGameInfo CurrentGame;

    // The UI thread's connection to the game library.
    std::unique_ptr<TLibraryConnection> qry_flash;
    TSkinData* SkinData1 = nullptr;
    QSystemTrayIcon* TrayIcon1 = nullptr;
    // Checks the vendor's site for a newer client, ten seconds after start and on "检查升级".
    TauAutoUpdater* auAutoUpdater1 = nullptr;
    // Made hidden right after the window; its key hook watches Esc and F1 from then on.
    std::unique_ptr<TfrmFullScreen> frmFullScreen;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    QWidget* BuildCurrentGamePage();
    QWidget* BuildSettingsPage();
    QWidget* BuildAboutPage();
    QWidget* BuildLocalGamePage();
    void BuildTrayIcon();

    static QString ReadSetting(const QString& key, const QString& writeKey,
                               const QString& fallback);
    void CreateProgramFolders();
    void WireHandlers();
    bool GameLoaded() const;
    void ShowPlayer(const TGameInfo& game);
    // The player's area shows the game, or the hint while there is none; the stop button offers
    // to go on again while the game is halted.
    void ShowPlayerState(bool halted);
    void RememberPageBeforeGame();
    void PointPanesAtStartPages();
    void WireSettingsPage();
    void UnwireSettingsPage();
    void RegisterHideHotKey();
    void ShowHotKeyState();
    void CreateFullScreenWindow();
    void CreateAutoUpdater();
    void CreateLocalGamesView();
    void RestorePlacement();
    void SavePlacement() const;

    QString FProgramFolder;
    QString FSkinFolder;
    // Game files whose download is running, in small letters.
    QSet<QString> FDownloading;
    TLocalGamesView* FLocalGames = nullptr;
    QPointer<TLibraryCheckDialog> FLibraryCheck;
    // The plays of the game in the player, for the library's history.
    std::unique_ptr<TPlayRecorder> FPlays;
    qint64 FProgressScale = 1;
    // The page the user was on before a game took them to "当前游戏", for "返回".
    int FPageBeforeGame = 0;
    // The loading card waits a moment: a game that comes at once is shown without it.
    QTimer* FLoadingCard = nullptr;
    TGameInfo FLoadingGame;
    bool FGameHalted = false;
    quint16 FHideHotKeyIndex = 0;
};
