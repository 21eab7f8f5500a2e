#include "shell/hot_key_field.h"

#include "hotkeys/hot_key_text.h"
#include "hotkeys/virtual_keys.h"
#include "platform/hot_key_window.h"

#include <QKeyEvent>

namespace {

// The key pressed, by the keysym it gave, else by its key's unshifted keysym (Shift+1 is the
// key 1), else by Qt's key code where the platform gives no keysyms.
const TVirtualKey* PressedKey(const QKeyEvent& event) {
    if (const TVirtualKey* key = VirtualKeyOfKeysym(event.nativeVirtualKey()))
        return key;
    if (const TVirtualKey* key = VirtualKeyOfKeysym(UnshiftedKeysym(event.nativeScanCode())))
        return key;
    return VirtualKeyOfQtKey(event.key());
}

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

bool IsClearingKey(const TVirtualKey& key) {
    return key.qtKey == Qt::Key_Backspace || key.qtKey == Qt::Key_Delete;
}

} // namespace

THotKeyField::THotKeyField(const QString& objectName, QWidget* parent) : QLineEdit(parent) {
    setObjectName(objectName);
    setReadOnly(true);
    SetValue(kHotKeyAlt | 'A');
}

void THotKeyField::SetValue(int value) {
    FValue = static_cast<quint16>(value);
    setText(FValue == 0 ? QStringLiteral("无") : HotKeyValueToText(FValue, true));
}

void THotKeyField::keyPressEvent(QKeyEvent* event) {
    const TVirtualKey* key = IsModifierKey(event->key()) ? nullptr : PressedKey(*event);
    if (!key) {
        event->ignore();
        return;
    }
    quint32 value = key->code;
    if (event->modifiers() & Qt::ControlModifier)
        value |= kHotKeyCtrl;
    if (event->modifiers() & Qt::ShiftModifier)
        value |= kHotKeyShift;
    if (event->modifiers() & Qt::AltModifier)
        value |= kHotKeyAlt;
    // Like the system's hot key control: no modifier, or Shift alone, is not a hot key; there
    // Backspace and Delete empty the field instead of becoming Alt and that key.
    if ((value & (kHotKeyCtrl | kHotKeyAlt)) == 0)
        value = IsClearingKey(*key) ? 0 : kHotKeyAlt | key->code;
    SetValue(int(value));
    event->accept();
}
