#pragma once

#include "upgrade/wizard/auto_updater_wizard.h"
#include "upgrade/wizard/wizard_form.h"
#include "upgrade/wizard/wizard_host.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// A component as far as the windows see it: it records what they ask of it, and abandons an
// upgrade the way the component does, by destroying the progress window.
class TRecordingHost : public TauWizardHost {
public:
    TauAutoUpdaterWizard Options;
    QString Username;
    QString Password;
    QString FileName = QStringLiteral("app.exe");
    QStringList Calls;

    const TauAutoUpdaterWizard& Wizard() const override { return Options; }
    QString HTTPUsername() const override { return Username; }
    void SetHTTPUsername(const QString& username) override { Username = username; }
    void SetHTTPPassword(const QString& password) override { Password = password; }
    QString CurrentFileName() const override { return FileName; }
    void AbortUpgrade() override {
        Calls.append(QStringLiteral("abort"));
        DestroyUpgradeWizard();
    }
    void SignalWaitEvent() override { Calls.append(QStringLiteral("signal")); }
};

// Answers the next modal window of type Window from inside its own event loop, as a user would.
// One that never shows is a failure; one left open after the answer is closed so that no test
// hangs.
template <typename Window> void AnswerNextModal(std::function<void(Window*)> answer) {
    auto* poll = new QTimer(qApp);
    const QDeadlineTimer deadline(10000);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, deadline, answer] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window && window->isVisible()) {
            poll->deleteLater();
            answer(window);
            if (window->isVisible()) {
                ADD_FAILURE() << "the answer left the window open";
                window->close();
            }
        } else if (deadline.hasExpired()) {
            poll->deleteLater();
            ADD_FAILURE() << "no modal window showed";
        }
    });
    poll->start(10);
}
