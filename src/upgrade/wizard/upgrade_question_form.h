#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

// The question whether to upgrade now or later; modal, above all other windows.
class TauAutoUpdaterUpgradeMessageForm : public QDialog {
    Q_OBJECT
public:
    QLabel* Icon = nullptr;
    QLabel* Label1 = nullptr;
    QWidget* BottomPanel = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* LaterBtn = nullptr;

private:
    friend bool AskUpgrade(const QString& message);

    TauAutoUpdaterUpgradeMessageForm();
    ~TauAutoUpdaterUpgradeMessageForm() override;
    void ShowQuestion(const QString& message);
};

// Asks whether to upgrade now, with the information file's Message; true for Yes. Closing the
// question any other way means Later, and so does asking while a question is already open.
bool AskUpgrade(const QString& message);
