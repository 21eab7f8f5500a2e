#pragma once

#include <QLineEdit>

// The hot key field of the settings page. Its value is a 16-bit key code: the low 8 bits a
// Windows virtual-key code, bit 13 Shift, bit 14 Ctrl, bit 15 Alt. Typing a key sets it; a key
// typed without a modifier, or with Shift alone, becomes Alt and that key, except Backspace and
// Delete, which empty the field ("无", value 0).
class THotKeyField : public QLineEdit {
    Q_OBJECT
public:
    explicit THotKeyField(const QString& objectName, QWidget* parent = nullptr);

    quint16 Value() const { return FValue; }
    void SetValue(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    quint16 FValue = 0;
};
