#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

// What the user answered to the question.
enum TUpgradeAnswer { uaUpgrade, uaLater, uaSkipVersion };

// The question whether to upgrade now or later, or never to this version; modal, above all
// other windows.
class TauAutoUpdaterUpgradeMessageForm : public QDialog {
    Q_OBJECT
public:
    QLabel* Icon = nullptr;
    QLabel* Label1 = nullptr;
    QWidget* BottomPanel = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* LaterBtn = nullptr;
    QPushButton* SkipBtn = nullptr;

private:
    friend TUpgradeAnswer AskUpgrade(const QString& message, qint64 downloadSize);

    TauAutoUpdaterUpgradeMessageForm();
    ~TauAutoUpdaterUpgradeMessageForm() override;
    void ShowQuestion(const QString& message, qint64 downloadSize);
    void PlaceButtons();
};

// Asks whether to upgrade now, with the information file's Message and, when it is known
// (not -1), the size in bytes of all the files to download. Closing the question any other way
// than with a button means Later, and so does asking while a question is already open.
TUpgradeAnswer AskUpgrade(const QString& message, qint64 downloadSize = -1);
