#include "catalogue_server.h"
#include "common/gbk_text.h"
#include "common/program_folder.h"
#include "platform/browser_pane.h"
#include "platform/ui_dispatcher.h"
#include "shell/clickable_image.h"
#include "shell/hot_key_field.h"
#include "shell/main_window.h"
#include "shell/skin_data.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"
#include "upgrade/au_auto_updater.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kCtrlAltZ = 0x4000 | 0x8000 | 'Z';

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FFolder.isValid());
        SetProgramFolderForTesting(FFolder.path());
    }
    void TearDown() override { SetProgramFolderForTesting(QString()); }

    TfrmMain& Create() {
        FWindow = std::make_unique<TfrmMain>();
        return *FWindow;
    }

    QString Path(const QString& name) const { return FFolder.filePath(name); }

    void WriteConfig(const QByteArray& bytes) const {
        QFile file(Path(QStringLiteral("config.xml")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ConfigBytes() const {
        QFile file(Path(QStringLiteral("config.xml")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir FFolder;
    TRecordedMessages FMessages;
    std::unique_ptr<TfrmMain> FWindow;
};

TEST_F(MainWindow, HasItsEightPagesInIndexOrder) {
    TfrmMain& window = Create();
    const QStringList captions{"游戏列表", "当前游戏", "每日推荐", "最新排行",
                               "设置",     "关于",     "游戏搜索", "本地游戏"};
    const QStringList sheets{"pcGameList", "tsCurrentGame", "tsAdvice",  "pcGameOrder",
                             "tsSetting",  "tsAbout",       "TabSheet1", "tsLocalGame"};
    ASSERT_EQ(window.pcMain->count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(window.pcMain->tabText(i), captions[i]);
        EXPECT_EQ(window.pcMain->widget(i)->objectName(), sheets[i]);
    }
    EXPECT_EQ(window.pcMain->currentIndex(), 0);
    EXPECT_EQ(window.PageControl1->count(), 4);
    EXPECT_EQ(window.PageControl1->tabText(2), QStringLiteral("一周内玩过的游戏"));
    EXPECT_EQ(window.PageControl1->tabText(3), QStringLiteral("最近玩过"));
}

TEST_F(MainWindow, IsLaidOutAsTheCatalogueClient) {
    qputenv("PEBBLO_VENDOR_HOST", "www.vendor.example");
    TfrmMain& window = Create();
    qunsetenv("PEBBLO_VENDOR_HOST");
    EXPECT_EQ(window.objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pebblo客户端-WWW.VENDOR.EXAMPLE"));
    EXPECT_EQ(window.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(window.font().pointSize(), 8);
    EXPECT_EQ(window.PanelLeft->width(), 144);
    EXPECT_EQ(window.pnlNavigatorLeft->width(), 9);
    EXPECT_EQ(window.Panel1->width(), 10);
    EXPECT_EQ(window.pnlRIght->width(), 160);
    EXPECT_EQ(window.Image1->geometry(), QRect(0, 270, 10, 51));
    EXPECT_EQ(window.Image3->geometry().size(), QSize(8, 57));
    EXPECT_EQ(window.pnlDownload->height(), 48);
    EXPECT_EQ(window.Panel2->height(), 39);

    const QList<QPushButton*> buttons{window.btnAddFavorate, window.btnStop, window.btnReplay,
                                      window.btnFullScreen, window.btnViewInfo};
    const QStringList texts{"添加到我的收藏", "停止播放", "再玩一次", "全屏游戏", "查看说明"};
    window.SelectPage(1);
    window.show();
    for (int i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->text(), texts[i]);
        if (i > 0) {
            EXPECT_LT(buttons[i - 1]->x(), buttons[i]->x());
        }
    }
    EXPECT_TRUE(window.TrayIcon1->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_EQ(window.TrayIcon1->toolTip(), QStringLiteral("Pebblo客户端"));
}

TEST_F(MainWindow, RightPaneToggleReopensAt125Pixels) {
    TfrmMain& window = Create();
    window.Image3->Click();
    EXPECT_FALSE(window.pnlRIght->isVisibleTo(&window));
    EXPECT_EQ(window.pnlRIght->width(), 0);
    window.Image3->Click();
    EXPECT_TRUE(window.pnlRIght->isVisibleTo(&window));
    EXPECT_EQ(window.pnlRIght->width(), 125);
    window.Image3->Click();
    EXPECT_FALSE(window.pnlRIght->isVisibleTo(&window));
    EXPECT_EQ(window.pnlRIght->width(), 0);
}

TEST_F(MainWindow, LeftPaneToggleShowsThePictureOfItsState) {
    TfrmMain& window = Create();
    const QImage open = window.imgLeft->pixmap().toImage();
    const QImage closed = window.imgRight->pixmap().toImage();
    ASSERT_NE(open, closed);
    EXPECT_EQ(window.Image1->pixmap().toImage(), open);
    window.Image1->Click();
    EXPECT_FALSE(window.PanelLeft->isVisibleTo(&window));
    EXPECT_EQ(window.Image1->pixmap().toImage(), closed);
    window.imgRight->Click();
    EXPECT_TRUE(window.PanelLeft->isVisibleTo(&window));
    EXPECT_EQ(window.Image1->pixmap().toImage(), open);
}

TEST_F(MainWindow, FirstStartWritesTheDefaultsAndMakesTheFolders) {
    TfrmMain& window = Create();
    const QByteArray expected = "<configuration><Skin>" + ToGbk(QStringLiteral("默认主题.skn")) +
                                "</Skin><HideHotKey>49242</HideHotKey>"
                                "<CloseHotKey>-1</CloseHotKey></configuration>";
    EXPECT_TRUE(ConfigBytes().startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>"));
    EXPECT_TRUE(ConfigBytes().contains(expected));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("flash"))).isDir());
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("pic"))).isDir());
    EXPECT_GT(QFileInfo(Path(QStringLiteral("config.mqb"))).size(), 0);
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("默认主题.skn"));
    EXPECT_EQ(window.HotKey1->Value(), kCtrlAltZ);
    EXPECT_TRUE(window.chk_Closehotkey->isChecked());
    EXPECT_EQ(window.SkinData1->SkinFile(), Path(QStringLiteral("skin/默认主题.skn")));
    EXPECT_TRUE(window.SkinData1->Active());
    EXPECT_TRUE(FMessages.Errors.isEmpty());
}

TEST_F(MainWindow, StoredSettingsAreUsedAndExistingFoldersLeftAlone) {
    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("FLASH")));
    ASSERT_TRUE(QDir(FFolder.path()).mkpath(QStringLiteral("skin")));
    QFile skin(Path(QStringLiteral("skin/b.skn")));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QWidget#pcMain { background: #123456; }");
    skin.close();
    WriteConfig("<?xml version=\"1.0\" encoding=\"GB2312\"?><configuration><SKIN>b.skn</SKIN>"
                "<HideHotKey>32833</HideHotKey><CloseHotKey>0</CloseHotKey></configuration>");
    const QByteArray before = ConfigBytes();

    TfrmMain& window = Create();
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("b.skn"));
    EXPECT_TRUE(window.SkinData1->AppliedStyleSheet().contains(QStringLiteral("#123456")));
    EXPECT_EQ(window.HotKey1->Value(), 32833);
    EXPECT_FALSE(window.chk_Closehotkey->isChecked());
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(QDir(FFolder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"FLASH", "pic", "skin"}));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("config.mqb"))).isFile());
}

