// The settings page and the show/hide hot key, on the real X display with keys typed through
// xdotool.
#include "common/gbk_text.h"
#include "common/program_folder.h"
#include "shell/hot_key_field.h"
#include "shell/main_window.h"
#include "shell/skin_data.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"
#include "support/x11_client.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SettingsPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FOther.Connected()) << "runs under an X server (scripts/test)";
        SetProgramFolderForTesting(FFolder.path());
        qputenv("PEBBLO_CATALOGUE_HOST", "127.0.0.1:9");
    }
    void TearDown() override {
        FWindow.reset();
        qunsetenv("PEBBLO_CATALOGUE_HOST");
        SetProgramFolderForTesting(QString());
    }

    void Write(const QString& name, const QByteArray& bytes) const {
        QDir(FFolder.path()).mkpath(QFileInfo(FFolder.filePath(name)).path());
        QFile file(FFolder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Config() const {
        QFile file(FFolder.filePath(QStringLiteral("config.xml")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteHideHotKey(const QByteArray& value) const {
        Write(QStringLiteral("config.xml"),
              "<configuration><HideHotKey>" + value + "</HideHotKey></configuration>");
    }

    TfrmMain& Create() {
        FWindow = std::make_unique<TfrmMain>();
        return *FWindow;
    }
    // The window on screen with the keyboard, the settings page in front.
    void ShowSettings(QWidget* focus) {
        FWindow->pcMain->setCurrentIndex(4);
        FWindow->show();
        FWindow->activateWindow();
        focus->setFocus();
        ASSERT_TRUE(PumpEventsUntil([focus] { return focus->hasFocus(); }));
    }
    bool WindowShownAfter(const QString& keys) {
        const bool before = FWindow->isVisible();
        EXPECT_TRUE(TypeKeys(keys));
        PumpEventsUntil([&] { return FWindow->isVisible() != before; }, 3000);
        return FWindow->isVisible();
    }

    QTemporaryDir FFolder;
    TRecordedMessages FMessages;
    TOtherX11Client FOther;
    std::unique_ptr<TfrmMain> FWindow;
};

TEST_F(SettingsPage, TheStartupHotKeyShowsAndHidesTheWindowWhileAnotherClientHasTheKeyboard) {
    TfrmMain& window = Create();
    ASSERT_NE(window.HideHotKeyIndex(), 0);
    EXPECT_FALSE(!window.lblHotKeyState->isHidden());
    window.show();
    FOther.TakeFocus();
    EXPECT_FALSE(WindowShownAfter(QStringLiteral("ctrl+alt+z")));
    EXPECT_TRUE(WindowShownAfter(QStringLiteral("ctrl+alt+z")));
    ASSERT_TRUE(TypeKeys(QStringLiteral("Num_Lock")));
    const bool hiddenWithNumLock = !WindowShownAfter(QStringLiteral("ctrl+alt+z"));
    ASSERT_TRUE(TypeKeys(QStringLiteral("Num_Lock")));
    EXPECT_TRUE(hiddenWithNumLock);
}

TEST_F(SettingsPage, SkinsAreListedInNameOrderAndATypedNameAppliesAtOnce) {
    for (const char* name : {"skin/b.skn", "skin/A.skn", "skin/c.skn", "skin/.skn",
                             "skin/UPPER.SKN", "skin/notes.txt"})
        Write(QString::fromLatin1(name), "QWidget#pcMain { background: #0000aa; }");
    Write(QStringLiteral("skin/b.skn"), "QWidget#pcMain { background: #123456; }");
    ASSERT_TRUE(QDir(FFolder.path()).mkpath(QStringLiteral("skin/folder.skn")));

    TfrmMain& window = Create();
    QStringList items;
    for (int i = 0; i < window.ComboBox1->count(); ++i)
        items << window.ComboBox1->itemText(i);
    EXPECT_EQ(items, (QStringList{".skn", "A.skn", "b.skn", "c.skn", "folder.skn", "UPPER.SKN"}));
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("默认主题.skn"));

    ShowSettings(window.ComboBox1);
    window.ComboBox1->lineEdit()->clear();
    const QString before = window.SkinData1->SkinFile();
    ASSERT_TRUE(TypeKeys(QStringLiteral("b")));
    EXPECT_TRUE(PumpEventsUntil([&] { return window.SkinData1->SkinFile() != before; }))
        << "the first key typed applies already";
    for (const char* key : {"period", "s", "k", "n"})
        ASSERT_TRUE(TypeKeys(QString::fromLatin1(key)));
    EXPECT_TRUE(PumpEventsUntil(
        [&] { return window.SkinData1->AppliedStyleSheet().contains(QStringLiteral("#123456")); }));
    EXPECT_EQ(window.SkinData1->SkinFile(), FFolder.filePath(QStringLiteral("skin/b.skn")));
}

TEST_F(SettingsPage, ANameConfirmedWithEnterIsTheSkinButNeverJoinsTheList) {
    Write(QStringLiteral("skin/a.skn"), "QWidget#pcMain { background: #0000aa; }");
    TfrmMain& window = Create();
    ASSERT_EQ(window.ComboBox1->count(), 1);
    ShowSettings(window.ComboBox1);
    window.ComboBox1->lineEdit()->clear();
    for (const char* key : {"x", "y", "z", "Return"})
        ASSERT_TRUE(TypeKeys(QLatin1String(key)));
    EXPECT_TRUE(PumpEventsUntil([&] { return window.ComboBox1->currentText() == "xyz"; }));
    EXPECT_EQ(window.ComboBox1->count(), 1) << "no skin of that name exists";
    EXPECT_EQ(window.SkinData1->SkinFile(), FFolder.filePath(QStringLiteral("skin/xyz")));
    window.btnSave->click();
    EXPECT_TRUE(Config().contains("<Skin>xyz</Skin>"));
}

TEST_F(SettingsPage, BackspaceAndDeleteEmptyTheHotKeyFieldAndSaveAsksForNoKey) {
    TfrmMain& window = Create();
    ShowSettings(window.HotKey1);
    const auto valueAfter = [&](const QString& keys) {
        window.HotKey1->SetValue(0x6074);
        EXPECT_TRUE(TypeKeys(keys));
        PumpEventsUntil([&] { return window.HotKey1->Value() != 0x6074; }, 3000);
        return window.HotKey1->Value();
    };
    for (const char* keys : {"BackSpace", "Delete", "shift+BackSpace", "KP_Delete"}) {
        EXPECT_EQ(valueAfter(QLatin1String(keys)), 0) << keys;
        EXPECT_EQ(window.HotKey1->text(), QStringLiteral("无")) << keys;
    }
    EXPECT_EQ(valueAfter(QStringLiteral("ctrl+Delete")), 0x4000 + 0x2E) << "still a hot key";
    EXPECT_EQ(window.HotKey1->text(), QStringLiteral("Ctrl+Delete"));

    ASSERT_TRUE(TypeKeys(QStringLiteral("Delete")));
    ASSERT_TRUE(PumpEventsUntil([&] { return window.HotKey1->Value() == 0; }));
    window.btnSave->click();
    EXPECT_EQ(FMessages.Plain, QStringList{QStringLiteral("保存成功")});
    EXPECT_TRUE(Config().contains("<HideHotKey>0</HideHotKey>"));
    EXPECT_EQ(window.HideHotKeyIndex(), 0);
    EXPECT_TRUE(window.lblHotKeyState->isHidden());
}

TEST_F(SettingsPage, ATypedKeyGetsAltAndSaveWritesTheThreeSettingsAndRegistersIt) {
    TfrmMain& window = Create();
    ShowSettings(window.HotKey1);
    ASSERT_TRUE(TypeKeys(QStringLiteral("shift+b")));
    EXPECT_TRUE(PumpEventsUntil([&] { return window.HotKey1->Value() == 0x8000 + 'B'; }));
    EXPECT_EQ(window.HotKey1->text(), QStringLiteral("Alt+B"));
    ASSERT_TRUE(TypeKeys(QStringLiteral("ctrl+shift+F5")));
    EXPECT_TRUE(PumpEventsUntil([&] { return window.HotKey1->Value() == 0x6074; }));
    EXPECT_EQ(window.HotKey1->text(), QStringLiteral("Ctrl+Shift+F5"));

    window.chk_Closehotkey->setChecked(false);
    window.ComboBox1->setEditText(QStringLiteral("清爽绿.skn"));
    window.btnSave->click();
    EXPECT_EQ(FMessages.Plain, QStringList{QStringLiteral("保存成功")});
    EXPECT_TRUE(Config().contains("<Skin>" + ToGbk(QStringLiteral("清爽绿.skn")) +
                                  "</Skin><HideHotKey>24692</HideHotKey>"
                                  "<CloseHotKey>0</CloseHotKey>"));
    ASSERT_NE(window.HideHotKeyIndex(), 0);
    FOther.TakeFocus();
    EXPECT_FALSE(WindowShownAfter(QStringLiteral("ctrl+shift+F5")));
    EXPECT_FALSE(WindowShownAfter(QStringLiteral("ctrl+alt+z"))) << "the old key does nothing";
    EXPECT_TRUE(WindowShownAfter(QStringLiteral("ctrl+shift+F5")));

    // Saved again unchanged, the same key is registered again.
    window.btnSave->click();
    EXPECT_NE(window.HideHotKeyIndex(), 0);
}

TEST_F(SettingsPage, AKeyAnotherClientHoldsIsSavedAndExplainedAndAFreeOneWorksAtOnce) {
    ASSERT_TRUE(FOther.GrabKey(XK_b, XCB_MOD_MASK_CONTROL));
    WriteHideHotKey("16450");
    TfrmMain& window = Create();
    EXPECT_EQ(window.HideHotKeyIndex(), 0);
    EXPECT_TRUE(!window.lblHotKeyState->isHidden());
    const QString taken = QStringLiteral("热键“Ctrl+B”已被其他程序占用，请换一个组合键。");
    EXPECT_EQ(window.lblHotKeyState->text(), taken);
    EXPECT_EQ(window.HotKey1->Value(), 16450) << "the field keeps the value";

    window.btnSave->click();
    EXPECT_EQ(FMessages.Plain, (QStringList{QStringLiteral("保存成功"), taken}));
    EXPECT_TRUE(Config().contains("<HideHotKey>16450</HideHotKey>"));

    FMessages.Plain.clear();
    window.HotKey1->SetValue(16451);
    window.btnSave->click();
    EXPECT_EQ(FMessages.Plain, QStringList{QStringLiteral("保存成功")});
    EXPECT_NE(window.HideHotKeyIndex(), 0);
    EXPECT_FALSE(!window.lblHotKeyState->isHidden());
    window.show();
    EXPECT_FALSE(WindowShownAfter(QStringLiteral("ctrl+c")));
}

TEST_F(SettingsPage, AConfiguredHotKeyThatNamesNoKeyRegistersNothing) {
    for (const QByteArray value : {"0", "255", "16705"}) {
        WriteHideHotKey(value);
        TfrmMain& window = Create();
        EXPECT_EQ(window.HideHotKeyIndex(), 0) << value.constData();
        // "无" asks for no key; any other value is explained.
        EXPECT_EQ(window.lblHotKeyState->isHidden(), value == "0") << value.constData();
        EXPECT_TRUE(FMessages.Errors.isEmpty());
    }
}

} // namespace
