#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/auto_updater_wizard.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "wizard_test_support.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

std::string Formatted(const char* format, std::initializer_list<TMessageArgument> arguments) {
    return FormatMessageText(QString::fromUtf8(format), arguments).toStdString();
}

TEST(UpgradeMessageText, PlaceholdersAreFilledAndArgumentsAreNeverFormats) {
    EXPECT_EQ(Formatted("%d:%.2d:%.2d", {1, 2, 5}), "1:02:05");
    EXPECT_EQ(Formatted("%.1f Kb", {1536 / 1024.0}), "1.5 Kb");
    EXPECT_EQ(
        Formatted("%5s|%-4d|%05.1f|%.2s", {QStringLiteral("ab"), 7, 2.54, QStringLiteral("xyz")}),
        "   ab|7   |002.5|xy");
    EXPECT_EQ(Formatted("100%% of %d%x", {3}), "100% of 3%x");
    // A placeholder left without an argument is empty, not whatever the stack holds.
    EXPECT_EQ(Formatted("[%s|%d|%f]", {}), "[||]");
    // A file name from a server is shown as it is, however many percent signs it carries.
    SetMessageLanguage(wlEnglish);
    EXPECT_EQ(FormatUpgradeMessage(28, {QStringLiteral("%s%n%99999999d.exe")}).toStdString(),
              "File %s%n%99999999d.exe not found or inaccessible.\n\n"
              "Try to skip this file and continue upgrade?");
}

TEST(UpgradeMessageText, WizardLanguageSelectsTheBlockOnlyWhenItChanges) {
    const QByteArray savedAll = qgetenv("LC_ALL");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    TauAutoUpdaterWizard wizard;
    EXPECT_TRUE(wizard.Enabled);
    EXPECT_FALSE(wizard.HideFileLocation);
    EXPECT_TRUE(wizard.Pic118x218.isNull());
    EXPECT_TRUE(wizard.StayOnTop);
    EXPECT_EQ(wizard.Language(), wlAuto);

    SetMessageLanguage(wlGerman); // creating the options left the block alone
    wizard.SetLanguage(wlEnglish);
    EXPECT_EQ(MessageBase(), 41000);
    SetMessageLanguage(wlGerman);
    wizard.SetLanguage(wlEnglish); // the same value: nothing happens
    EXPECT_EQ(MessageBase(), 41100);
    wizard.SetLanguage(wlAuto);
    EXPECT_EQ(MessageBase(), 42100);
    EXPECT_EQ(wizard.Language(), wlAuto);
    qputenv("LC_ALL", savedAll);
}

TEST(UpgradeMessageText, MessageBoxesCarryTheComponentCaptionAndTheBlockButtons) {
    SetMessageLanguage(wlChineseSimplified);
    AnswerNextModal<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle().toStdString(), "软件升级精灵");
        EXPECT_EQ(box->text().toStdString(),
                  "与远端服务器的连接中断，\n\n请重新连接后再进行升级操作。");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->button(QMessageBox::Ok)->text().toStdString(), "[&O]确定");
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(ShowUpgradeMessageById(30, MB_ICONERROR), IDOK);

    // The file error of a download: its own caption, Yes and No, on top of everything.
    AnswerNextModal<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle().toStdString(), "错误 #404");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(box->button(QMessageBox::No)->text().toStdString(), "[&N]否");
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(UpgradeMessageBox(LoadUpgradeMessage(21) + QStringLiteral(" #404"),
                                FormatUpgradeMessage(28, {QStringLiteral("<i>a.dat</i>")}),
                                MB_YESNO | MB_ICONWARNING | MB_SYSTEMMODAL),
              IDNO);
}

} // namespace