TEST_F(MainWindow, ABadSettingIsReportedAndTheOtherStepsStillRun) {
    WriteConfig("<configuration><Skin>a.skn</Skin><HideHotKey>Ctrl+A</HideHotKey>"
                "<CloseHotKey>yes</CloseHotKey></configuration>");
    TfrmMain& window = Create();
    EXPECT_EQ(FMessages.Errors, (QStringList{"'Ctrl+A' is not a valid integer value.",
                                             "'yes' is not a valid boolean value."}));
    EXPECT_EQ(window.HotKey1->Value(), kCtrlAltZ);
    EXPECT_TRUE(window.chk_Closehotkey->isChecked());
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("a.skn"));
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("flash"))).isDir());
    EXPECT_EQ(window.WB_GameTreeList->url().path(), QStringLiteral("/gamesoft/left.asp"));
}

TEST_F(MainWindow, AMalformedConfigurationIsReportedOnceAndNeverRewritten) {
    const QByteArray malformed = "<configuration><Skin>a.skn</configuration>";
    WriteConfig(malformed);
    TfrmMain& window = Create();
    ASSERT_EQ(FMessages.Errors.size(), 1);
    EXPECT_EQ(ConfigBytes(), malformed);
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("默认主题.skn"));
    EXPECT_EQ(window.HotKey1->Value(), kCtrlAltZ);
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("pic"))).isDir());
}

// What the first screen shows loads at once; a pane on another page when that page is first
// shown.
TEST_F(MainWindow, PanesStartOnTheirCataloguePagesTheHiddenOnesWhenFirstShown) {
    qputenv("PEBBLO_CATALOGUE_HOST", "127.0.0.1:9");
    TfrmMain& window = Create();
    qunsetenv("PEBBLO_CATALOGUE_HOST");
    const auto address = [](const char* page) {
        return QStringLiteral("http://127.0.0.1:9/gamesoft/") + QLatin1String(page);
    };
    const std::pair<TBrowserPane*, const char*> firstScreen[] = {
        {window.WB_GameTreeList, "left.asp"},
        {window.WB_Right, "AD_right.htm"},
        {window.WB_GameList, "AD_main.htm"},
    };
    for (const auto& [pane, page] : firstScreen)
        EXPECT_EQ(pane->url().toString(), address(page)) << pane->objectName().toStdString();
    const std::tuple<TBrowserPane*, const char*, int> later[] = {
        {window.wbCurrent, "AD_main.htm", 1},
        {window.wb_advice, "GameTjList.asp", 2},
        {window.wb_order, "GamePhList.asp", 3},
        {window.WB_search, "soft_search.asp", 6},
    };
    window.show();
    for (const auto& [pane, page, index] : later) {
        EXPECT_TRUE(pane->url().isEmpty()) << pane->objectName().toStdString();
        window.pcMain->setCurrentIndex(index);
        EXPECT_EQ(pane->url().toString(), address(page)) << pane->objectName().toStdString();
    }
}

