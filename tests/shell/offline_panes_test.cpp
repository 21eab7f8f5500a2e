// The catalogue goes away and comes back: every catalogue pane says so in the interface's words,
// offers to try again, and loads its page again by itself once the catalogue answers.
#include "catalogue_server.h"
#include "common/program_folder.h"
#include "platform/browser_pane.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/pump_events.h"
#include "support/recorded_messages.h"

#include <QTemporaryDir>
#include <QWebEnginePage>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kNotice = QStringLiteral("暂时无法连接到游戏网站");

// What the page now shown gives for Script, asked for again until Condition holds on it.
bool PageAnswerBecomes(TBrowserPane* pane, const QString& script,
                       const std::function<bool(const QString&)>& condition, int milliseconds) {
    auto answer = std::make_shared<QString>();
    return PumpEventsUntil(
        [&] {
            pane->page()->runJavaScript(
                script, [answer](const QVariant& value) { *answer = value.toString(); });
            PumpEventsUntil([] { return false; }, 100);
            return condition(*answer);
        },
        milliseconds);
}

const QString kText = QStringLiteral("document.body ? document.body.innerText : ''");

TEST(OfflinePanes, EveryPaneShowsTheNoticeAndComesBackByItselfWhenTheCatalogueAnswersAgain) {
    TUiDispatcher dispatcher;
    TRecordedMessages messages;
    QTemporaryDir folder;
    SetProgramFolderForTesting(folder.path());
    auto server = std::make_unique<CatalogueServer>();
    const int port = server->bind(0);
    server->start();
    server.reset();
    qputenv("PEBBLO_CATALOGUE_HOST", QByteArray("127.0.0.1:") + QByteArray::number(port));
    {
        TfrmMain window;
        // Every page once, so that every pane has loaded its page.
        window.show();
        for (int page : {1, 2, 3, 6, 0})
            window.pcMain->setCurrentIndex(page);
        const QList<TBrowserPane*> panes = {
            window.WB_GameTreeList, window.WB_Right,  window.wb_advice,  window.wb_order,
            window.wbCurrent,       window.WB_search, window.WB_GameList};
        for (TBrowserPane* pane : panes) {
            SCOPED_TRACE(pane->objectName().toStdString());
            const QString address = pane->url().toString();
            EXPECT_TRUE(PageAnswerBecomes(
                pane, kText, [](const QString& text) { return text.contains(kNotice); }, 20000));
            // "重试" leads to the address that failed.
            EXPECT_TRUE(PageAnswerBecomes(
                pane, QStringLiteral("[...document.links].find(l => l.innerText == '重试')?.href"),
                [&](const QString& href) { return href == address; }, 5000));
        }

        server = std::make_unique<CatalogueServer>();
        ASSERT_EQ(server->bind(port), port);
        server->start();
        // The catalogue is asked again after pauses of a few seconds that grow.
        ASSERT_TRUE(PumpEventsUntil(
            [&] {
                return std::all_of(panes.begin(), panes.end(), [](TBrowserPane* pane) {
                    return pane->UnreachableAddress().isEmpty();
                });
            },
            40000));
        for (TBrowserPane* pane : panes) {
            SCOPED_TRACE(pane->objectName().toStdString());
            EXPECT_TRUE(PageAnswerBecomes(
                pane, kText,
                [](const QString& text) { return !text.isEmpty() && !text.contains(kNotice); },
                10000));
        }

        // A missing page is the server's answer, not the catalogue out of reach.
        window.WB_GameList->Navigate(
            QStringLiteral("http://127.0.0.1:%1/gamesoft/nothing.asp").arg(port));
        EXPECT_TRUE(PageAnswerBecomes(
            window.WB_GameList, kText,
            [](const QString& text) { return text.contains(QStringLiteral("Not found")); }, 10000));
        EXPECT_TRUE(window.WB_GameList->UnreachableAddress().isEmpty());
    }
    EXPECT_TRUE(messages.Errors.isEmpty() && messages.Plain.isEmpty());
    qunsetenv("PEBBLO_CATALOGUE_HOST");
    SetProgramFolderForTesting(QString());
}

} // namespace
