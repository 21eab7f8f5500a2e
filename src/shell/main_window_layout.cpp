// The main window's controls and their places; behaviour lives in main_window.cpp.
#include "common/application_title.h"
#include "common/hosts.h"
#include "library/game_grid.h"
#include "library/local_games_view.h"
#include "library/search_field.h"
#include "platform/browser_pane.h"
#include "platform/flash_player.h"
#include "shell/clickable_image.h"
#include "shell/game_status_panel.h"
#include "shell/hot_key_field.h"
#include "shell/main_window.h"
#include "shell/program_version.h"
#include "shell/single_frame_updates.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QWidget* NamedPanel(const QString& name, QWidget* parent = nullptr) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    return panel;
}

QVBoxLayout* FillingLayout(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A page that holds one control filling it.
QWidget* FilledSheet(const QString& sheetName, QWidget* content) {
    QWidget* sheet = NamedPanel(sheetName);
    FillingLayout(sheet)->addWidget(content);
    return sheet;
}

QPushButton* NamedButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

QLabel* NamedLabel(const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

} // namespace

void TfrmMain::BuildLayout() {
    setWindowTitle(QStringLiteral("Pebblo客户端-") + VendorHost().toUpper());
    setWindowIcon(QIcon(QStringLiteral(":/pebblo/pebblo.svg")));
    QFont font(QStringLiteral("Tahoma"), 8);
    // Tahoma has no Chinese glyphs; the fallback keeps the captions readable.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    // Application-wide, so that skins (style sheets) and message boxes keep it too.
    QApplication::setFont(font);
    setFont(font);

    QWidget* frame = NamedPanel(QStringLiteral("Panel"));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    setCentralWidget(frame);

    PanelLeft = NamedPanel(QStringLiteral("PanelLeft"));
    PanelLeft->setFixedWidth(144);
    WB_GameTreeList = new TBrowserPane(QStringLiteral("WB_GameTreeList"));
    FillingLayout(PanelLeft)->addWidget(WB_GameTreeList);

    pnlNavigatorLeft = NamedPanel(QStringLiteral("pnlNavigatorLeft"));
    pnlNavigatorLeft->setFixedWidth(9);
    Image1 = new TClickableImage(QStringLiteral("Image1"), pnlNavigatorLeft);
    Image1->setGeometry(0, 270, 10, 51);

    PanelCenter = NamedPanel(QStringLiteral("PanelCenter"));
    pcMain = new QTabWidget;
    pcMain->setObjectName(QStringLiteral("pcMain"));
    FillingLayout(PanelCenter)->addWidget(pcMain);

    Panel1 = NamedPanel(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(10);
    Image3 = new TClickableImage(QStringLiteral("Image3"), Panel1);
    Image3->setGeometry(1, 270, 8, 57);
    Image3->setPixmap(QIcon(QStringLiteral(":/pebblo/right_pane_toggle.svg")).pixmap(8, 57));

    pnlRIght = NamedPanel(QStringLiteral("pnlRIght"));
    pnlRIght->setFixedWidth(160);
    WB_Right = new TBrowserPane(QStringLiteral("WB_Right"));
    FillingLayout(pnlRIght)->addWidget(WB_Right);

    for (QWidget* region : {PanelLeft, pnlNavigatorLeft, PanelCenter, Panel1, pnlRIght})
        row->addWidget(region, region == PanelCenter ? 1 : 0);

    WB_GameList = new TBrowserPane(QStringLiteral("WB_GameList"));
    wb_advice = new TBrowserPane(QStringLiteral("wb_advice"));
    wb_order = new TBrowserPane(QStringLiteral("wb_order"));
    WB_search = new TBrowserPane(QStringLiteral("WB_search"));
    pcGameList = FilledSheet(QStringLiteral("pcGameList"), WB_GameList);
    tsCurrentGame = BuildCurrentGamePage();
    tsAdvice = FilledSheet(QStringLiteral("tsAdvice"), wb_advice);
    pcGameOrder = FilledSheet(QStringLiteral("pcGameOrder"), wb_order);
    tsSetting = BuildSettingsPage();
    tsAbout = BuildAboutPage();
    TabSheet1 = FilledSheet(QStringLiteral("TabSheet1"), WB_search);
    tsLocalGame = BuildLocalGamePage();
    pcMain->addTab(pcGameList, QStringLiteral("游戏列表"));
    pcMain->addTab(tsCurrentGame, QStringLiteral("当前游戏"));
    pcMain->addTab(tsAdvice, QStringLiteral("每日推荐"));
    pcMain->addTab(pcGameOrder, QStringLiteral("最新排行"));
    pcMain->addTab(tsSetting, QStringLiteral("设置"));
    pcMain->addTab(tsAbout, QStringLiteral("关于"));
    pcMain->addTab(TabSheet1, QStringLiteral("游戏搜索"));
    pcMain->addTab(tsLocalGame, QStringLiteral("本地游戏"));
    pcMain->setCurrentIndex(0);

    Image1->setPixmap(imgLeft->pixmap());
    BuildTrayIcon();
}

QWidget* TfrmMain::BuildCurrentGamePage() {
    QWidget* page = NamedPanel(QStringLiteral("tsCurrentGame"));
    // Both panels share one cell; the player panel lies in front while it is visible.
    auto* stack = new QGridLayout(page);
    stack->setContentsMargins(0, 0, 0, 0);

    pnlCurrentGame = NamedPanel(QStringLiteral("pnlCurrentGame"));
    pnlDownload = NamedPanel(QStringLiteral("pnlDownload"));
    pnlDownload->setFixedHeight(48);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    lbDownLoad = NamedLabel(QStringLiteral("lbDownLoad"), QString());
    QVBoxLayout* download = FillingLayout(pnlDownload);
    download->addWidget(ProgressBar1, 1);
    download->addWidget(
        new TSteadyLabel(lbDownLoad, DownloadedText(std::nullopt, qint64(9'999'999) * 1024)));
    wbCurrent = new TBrowserPane(QStringLiteral("wbCurrent"));
    FillingLayout(pnlCurrentGame)->addWidget(wbCurrent, 1);
    pnlGameStatus = new TGameStatusPanel(pnlDownload);
    pnlGameStatus->hide();

    pnlPlaying = NamedPanel(QStringLiteral("pnlPlaying"));
    Panel3 = NamedPanel(QStringLiteral("Panel3"));
    Panel3->setAttribute(Qt::WA_StyledBackground);
    swfPlay = new TFlashPlayer;
    swfPlay->setObjectName(QStringLiteral("swfPlay"));
    lblNoGame =
        NamedLabel(QStringLiteral("lblNoGame"),
                   QStringLiteral("还没有在玩的游戏。\n\n在“游戏列表”里点一个游戏就开始玩；\n"
                                  "玩过的游戏都在“本地游戏”里，不联网也能再玩。"));
    lblNoGame->setAlignment(Qt::AlignCenter);
    lblNoGame->setWordWrap(true);
    // Light on the player's black, whatever the skin says of labels.
    lblNoGame->setStyleSheet(QStringLiteral("color: #d8d8d8; font-size: 15px;"));
    QVBoxLayout* player = FillingLayout(Panel3);
    player->addWidget(swfPlay);
    player->addWidget(lblNoGame);
    Panel2 = NamedPanel(QStringLiteral("Panel2"));
    Panel2->setAttribute(Qt::WA_StyledBackground);
    Panel2->setFixedHeight(39);
    auto* buttons = new QHBoxLayout(Panel2);
    btnAddFavorate =
        NamedButton(QStringLiteral("btnAddFavorate"), QStringLiteral("添加到我的收藏"));
    btnStop = NamedButton(QStringLiteral("btnStop"), QStringLiteral("停止播放"));
    btnReplay = NamedButton(QStringLiteral("btnReplay"), QStringLiteral("再玩一次"));
    btnFullScreen = NamedButton(QStringLiteral("btnFullScreen"), QStringLiteral("全屏游戏"));
    btnViewInfo = NamedButton(QStringLiteral("btnViewInfo"), QStringLiteral("查看说明"));
    btnExportSaves = NamedButton(QStringLiteral("btnExportSaves"), QStringLiteral("导出存档"));
    btnImportSaves = NamedButton(QStringLiteral("btnImportSaves"), QStringLiteral("导入存档"));
    // Seven buttons fit a window 800 pixels wide only when the narrowest window takes their
    // padding; never their captions (the favourites one has a longer one too).
    for (QPushButton* button : {btnAddFavorate, btnStop, btnReplay, btnFullScreen, btnViewInfo,
                                btnExportSaves, btnImportSaves}) {
        const QString widest =
            button == btnAddFavorate ? QStringLiteral("从我的收藏中删除") : button->text();
        button->setMinimumWidth(button->fontMetrics().horizontalAdvance(widest) + 8);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    QVBoxLayout* playing = FillingLayout(pnlPlaying);
    playing->addWidget(Panel3, 1);
    playing->addWidget(Panel2);

    // Hidden holders of the two pictures the left-pane toggle shows.
    imgLeft = new TClickableImage(QStringLiteral("imgLeft"), pnlPlaying);
    imgLeft->setPixmap(QIcon(QStringLiteral(":/pebblo/pane_open.svg")).pixmap(10, 51));
    imgLeft->hide();
    imgRight = new TClickableImage(QStringLiteral("imgRight"), pnlPlaying);
    imgRight->setPixmap(QIcon(QStringLiteral(":/pebblo/pane_closed.svg")).pixmap(10, 51));
    imgRight->hide();

    stack->addWidget(pnlCurrentGame, 0, 0);
    stack->addWidget(pnlPlaying, 0, 0);
    stack->addWidget(pnlGameStatus, 0, 0);
    pnlPlaying->raise();
    // Always covered, by the player or by the card over the player's place: shown, its pane
    // would be drawn, and composed with the window in every frame, for no one to see.
    pnlCurrentGame->hide();
    ShowPlayerState(false);
    return page;
}

QWidget* TfrmMain::BuildSettingsPage() {
    QWidget* page = NamedPanel(QStringLiteral("tsSetting"));
    auto* group = new QGroupBox(QStringLiteral("系统热键设置"));
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setFixedHeight(137);
    HotKey1 = new THotKeyField(QStringLiteral("HotKey1"));
    chk_Closehotkey = new QCheckBox(QStringLiteral("使用F1快速关闭程序"));
    chk_Closehotkey->setObjectName(QStringLiteral("chk_Closehotkey"));
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // The list is the skin folder's: a typed name confirmed with Enter stays the box's text
    // without joining the list.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setEditText(QStringLiteral("默认主题.skn"));
    lblHotKeyState = NamedLabel(QStringLiteral("lblHotKeyState"), QString());
    lblHotKeyState->setWordWrap(true);
    lblHotKeyState->setStyleSheet(QStringLiteral("color: #c00000;"));
    lblHotKeyState->hide();
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("快速显示/隐藏:"), HotKey1);
    form->addRow(QString(), lblHotKeyState);
    form->addRow(chk_Closehotkey);
    form->addRow(QStringLiteral("个性化设置："), ComboBox1);

    btnSave = NamedButton(QStringLiteral("btnSave"), QStringLiteral("保存"));
    auto* column = new QVBoxLayout(page);
    column->addWidget(group);
    column->addWidget(btnSave, 0, Qt::AlignLeft);
    column->addStretch(1);
    return page;
}

QWidget* TfrmMain::BuildAboutPage() {
    QWidget* page = NamedPanel(QStringLiteral("tsAbout"));
    auto* group = new QGroupBox;
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* lines = new QVBoxLayout(group);
    for (const QString& line :
         {QStringLiteral("软件名称：Pebblo客户端"),
          QStringLiteral("本客户端集合了上万个小游戏，您只需下载一次，就算网络断线您也还能继续玩"),
          QStringLiteral("客服号码：800-820-7788"),
          QStringLiteral("电子邮件：service@pebblo.example"),
          QStringLiteral("网站：") + VendorHost(),
          QStringLiteral("版本：V") + ProgramVersionNumber()})
        lines->addWidget(new QLabel(line));

    Button1 = NamedButton(QStringLiteral("Button1"), QStringLiteral("点击进入小游戏"));
    Button2 = NamedButton(QStringLiteral("Button2"), QStringLiteral("检查升级"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(page);
    column->addWidget(group);
    column->addLayout(buttons);
    column->addStretch(1);
    return page;
}

QWidget* TfrmMain::BuildLocalGamePage() {
    QWidget* page = NamedPanel(QStringLiteral("tsLocalGame"));
    edtSearchGames = new TSearchField(QStringLiteral("edtSearchGames"));
    cbSortGames = new QComboBox;
    cbSortGames->setObjectName(QStringLiteral("cbSortGames"));
    cbSortGames->addItems(TLocalGamesView::SortCaptions());
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(4, 4, 4, 4);
    tools->addWidget(new QLabel(QStringLiteral("查找：")));
    tools->addWidget(edtSearchGames, 1);
    tools->addWidget(new QLabel(QStringLiteral("排序：")));
    tools->addWidget(cbSortGames);
    btnCheckLibrary = NamedButton(QStringLiteral("btnCheckLibrary"), QStringLiteral("检查游戏库"));
    tools->addWidget(btnCheckLibrary);
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    QVBoxLayout* column = FillingLayout(page);
    column->addLayout(tools);
    column->addWidget(PageControl1, 1);
    const auto addSheet = [this](const QString& sheetName, const QString& caption,
                                 const QString& gridName) {
        auto* grid = new TGameGrid(gridName);
        PageControl1->addTab(FilledSheet(sheetName, grid), caption);
        return grid;
    };
    sbAll = addSheet(QStringLiteral("tsLocalGameAll"), QStringLiteral("所有游戏"),
                     QStringLiteral("sbAll"));
    sbFavorite = addSheet(QStringLiteral("tsFavorite"), QStringLiteral("我的收藏"),
                          QStringLiteral("sbFavorite"));
    sbThisWeek = addSheet(QStringLiteral("tsThisWeek"), QStringLiteral("一周内玩过的游戏"),
                          QStringLiteral("sbThisWeek"));
    sbRecent = addSheet(QStringLiteral("tsRecentlyPlayed"), QStringLiteral("最近玩过"),
                        QStringLiteral("sbRecent"));
    return page;
}

void TfrmMain::BuildTrayIcon() {
    TrayIcon1 = new QSystemTrayIcon(QIcon(QStringLiteral(":/pebblo/pebblo.svg")), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setToolTip(ApplicationTitle());
    // Showing the icon while no notification area exists leaves Qt's X11 tray window blocking
    // the main window's close requests, so the icon waits until a tray host is there.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        TrayIcon1->show();
        return;
    }
    auto* waitForTray = new QTimer(this);
    connect(waitForTray, &QTimer::timeout, this, [this, waitForTray] {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            return;
        waitForTray->deleteLater();
        TrayIcon1->show();
    });
    waitForTray->start(2000);
}
