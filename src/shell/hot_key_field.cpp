#include "shell/hot_key_field.h"

namespace {

constexpr quint16 kShift = 0x2000;
constexpr quint16 kCtrl = 0x4000;
constexpr quint16 kAlt = 0x8000;
constexpr int kVkF1 = 0x70;
constexpr int kVkF24 = 0x87;

QString KeyName(int virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return QString(QChar(virtualKey));
    if (virtualKey >= kVkF1 && virtualKey <= kVkF24)
        return QStringLiteral("F%1").arg(virtualKey - kVkF1 + 1);
    return virtualKey == 0 ? QString() : QStringLiteral("#%1").arg(virtualKey);
}

} // namespace

QString KeyCodeText(quint16 value) {
    QString text;
    if (value & kShift)
        text += QStringLiteral("Shift+");
    if (value & kCtrl)
        text += QStringLiteral("Ctrl+");
    if (value & kAlt)
        text += QStringLiteral("Alt+");
    return text + KeyName(value & 0xFF);
}

THotKeyField::THotKeyField(const QString& objectName, QWidget* parent) : QLineEdit(parent) {
    setObjectName(objectName);
    setReadOnly(true);
    SetValue(kAlt | 'A');
}

void THotKeyField::SetValue(int value) {
    FValue = static_cast<quint16>(value & (0xFF | kShift | kCtrl | kAlt));
    setText(KeyCodeText(FValue));
}
