// Qt's own texts in the client: the panes' context menu and the message boxes' buttons read as
// Qt's Chinese translation words them, and the menu offers what a player needs only.
#include "common/application_title.h"
#include "common/message_boxes.h"
#include "platform/browser_pane.h"
#include "platform/qt_translations.h"
#include "support/pump_events.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QWebEnginePage>
#include <gtest/gtest.h>

namespace {

// Source as Qt's own Chinese file translates it; empty when the file is missing.
QString QtChinese(const char* file, const char* context, const char* source) {
    QTranslator translator;
    if (!translator.load(QLatin1String(file), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return {};
    return translator.translate(context, source);
}

class QtChineseTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadQtTranslations(); }
};

// A right click at Point as the user makes it; the menu it opens, or null.
QMenu* RightClick(TBrowserPane& pane, QPoint point) {
    QWidget* target = pane.focusProxy();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, target->mapToGlobal(point), Qt::RightButton,
                          type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    QMenu* menu = nullptr;
    PumpEventsUntil(
        [&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())); });
    return menu;
}

QList<QAction*> ActionsOf(QMenu* menu) {
    QList<QAction*> actions;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator())
            actions.append(action);
    }
    menu->close();
    return actions;
}

TEST_F(QtChineseTexts, APanesMenuMovesAboutAndCopiesAndNothingMore) {
    TBrowserPane pane(QStringLiteral("WB_GameList"));
    pane.resize(400, 300);
    pane.show();
    bool loaded = false;
    QObject::connect(pane.page(), &QWebEnginePage::loadFinished,
                     [&loaded](bool ok) { loaded = ok; });
    pane.setHtml(QStringLiteral(
        "<body style=\"margin:0\"><p>游戏列表</p><a href=\"http://127.0.0.1/game\""
        " style=\"position:absolute; left:0; top:150px; width:400px; height:50px\">游戏</a>"));
    ASSERT_TRUE(PumpEventsUntil([&] { return loaded; }, 20000));
    QWebEnginePage* page = pane.page();
    const QList<QAction*> moving = {page->action(QWebEnginePage::Back),
                                    page->action(QWebEnginePage::Forward),
                                    page->action(QWebEnginePage::Reload)};

    // The engine offers to save the page and to show its source as well.
    QMenu* onPage = RightClick(pane, QPoint(200, 60));
    ASSERT_NE(onPage, nullptr);
    EXPECT_EQ(ActionsOf(onPage), moving);
    for (const auto& [action, english] : {std::pair{QWebEnginePage::Back, "Back"},
                                          {QWebEnginePage::Forward, "Forward"},
                                          {QWebEnginePage::Reload, "Reload"}}) {
        const QString chinese = QtChinese("qtwebengine_zh_CN", "RenderViewContextMenuQt", english);
        ASSERT_FALSE(chinese.isEmpty()) << english;
        EXPECT_EQ(page->action(action)->text(), chinese);
    }

    // And to open the link in a new tab or window, and to save it.
    QMenu* onLink = RightClick(pane, QPoint(200, 175));
    ASSERT_NE(onLink, nullptr);
    EXPECT_EQ(ActionsOf(onLink),
              moving + QList<QAction*>{page->action(QWebEnginePage::CopyLinkToClipboard)});
}

TEST_F(QtChineseTexts, AMessageBoxShowsItsWholeCaptionAndQtsChineseButton) {
    QString button;
    int width = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            button = box->button(QMessageBox::Ok)->text();
            width = box->width();
            box->accept();
        }
    });
    closer.start(20);
    ShowPlainMessage(QStringLiteral("保存成功"));

    const QString ok = QtChinese("qtbase_zh_CN", "QPlatformTheme", "OK");
    ASSERT_FALSE(ok.isEmpty());
    EXPECT_EQ(button, ok);
    // A title bar shows the caption in a bold title font beside the window's icon and buttons.
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    EXPECT_GT(width, QFontMetrics(titleFont).horizontalAdvance(ApplicationTitle()) + 100);
}

} // namespace
