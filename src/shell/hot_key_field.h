#pragma once

#include <QLineEdit>

// The hot key field of the settings page. Its value is a 16-bit key code: the low 8 bits a
// Windows virtual-key code, bit 13 Shift, bit 14 Ctrl, bit 15 Alt; other bits do not survive.
class THotKeyField : public QLineEdit {
    Q_OBJECT
public:
    explicit THotKeyField(const QString& objectName, QWidget* parent = nullptr);

    quint16 Value() const { return FValue; }
    void SetValue(int value);

private:
    quint16 FValue = 0;
};

// "Ctrl+Alt+A"-style text for a 16-bit key code, as the field shows it.
QString KeyCodeText(quint16 value);
