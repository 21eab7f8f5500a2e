#pragma once

#include "shell/library_check.h"

#include <QDialog>
#include <atomic>
#include <thread>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

// "检查游戏库": checks every stored game and picture in the background with a progress bar,
// lists what is damaged or missing, and on "修复" fetches it again from the stored addresses.
// Closing it stops the work where it is; nothing half-done is left in the library.
class TLibraryCheckDialog : public QDialog {
    Q_OBJECT
public:
    TLibraryCheckDialog(const TLibraryPlace& place, QWidget* parent = nullptr);
    ~TLibraryCheckDialog() override;

    QLabel* lblCheckState = nullptr;
    QProgressBar* pbCheck = nullptr;
    QListWidget* lstProblems = nullptr;
    QPushButton* btnRepair = nullptr;
    QPushButton* btnCloseCheck = nullptr;

signals:
    // Games were repaired: the library's lists may have changed.
    void LibraryRepaired();

private:
    void StartCheck();
    void StartRepair();
    void ShowProgress(int done, int total, const QString& state);
    void CheckEnded(const QList<TLibraryProblem>& problems, const QString& failure);
    // Runs Work on the worker thread, after the last work has ended.
    void RunInBackground(std::function<void()> work);
    TLibraryCheckHooks Hooks(const QString& state);

    TLibraryPlace FPlace;
    QList<TLibraryProblem> FProblems;
    std::thread FWorker;
    std::atomic<bool> FStop = false;
};
