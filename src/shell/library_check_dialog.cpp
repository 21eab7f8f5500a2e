#include "shell/library_check_dialog.h"

#include "common/failure.h"
#include "platform/ui_dispatcher.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TLibraryCheckDialog::TLibraryCheckDialog(const TLibraryPlace& place, QWidget* parent)
    : QDialog(parent), FPlace(place) {
    setObjectName(QStringLiteral("frmLibraryCheck"));
    setWindowTitle(QStringLiteral("检查游戏库"));
    resize(520, 360);
    lblCheckState = new QLabel;
    lblCheckState->setObjectName(QStringLiteral("lblCheckState"));
    lblCheckState->setWordWrap(true);
    pbCheck = new QProgressBar;
    pbCheck->setObjectName(QStringLiteral("pbCheck"));
    lstProblems = new QListWidget;
    lstProblems->setObjectName(QStringLiteral("lstProblems"));
    btnRepair = new QPushButton(QStringLiteral("修复"));
    btnRepair->setObjectName(QStringLiteral("btnRepair"));
    btnRepair->setEnabled(false);
    btnCloseCheck = new QPushButton(QStringLiteral("关闭"));
    btnCloseCheck->setObjectName(QStringLiteral("btnCloseCheck"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnRepair);
    buttons->addWidget(btnCloseCheck);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblCheckState);
    column->addWidget(pbCheck);
    column->addWidget(lstProblems, 1);
    column->addLayout(buttons);
    connect(btnRepair, &QPushButton::clicked, this, &TLibraryCheckDialog::StartRepair);
    connect(btnCloseCheck, &QPushButton::clicked, this, &QDialog::close);
    StartCheck();
}

TLibraryCheckDialog::~TLibraryCheckDialog() {
    FStop = true;
    if (FWorker.joinable())
        FWorker.join();
}

TLibraryCheckHooks TLibraryCheckDialog::Hooks(const QString& state) {
    return {[this, state](int done, int total) {
                TUiDispatcher::Post(
                    this, [this, done, total, state] { ShowProgress(done, total, state); });
            },
            [this] {
                return FStop.load() || TUiDispatcher::ShuttingDown();
            }};
}

void TLibraryCheckDialog::RunInBackground(std::function<void()> work) {
    if (FWorker.joinable())
        FWorker.join();
    FWorker = std::thread(std::move(work));
}

void TLibraryCheckDialog::ShowProgress(int done, int total, const QString& state) {
    pbCheck->setMaximum(total);
    pbCheck->setValue(done);
    lblCheckState->setText(state.arg(std::min(done + 1, total)).arg(total));
}

void TLibraryCheckDialog::StartCheck() {
    lblCheckState->setText(QStringLiteral("正在检查游戏库……"));
    RunInBackground([this] {
        QList<TLibraryProblem> problems;
        QString failure;
        try {
            problems =
                CheckLibrary(FPlace, Hooks(QStringLiteral("正在检查第 %1 个游戏，共 %2 个……")));
        } catch (const EFailure& caught) {
            failure = caught.Message();
        }
        TUiDispatcher::Post(this, [this, problems, failure] { CheckEnded(problems, failure); });
    });
}

void TLibraryCheckDialog::CheckEnded(const QList<TLibraryProblem>& problems,
                                     const QString& failure) {
    FProblems = problems;
    lstProblems->clear();
    if (!failure.isEmpty()) {
        lblCheckState->setText(QStringLiteral("无法读取游戏库：%1").arg(failure));
        return;
    }
    for (const TLibraryProblem& problem : problems)
        lstProblems->addItem(problem.Text());
    const int checked = pbCheck->maximum();
    lblCheckState->setText(
        problems.isEmpty()
            ? QStringLiteral("检查了 %1 个游戏，游戏文件和图片都完好。").arg(checked)
            : QStringLiteral("检查了 %1 个游戏，发现 %2 个有问题。点“修复”从原来的地址重新下载。")
                  .arg(checked)
                  .arg(problems.size()));
    btnRepair->setEnabled(!problems.isEmpty());
}

void TLibraryCheckDialog::StartRepair() {
    btnRepair->setEnabled(false);
    const QList<TLibraryProblem> problems = FProblems;
    RunInBackground([this, problems] {
        const TLibraryCheckHooks hooks = Hooks(QStringLiteral("正在修复第 %1 个，共 %2 个……"));
        int repaired = 0;
        for (int i = 0; i < problems.size() && !hooks.Stopped(); ++i) {
            hooks.Progress(i, int(problems.size()));
            const QString left = RepairLibraryProblem(FPlace, problems[i], hooks);
            repaired += left.isEmpty() ? 1 : 0;
            const QString line =
                left.isEmpty() ? QStringLiteral("已修复 ") + problems[i].Text()
                               : QStringLiteral("没能修复 %1：%2").arg(problems[i].Text(), left);
            TUiDispatcher::Post(this, [this, i, line] { lstProblems->item(i)->setText(line); });
        }
        const int total = int(problems.size());
        TUiDispatcher::Post(this, [this, repaired, total] {
            pbCheck->setValue(pbCheck->maximum());
            lblCheckState->setText(repaired == total
                                       ? QStringLiteral("%1 个问题都修复好了。").arg(total)
                                       : QStringLiteral("修复好 %1 个，还有 %2 个没能修复。")
                                             .arg(repaired)
                                             .arg(total - repaired));
            emit LibraryRepaired();
        });
    });
}
