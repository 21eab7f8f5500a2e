// The settings page: the skin list and the skin applied at once, the show/hide hot key and
// saving the three settings.
#include "common/handler_guard.h"
#include "common/message_boxes.h"
#include "config/config_manager.h"
#include "hotkeys/hot_key_manager.h"
#include "hotkeys/hot_key_text.h"
#include "shell/hot_key_field.h"
#include "shell/main_window.h"
#include "shell/skin_data.h"
#include "shell/window_show_hide.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

// Why the hot key shown in the field does nothing, in a sentence for the user.
QString RefusalText(THotKeyRefusal refusal, quint16 value) {
    const QString key = HotKeyValueToText(value, true);
    switch (refusal) {
    case THotKeyRefusal::None:
        break;
    case THotKeyRefusal::Taken:
        return QStringLiteral("热键“%1”已被其他程序占用，请换一个组合键。").arg(key);
    case THotKeyRefusal::NoSuchKey:
        return key.isEmpty() ? QStringLiteral("这个组合键不能用作热键，请换一个组合键。")
                             : QStringLiteral("“%1”不能用作热键，请换一个组合键。").arg(key);
    case THotKeyRefusal::NoGlobalKeys:
        return QStringLiteral("当前桌面不允许程序使用全局热键（例如没有X11窗口焦点的Wayland桌面），"
                              "热键“%1”暂时无法使用。")
            .arg(key);
    }
    return {};
}

} // namespace

void TfrmMain::FillSkinList(const QString& skinFolder) {
    // Any entry whose name matches, a folder too; a file named ".skn" is hidden but counts.
    QStringList names =
        QDir(skinFolder)
            .entryList({QStringLiteral("*.skn")},
                       QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeIf([](const QString& name) { return !name.contains(QLatin1Char('.')); });
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    const QString text = ComboBox1->currentText();
    ComboBox1->clear();
    ComboBox1->addItems(names);
    ComboBox1->setEditText(text);
}

void TfrmMain::ComboBox1Click() {
    SkinData1->SetSkinFile(FSkinFolder + ComboBox1->currentText());
    if (!SkinData1->Active())
        SkinData1->Activate();
}

void TfrmMain::btnSaveClick() {
    const quint16 value = HotKey1->Value();
    // After a refused registration there is nothing to change: the new value is registered
    // afresh, so that a free combination works at once.
    FHideHotKeyIndex = FHideHotKeyIndex != 0
                           ? HotKeyManager1->ChangeHotKeyValue(FHideHotKeyIndex, value)
                           : HotKeyManager1->AddHotKeyValue(value);
    ShowHotKeyState();
    TConfigManager::WriteValue(QStringLiteral("HideHotKey"), QString::number(value));
    TConfigManager::WriteValue(QStringLiteral("CloseHotKey"), chk_Closehotkey->isChecked()
                                                                  ? QStringLiteral("-1")
                                                                  : QStringLiteral("0"));
    TConfigManager::WriteValue(QStringLiteral("Skin"), ComboBox1->currentText());
    ShowPlainMessage(QStringLiteral("保存成功"));
    if (FHideHotKeyIndex == 0 && value != 0)
        ShowPlainMessage(RefusalText(HotKeyManager1->LastRefusal(), value));
}

void TfrmMain::HotKeyManager1HotKeyPressed(QObject*, quint32, quint16 Index) {
    if (Index == FHideHotKeyIndex)
        ShowOrHideWindow(*this);
}

void TfrmMain::RegisterHideHotKey() {
    FHideHotKeyIndex = HotKeyManager1->AddHotKeyValue(HotKey1->Value());
    ShowHotKeyState();
}

// The line under the hot key field says why the key shown there does nothing; an emptied field
// ("无") asks for no key and needs no word.
void TfrmMain::ShowHotKeyState() {
    const bool refused = FHideHotKeyIndex == 0 && HotKey1->Value() != 0;
    lblHotKeyState->setText(refused ? RefusalText(HotKeyManager1->LastRefusal(), HotKey1->Value())
                                    : QString());
    lblHotKeyState->setVisible(refused);
}

// A skin is applied as the user picks or types it; the program's own changes of the box's text
// apply nothing.
void TfrmMain::WireSettingsPage() {
    const auto applySkin = [this] {
        RunHandler([this] { ComboBox1Click(); });
    };
    connect(ComboBox1, &QComboBox::textActivated, this, applySkin);
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, applySkin);
    HotKeyManager1->OnHotKeyPressed = [this](QObject* sender, quint32 hotKey, quint16 index) {
        RunHandler([&] { HotKeyManager1HotKeyPressed(sender, hotKey, index); });
    };
}

// A window destroyed while on screen hides itself only after its own members are gone, and the
// box then reports its text once more as it loses the keyboard: it must find no handler.
void TfrmMain::UnwireSettingsPage() {
    ComboBox1->disconnect(this);
    ComboBox1->lineEdit()->disconnect(this);
}
