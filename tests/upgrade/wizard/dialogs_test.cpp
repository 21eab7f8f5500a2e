#include "common/application_title.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/password_form.h"
#include "upgrade/wizard/upgrade_question_form.h"
#include "wizard_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class UpgradeDialogs : public ::testing::Test {
protected:
    void SetUp() override { SetMessageLanguage(wlChineseSimplified); }
};

TEST_F(UpgradeDialogs, QuestionWordsTheMessageSizesToItAndOnlyYesUpgrades) {
    const QString title = ApplicationTitle();
    struct TCase {
        QString Message;
        std::function<void(TauAutoUpdaterUpgradeMessageForm*)> Answer;
        TUpgradeAnswer Upgrade;
        QString Text;
        qint64 DownloadSize = -1;
    };
    const TCase cases[] = {
        // Without a message one empty line parts the two sentences...
        {QString(), [](auto* form) { form->YesBtn->click(); }, uaUpgrade,
         title + QStringLiteral("已经有新版本推出，\n\n您要升级到新版本吗？")},
        // ...with one, the message stands between two empty lines.
        {QStringLiteral("Version 3.8\nFaster downloads."),
         [](auto* form) { form->LaterBtn->click(); }, uaLater,
         title + QStringLiteral("已经有新版本推出，\n\nVersion 3.8\nFaster downloads.\n\n"
                                "您要升级到新版本吗？")},
        {QStringLiteral("<b>%s</b>"), [](auto* form) { QTest::keyClick(form, Qt::Key_Escape); },
         uaLater,
         title + QStringLiteral("已经有新版本推出，\n\n<b>%s</b>\n\n您要升级到新版本吗？")},
        {QString(), [](auto* form) { QTest::keyClick(form, Qt::Key_Return); }, uaUpgrade,
         QString()},
        // The size of the download, when the offer tells it, under the question.
        {QStringLiteral("3.8"), [](auto* form) { form->SkipBtn->click(); }, uaSkipVersion,
         title + QStringLiteral("已经有新版本推出，\n\n3.8\n\n您要升级到新版本吗？\n\n"
                                "下载大小：31.5 MB"),
         33030144},
    };
    int emptyHeight = 0;
    for (const TCase& c : cases) {
        int height = 0;
        AnswerNextModal<TauAutoUpdaterUpgradeMessageForm>(
            [&](TauAutoUpdaterUpgradeMessageForm* form) {
                EXPECT_EQ(form->windowTitle().toStdString(), "软件升级精灵");
                EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
                EXPECT_EQ(form->YesBtn->text().toStdString(), "[&Y]是");
                EXPECT_EQ(form->LaterBtn->text().toStdString(), "[&L]稍等一下");
                EXPECT_EQ(form->SkipBtn->text().toStdString(), "[&S]跳过此版本");
                // Three buttons side by side, none over another, all inside the question.
                EXPECT_LE(form->YesBtn->geometry().right(), form->LaterBtn->x());
                EXPECT_LE(form->LaterBtn->geometry().right(), form->SkipBtn->x());
                EXPECT_LE(form->SkipBtn->geometry().right(), form->BottomPanel->width());
                if (!c.Text.isEmpty()) {
                    EXPECT_EQ(form->Label1->text().toStdString(), c.Text.toStdString());
                }
                EXPECT_EQ(form->Label1->textFormat(), Qt::PlainText);
                EXPECT_EQ(form->Label1->geometry(),
                          QRect(45, 5, 318 - 45 - 11, form->Label1->height()));
                EXPECT_EQ(form->Label1->height(),
                          form->Label1->heightForWidth(form->Label1->width()));
                EXPECT_EQ(form->size(), QSize(318, 5 + form->Label1->height() + 45));
                EXPECT_EQ(form->BottomPanel->geometry(), QRect(0, form->height() - 45, 318, 45));
                height = form->height();
                c.Answer(form);
            });
        EXPECT_EQ(AskUpgrade(c.Message, c.DownloadSize), c.Upgrade) << c.Message.toStdString();
        if (c.Message.isEmpty()) {
            emptyHeight = height;
        } else {
            EXPECT_GT(height, emptyHeight);
        }
    }
}

TEST_F(UpgradeDialogs, PasswordDialogStoresTheLoginOnlyOnOk) {
    TRecordingHost host;
    host.Username = QStringLiteral("alice");
    host.FileName = QStringLiteral("data.pak");

    AnswerNextModal<TauAutoUpdaterPasswordForm>([](TauAutoUpdaterPasswordForm* form) {
        EXPECT_EQ(form->windowTitle().toStdString(), "请输入密码");
        EXPECT_EQ(form->Label1->text().toStdString(),
                  "远端的文档\"data.pak\"被密码保护，\n\n"
                  "请输入您的帐号及密码[注册用户]来继续进行升级操作。");
        EXPECT_EQ(form->Label1->width(), 297 - 45 - 18);
        EXPECT_EQ(form->size(), QSize(297, 5 + form->Label1->height() + 98));
        EXPECT_EQ(form->UsernameLab->text().toStdString(), "帐号");
        EXPECT_EQ(form->PasswordLab->text().toStdString(), "密码");
        EXPECT_EQ(form->OKBtn->text().toStdString(), "[&O]确定");
        EXPECT_EQ(form->CancelBtn->text().toStdString(), "[&C]取消");
        EXPECT_EQ(form->UsernameEdit->text().toStdString(), "alice");
        EXPECT_TRUE(form->PasswordEdit->text().isEmpty());
        EXPECT_EQ(form->PasswordEdit->echoMode(), QLineEdit::Password);
        form->UsernameEdit->setText(QStringLiteral("bob"));
        QTest::keyClicks(form->PasswordEdit, QStringLiteral("s3cret"));
        QTest::keyClick(form, Qt::Key_Return);
    });
    EXPECT_TRUE(ShowPasswordDialog(host));
    EXPECT_EQ(host.Username.toStdString(), "bob");
    EXPECT_EQ(host.Password.toStdString(), "s3cret");

    const std::function<void(TauAutoUpdaterPasswordForm*)> refusals[] = {
        [](auto* form) { form->CancelBtn->click(); },
        [](auto* form) { QTest::keyClick(form, Qt::Key_Escape); },
    };
    for (const auto& refuse : refusals) {
        AnswerNextModal<TauAutoUpdaterPasswordForm>([&refuse](TauAutoUpdaterPasswordForm* form) {
            EXPECT_EQ(form->UsernameEdit->text().toStdString(), "bob");
            form->UsernameEdit->setText(QStringLiteral("mallory"));
            form->PasswordEdit->setText(QStringLiteral("guess"));
            refuse(form);
        });
        EXPECT_FALSE(ShowPasswordDialog(host));
        EXPECT_EQ(host.Username.toStdString(), "bob");
        EXPECT_EQ(host.Password.toStdString(), "s3cret");
    }
}

} // namespace
