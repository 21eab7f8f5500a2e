#include "common/application_title.h"
#include "support/pump_events.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/password_form.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/wizard_form.h"
#include "wizard_test_support.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

// The layout every progress window starts from: name, left, top, width, height (0: the
// control's own).
struct TPlace {
    const char* Name;
    QRect Geometry;
};
const TPlace kLayout[] = {
    {"Panel1", {10, 10, 120, 220}},
    {"Image1", {1, 1, 118, 218}},
    {"WizardTitle", {136, 10, 0, 0}},
    {"AfterNote", {136, 44, 319, 0}},
    {"LCurrentFile", {136, 34, 319, 125}},
    {"LDownloadingFileFrom", {6, 14, 0, 0}},
    {"FileURL", {10, 28, 301, 13}},
    {"LFileSize", {6, 44, 0, 0}},
    {"LTransferRate", {6, 60, 0, 0}},
    {"LEstimatedTime", {6, 76, 0, 0}},
    {"ProgressCurrentFile", {6, 96, 307, 22}},
    {"LAllFiles", {136, 162, 319, 67}},
    {"AllDownloading", {6, 16, 0, 0}},
    {"ProgressAllFiles", {6, 38, 307, 22}},
    {"Bevel1", {10, 238, 447, 0}},
    {"AboutShadow", {31, 234, 0, 0}},
    {"AboutLabel", {30, 233, 0, 0}},
    {"FinishBtn", {296, 248, 75, 25}},
    {"CancelBtn", {380, 248, 75, 25}},
};

void ExpectPlace(QWidget* window, const TPlace& place) {
    auto* control = window->findChild<QWidget*>(QLatin1String(place.Name));
    ASSERT_NE(control, nullptr) << place.Name;
    const QRect actual = control->geometry();
    EXPECT_EQ(actual.topLeft(), place.Geometry.topLeft()) << place.Name;
    if (place.Geometry.width() > 0) {
        EXPECT_EQ(actual.width(), place.Geometry.width()) << place.Name;
    }
    if (place.Geometry.height() > 0) {
        EXPECT_EQ(actual.height(), place.Geometry.height()) << place.Name;
    }
}

// The window system's close request: the close box or Alt+F4.
void CloseBox(QWidget* window) {
    QCloseEvent request;
    QCoreApplication::sendEvent(window->windowHandle(), &request);
}

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

class UpgradeWizard : public ::testing::Test {
protected:
    void SetUp() override { SetMessageLanguage(wlChineseSimplified); }
    void TearDown() override {
        DestroyUpgradeWizard();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TauAutoUpdaterWizardForm* Open() {
        ShowUpgradeWizard(Host);
        return UpgradeWizardForm();
    }

    // Answers the abandon question that the window is about to ask, and checks it.
    void AnswerAbandonQuestion(QMessageBox::StandardButton answer) {
        AnswerNextModal<QMessageBox>([answer](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), ApplicationTitle());
            EXPECT_EQ(box->text().toStdString(), "升级操作尚未完成，\n您确定要放弃升级吗？");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->button(QMessageBox::Yes)->text().toStdString(), "[&Y]是");
            box->button(answer)->click();
        });
    }

    TRecordingHost Host;
};

