// What the main window does once at creation: settings, skin, folders and the catalogue panes.
#include "common/common_method.h"
#include "common/failure.h"
#include "common/folder_lookup.h"
#include "common/message_boxes.h"
#include "common/program_folder.h"
#include "common/text_conversions.h"
#include "config/config_manager.h"
#include "hotkeys/hot_key_text.h"
#include "library/library_connection.h"
#include "library/library_tables.h"
#include "platform/browser_pane.h"
#include "shell/catalogue_addresses.h"
#include "shell/hot_key_field.h"
#include "shell/main_window.h"
#include "shell/skin_data.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>

namespace {

const QString kDefaultSkin = QStringLiteral("默认主题.skn");
// Ctrl+Alt+Z: a system-wide grab takes its key from every program on the desktop, and no common
// program uses this one. Ctrl+A, the first default, took select-all from all of them.
const QString kDefaultHideHotKey = QString::number(kHotKeyCtrl | kHotKeyAlt | 'Z');
const QString kDefaultCloseHotKey = QStringLiteral("-1");

// A failing step is reported and start-up goes on with that setting's default, so a bad
// configuration never leaves the client without its database, folders or panes. The same
// failure (an unreadable file fails every read) is reported once.
class TStartupSteps {
public:
    template <typename Step> void Run(Step&& step) {
        try {
            step();
        } catch (const EFailure& failure) {
            if (!FReported.contains(failure.Message())) {
                FReported.append(failure.Message());
                ShowStandardError(failure.Message());
            }
        }
    }

private:
    QStringList FReported;
};

} // namespace

void TfrmMain::FormCreate() {
    FProgramFolder = ::ProgramFolder();
    TConfigManager::SetConfigFilePath(
        ResolveInFolder(FProgramFolder, QStringLiteral("config.xml")));
    FSkinFolder = ResolveInFolder(FProgramFolder, QStringLiteral("skin")) + QLatin1Char('/');
    FillSkinList(FSkinFolder);

    TStartupSteps steps;
    QString skin = kDefaultSkin;
    steps.Run(
        [&] { skin = ReadSetting(QStringLiteral("skin"), QStringLiteral("Skin"), kDefaultSkin); });
    ComboBox1->setEditText(skin);
    SkinData1->SetSkinFile(FSkinFolder + skin);
    if (!SkinData1->Active())
        SkinData1->Activate();

    int hideHotKey = StrToInt(kDefaultHideHotKey);
    steps.Run([&] {
        hideHotKey = StrToInt(ReadSetting(QStringLiteral("HideHotKey"),
                                          QStringLiteral("HideHotKey"), kDefaultHideHotKey));
    });
    HotKey1->SetValue(hideHotKey);
    RegisterHideHotKey();

    bool closeWithF1 = StrToBool(kDefaultCloseHotKey);
    steps.Run([&] {
        closeWithF1 = StrToBool(ReadSetting(QStringLiteral("CloseHotKey"),
                                            QStringLiteral("CloseHotKey"), kDefaultCloseHotKey));
    });
    chk_Closehotkey->setChecked(closeWithF1);

    // A library that cannot be set up is not reported here: each use reports its own failure.
    QString databaseError;
    TCommonMethod::CreateDatabase(databaseError);
    qry_flash = std::make_unique<TLibraryConnection>(LibraryDatabasePath());
    try {
        EnsureLibraryTables(qry_flash->Database());
    } catch (const EFailure&) {
    }

    CreateProgramFolders();
    PointPanesAtStartPages();
}

// The stored text of Key; when it is missing or empty, Fallback is written under WriteKey.
QString TfrmMain::ReadSetting(const QString& key, const QString& writeKey,
                              const QString& fallback) {
    QString value;
    TConfigManager::ReadValue(key, value);
    if (!value.isEmpty())
        return value;
    TConfigManager::WriteValue(writeKey, fallback);
    return fallback;
}

void TfrmMain::CreateProgramFolders() {
    for (const QString& folder : {QStringLiteral("flash"), QStringLiteral("pic")}) {
        if (FindInFolder(FProgramFolder, folder).isEmpty())
            QDir(FProgramFolder).mkdir(folder);
    }
}

void TfrmMain::PointPanesAtStartPages() {
    // What the first screen shows loads at once; the other pages' panes when first shown.
    const std::tuple<TBrowserPane*, const char*, bool> startPages[] = {
        {WB_GameTreeList, "left.asp", true},   {WB_Right, "AD_right.htm", true},
        {WB_GameList, "AD_main.htm", true},    {wb_advice, "GameTjList.asp", false},
        {wb_order, "GamePhList.asp", false},   {wbCurrent, "AD_main.htm", false},
        {WB_search, "soft_search.asp", false},
    };
    for (const auto& [pane, page, onFirstScreen] : startPages) {
        const QString address = CataloguePage(QLatin1String(page));
        if (onFirstScreen)
            pane->Navigate(address);
        else
            // The pane behind the player is never on screen itself; it loads with its page.
            pane->NavigateWhenShown(address,
                                    pane == wbCurrent ? pnlCurrentGame->parentWidget() : nullptr);
    }
}