TEST_F(MainWindow, ProgramPageSwitchesDoNotRaiseTheChangeHandler) {
    TfrmMain& window = Create();
    int raised = 0;
    QObject::connect(window.pcMain, &QTabWidget::currentChanged, [&raised] { ++raised; });
    window.SelectPage(1);
    EXPECT_EQ(window.pcMain->currentIndex(), 1);
    EXPECT_EQ(raised, 0);
    window.pcMain->setCurrentIndex(7);
    EXPECT_EQ(raised, 1);
}

TEST_F(MainWindow, CarriesItsUpgradeComponentAndCheckingFirstSaysTheClientIsUpToDate) {
    qputenv("PEBBLO_VENDOR_HOST", "127.0.0.1:9");
    TfrmMain& window = Create();
    qunsetenv("PEBBLO_VENDOR_HOST");
    TauAutoUpdater* updater = window.auAutoUpdater1;
    ASSERT_NE(updater, nullptr);
    EXPECT_EQ(updater->objectName(), QStringLiteral("auAutoUpdater1"));
    EXPECT_TRUE(updater->AutoCheck());
    EXPECT_EQ(updater->InfoFileURL, QStringLiteral("http://127.0.0.1:9/down/update.xml"));
    EXPECT_EQ(updater->VersionControl, byNumber);
    EXPECT_EQ(updater->VersionNumber, QStringLiteral("3.7"));
    EXPECT_EQ(updater->VersionDate, QStringLiteral("12/17/2008"));
    const QStringList about = [&window] {
        QStringList lines;
        for (const QLabel* label : window.tsAbout->findChildren<QLabel*>())
            lines.append(label->text());
        return lines;
    }();
    EXPECT_TRUE(about.contains(QStringLiteral("版本：V3.7"))) << about.join('|').toStdString();

    // Before any check has completed the answer is "nothing newer", whatever the check finds.
    window.Button2->click();
    EXPECT_EQ(FMessages.Plain, QStringList{QStringLiteral("当前已是最新版本")});
    EXPECT_TRUE(updater->Busy());
    EXPECT_TRUE(PumpEventsUntil([updater] { return !updater->Busy(); }));
    EXPECT_TRUE(FMessages.Errors.isEmpty());
}

// The vendor's offer, signed with the build's demo key, but changed on the way; and what the
// upgrader left when it undid the last upgrade. The user hears of both in Chinese.
TEST_F(MainWindow, SaysInChineseWhenTheOfferIsUnverifiedOrTheLastUpgradeWasUndone) {
    QTemporaryDir data;
    ASSERT_TRUE(QFile::copy(QStringLiteral(PEBBLO_BINARY_DIR "/upgrade-demo/update.key"),
                            data.filePath(QStringLiteral("update.key"))));
    CatalogueServer server(data.path().toStdString());
    const int port = server.bind(0);
    server.start();
    httplib::Client admin("127.0.0.1", port);
    ASSERT_TRUE(admin.Get("/_admin/update?version=3.8&signature=tampered"));

    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("upgrade")));
    QFile notice(Path(QStringLiteral("upgrade/notice")));
    ASSERT_TRUE(notice.open(QIODevice::WriteOnly));
    notice.write("not-started 3.8\n");
    notice.close();

    // The upgrade component's transfers reach the window through the dispatcher, as in the client.
    TUiDispatcher dispatcher;
    qputenv("PEBBLO_VENDOR_HOST", QByteArray("127.0.0.1:") + QByteArray::number(port));
    TfrmMain& window = Create();
    qunsetenv("PEBBLO_VENDOR_HOST");
    // Told once the window is up, not while it is being made.
    EXPECT_TRUE(FMessages.Plain.isEmpty());
    ASSERT_TRUE(PumpEventsUntil([&] { return !FMessages.Plain.isEmpty(); }));
    EXPECT_EQ(FMessages.Plain,
              QStringList{
                  QStringLiteral("升级到版本 3.8 后客户端未能正常启动，已自动恢复到原来的版本。")});

    window.Button2->click();
    ASSERT_TRUE(PumpEventsUntil([&] { return FMessages.Plain.size() == 3; }))
        << FMessages.Plain.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(FMessages.Plain.mid(1),
              (QStringList{QStringLiteral("当前已是最新版本"),
                           QStringLiteral("无法验证升级信息的真实性，本次不升级。")}));
    EXPECT_TRUE(FMessages.Errors.isEmpty());
    FWindow.reset();
}

} // namespace