TEST_F(UpgradeWizard, DownloadsInChineseThenCompletesAndOkReleasesTheWait) {
    TauAutoUpdaterWizardForm* form = Open();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->size(), QSize(463, 281));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const TPlace& place : kLayout)
        ExpectPlace(form, place);
    EXPECT_EQ(form->Image1->pixmap().size(), QSize(118, 218));

    EXPECT_EQ(form->windowTitle().toStdString(), "软件升级精灵");
    EXPECT_EQ(Text(form->WizardTitle), "文档下载中");
    EXPECT_EQ(form->LCurrentFile->title().toStdString(), " 当前的文档 ");
    EXPECT_EQ(form->LAllFiles->title().toStdString(), " 全部的文档 ");
    EXPECT_EQ(Text(form->LDownloadingFileFrom), "文档下载源");
    EXPECT_EQ(Text(form->LEstimatedTime), "准备中");
    EXPECT_EQ(Text(form->AboutLabel), " AutoUpdater ");
    EXPECT_EQ(Text(form->AboutShadow), " AutoUpdater ");
    EXPECT_EQ(form->FinishBtn->text().toStdString(), "[&N]下一个>");
    EXPECT_FALSE(form->FinishBtn->isEnabled());
    EXPECT_EQ(form->CancelBtn->text().toStdString(), "[&C]取消");
    EXPECT_TRUE(form->CancelBtn->isDefault());
    EXPECT_TRUE(Text(form->AfterNote).empty());

    // What the download writes as a file proceeds.
    form->SetFileURL(QStringLiteral("http://vendor.example/down/app.exe"));
    form->SetFilePosition(2, 3);
    form->SetFileSize(1536);
    form->SetProgress(50, 49, 12.34, 3725);
    EXPECT_EQ(form->FileURL->text().toStdString(), "http://vendor.example/down/app.exe");
    EXPECT_EQ(Text(form->AllDownloading), "当前正在下载:2 of 3");
    EXPECT_EQ(Text(form->LFileSize), "文档大小:1.5 Kb");
    EXPECT_EQ(Text(form->LTransferRate), "传输速率:12.3 Kb/s");
    EXPECT_EQ(Text(form->LEstimatedTime), "估计剩余时间: 1:02:05");
    EXPECT_EQ(form->ProgressCurrentFile->value(), 50);
    EXPECT_EQ(form->ProgressAllFiles->value(), 49);
    // The address cannot be edited from the keyboard.
    QTest::keyClicks(form->FileURL, QStringLiteral("x"));
    QTest::keyClick(form->FileURL, Qt::Key_Backspace);
    EXPECT_EQ(form->FileURL->text().toStdString(), "http://vendor.example/down/app.exe");

    ShowCompletionPage();
    EXPECT_EQ(Text(form->WizardTitle), "升级完成！");
    EXPECT_EQ(Text(form->AfterNote),
              ApplicationTitle().toStdString() + " 已经升级完成，\n\n请按[确定]键重新启动程序");
    EXPECT_GT(form->AfterNote->height(), 2 * form->AfterNote->fontMetrics().height());
    EXPECT_TRUE(form->LCurrentFile->isHidden());
    EXPECT_TRUE(form->LAllFiles->isHidden());
    EXPECT_FALSE(form->CancelBtn->isEnabled());
    EXPECT_EQ(form->FinishBtn->text().toStdString(), "[&O]确定");
    EXPECT_TRUE(form->FinishBtn->isEnabled());
    EXPECT_EQ(form->focusWidget(), form->FinishBtn);

    QPointer<TauAutoUpdaterWizardForm> window(form);
    form->FinishBtn->click();
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
    EXPECT_EQ(Host.Calls, QStringList{QStringLiteral("signal")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(UpgradeWizard, HiddenFileLocationOwnPictureAndNotOnTop) {
    Host.Options.HideFileLocation = true;
    Host.Options.StayOnTop = false;
    Host.Options.Pic118x218 = QImage(118, 218, QImage::Format_RGB32);
    Host.Options.Pic118x218.fill(Qt::red);
    Open();
    // Opening again while it is open takes the same window and moves nothing twice.
    TauAutoUpdaterWizardForm* form = Open();
    EXPECT_FALSE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->Image1->pixmap().toImage().pixelColor(59, 109), QColor(Qt::red));
    EXPECT_TRUE(form->FileURL->isHidden());
    EXPECT_TRUE(form->LDownloadingFileFrom->isHidden());
    EXPECT_EQ(form->LFileSize->pos(), QPoint(6, 14));
    EXPECT_EQ(form->LTransferRate->pos(), QPoint(6, 30));
    EXPECT_EQ(form->LEstimatedTime->pos(), QPoint(6, 46));
    EXPECT_EQ(form->ProgressCurrentFile->pos(), QPoint(6, 66));
    EXPECT_EQ(form->LCurrentFile->geometry(), QRect(136, 44, 319, 95));

    // A component that stops the upgrade destroys the window without being called back.
    DestroyUpgradeWizard();
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
    EXPECT_TRUE(Host.Calls.isEmpty());
}

TEST_F(UpgradeWizard, CancelAsksAndYesClosesThenAbandons) {
    TauAutoUpdaterWizardForm* form = Open();
    AnswerAbandonQuestion(QMessageBox::Yes);
    form->CancelBtn->click();
    ASSERT_TRUE(PumpEventsUntil([] { return UpgradeWizardForm() == nullptr; }));
    // The waiter is released before the upgrade is abandoned, so it finds the upgrade aborted.
    EXPECT_EQ(Host.Calls, (QStringList{QStringLiteral("signal"), QStringLiteral("abort")}));
}

TEST_F(UpgradeWizard, EnterEscapeAndCloseBoxAskAndNoKeepsItOpen) {
    TauAutoUpdaterWizardForm* form = Open();
    QPointer<TauAutoUpdaterWizardForm> window(form);
    const std::function<void()> closers[] = {
        [&] { QTest::keyClick(form, Qt::Key_Return); },
        [&] { QTest::keyClick(form, Qt::Key_Escape); },
        [&] { CloseBox(form); },
    };
    for (const auto& close : closers) {
        bool asked = false;
        AnswerNextModal<QMessageBox>([&asked](QMessageBox* box) {
            asked = true;
            box->button(QMessageBox::No)->click();
        });
        close();
        ASSERT_TRUE(PumpEventsUntil([&] { return asked; }));
        QCoreApplication::processEvents();
        ASSERT_FALSE(window.isNull());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(UpgradeWizardForm(), form);
    }
    EXPECT_TRUE(Host.Calls.isEmpty());

    // On the completion page the close box still asks: Yes abandons the finished download.
    ShowCompletionPage();
    AnswerAbandonQuestion(QMessageBox::Yes);
    CloseBox(form);
    ASSERT_TRUE(PumpEventsUntil([] { return UpgradeWizardForm() == nullptr; }));
    EXPECT_EQ(Host.Calls, (QStringList{QStringLiteral("signal"), QStringLiteral("abort")}));
}

TEST_F(UpgradeWizard, WindowsAskingMeanwhileAreItsOwnAboveItAndOutliveIt) {
    TauAutoUpdaterWizardForm* form = Open();
    ASSERT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    QWindow* progress = form->windowHandle();
    ASSERT_NE(progress, nullptr);
    const auto expectAbove = [&progress](QDialog* dialog) {
        ASSERT_NE(dialog->windowHandle(), nullptr);
        EXPECT_EQ(dialog->windowHandle()->transientParent(), progress);
        EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(dialog->parentWidget(), nullptr);
    };
    // The component's notice while the window is open, which it closes meanwhile.
    bool noticed = false;
    AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
        noticed = true;
        expectAbove(box);
        DestroyUpgradeWizard();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowUpgradeMessageById(30, MB_ICONWARNING), IDOK);
    EXPECT_TRUE(noticed);
    EXPECT_EQ(UpgradeWizardForm(), nullptr);

    // The login of a protected file.
    progress = Open()->windowHandle();
    bool asked = false;
    AnswerNextModal<TauAutoUpdaterPasswordForm>([&](TauAutoUpdaterPasswordForm* login) {
        asked = true;
        expectAbove(login);
        login->reject();
    });
    EXPECT_FALSE(ShowPasswordDialog(Host));
    EXPECT_TRUE(asked);
}

TEST_F(UpgradeWizard, TheProgramClosesItWithoutAsking) {
    // As when the application quits after its main window: the waiter goes, nothing is abandoned.
    Open()->close();
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
    EXPECT_EQ(Host.Calls, QStringList{QStringLiteral("signal")});

    // A component going away takes its window along and is not called back.
    {
        TRecordingHost leaving;
        ShowUpgradeWizard(leaving);
        ASSERT_NE(UpgradeWizardForm(), nullptr);
    }
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
}

} // namespace
