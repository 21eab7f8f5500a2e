// A confined pane against a real page over loopback: it shows its own site and nothing else.
// Another site's link goes to the desktop's browser, other schemes and scripted moves go
// nowhere, windows a page opens follow the same rule, and nothing a page asks of the machine is
// granted or saved.
#include "platform/browser_pane.h"
#include "platform/navigation_policy.h"
#include "platform/web_profile.h"
#include "support/pump_events.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <gtest/gtest.h>
#include <httplib.h>
#include <thread>

namespace {

// Stands in for the desktop's browser.
class TDesktopBrowser : public QObject {
    Q_OBJECT
public:
    TDesktopBrowser() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open"); }
    ~TDesktopBrowser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& url) { Opened.append(url); }
};

class TSite {
public:
    TSite() {
        // A link to another site, and a button that opens a window of it, where a test clicks.
        FServer.Get("/", [this](const httplib::Request&, httplib::Response& response) {
            const std::string elsewhere = "http://localhost:" + std::to_string(FPort);
            response.set_content(
                "<title>home</title><body style=\"margin:0\">"
                "<a href=\"" +
                    elsewhere +
                    "/elsewhere\" style=\"position:absolute; left:0;"
                    " top:0; width:300px; height:40px\">out</a>"
                    "<button onclick=\"window.open('" +
                    elsewhere +
                    "/popup')\""
                    " style=\"position:absolute; left:0; top:60px; width:300px; height:40px\">"
                    "pop</button></body>",
                "text/html");
        });
        FServer.Get("/own", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<title>own</title>", "text/html");
        });
        FServer.Get("/file", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("saved?", "application/octet-stream");
        });
        FPort = FServer.bind_to_any_port("127.0.0.1");
        FThread = std::thread([this] { FServer.listen_after_bind(); });
    }
    ~TSite() {
        FServer.stop();
        FThread.join();
    }
    QString Site() const { return QStringLiteral("127.0.0.1:%1").arg(FPort); }
    // The same server under another name: another site.
    QString Elsewhere(const char* path) const {
        return QStringLiteral("http://localhost:%1%2").arg(FPort).arg(QLatin1String(path));
    }

private:
    httplib::Server FServer;
    int FPort = 0;
    std::thread FThread;
};

class PaneConfinement : public ::testing::Test {
protected:
    void SetUp() override {
        FPane.resize(400, 300);
        FPane.show();
        FPane.ConfineTo(FSite.Site());
        FPane.Navigate(QStringLiteral("http://%1/").arg(FSite.Site()));
        ASSERT_TRUE(PumpEventsUntil([&] { return FPane.title() == QLatin1String("home"); }, 20000));
    }

    // Runs Script in the page, then lets the engine act on what it asked for.
    void Run(const QString& script) {
        bool ran = false;
        FPane.page()->runJavaScript(script, [&ran](const QVariant&) { ran = true; });
        ASSERT_TRUE(PumpEventsUntil([&] { return ran; }));
    }

    // A left click at Point as the user makes it.
    void Click(QPoint point) {
        QWidget* target = FPane.focusProxy();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, point, target->mapToGlobal(point), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
    }

    TSite FSite;
    TDesktopBrowser FBrowser;
    TBrowserPane FPane{QStringLiteral("WB_GameList")};
};

TEST(NavigationPolicy, OnlyTheSiteIsShownAnotherWebAddressOnlyWhenTheUserChoseIt) {
    const QString site = QStringLiteral("Game.Pebblo.example:8080");
    const auto judge = [&](const char* url, bool chose) {
        return JudgeNavigation(QUrl(QLatin1String(url)), site, chose);
    };
    using enum TNavigationVerdict;
    EXPECT_EQ(judge("http://game.pebblo.example:8080/gamesoft/left.asp", false), Allow);
    EXPECT_EQ(judge("https://GAME.pebblo.example:8080/x", true), Allow);
    EXPECT_EQ(judge("about:blank", false), Allow);
    EXPECT_EQ(judge("http://game.pebblo.example/x", true), OpenOutside);
    EXPECT_EQ(judge("http://game.pebblo.example.evil.example:8080/", true), OpenOutside);
    EXPECT_EQ(judge("http://elsewhere.example/", false), Refuse);
    for (const char* scheme : {"file:///etc/passwd", "data:text/html,x", "javascript:alert(1)",
                               "view-source:http://game.pebblo.example:8080/", "chrome://gpu",
                               "ftp://game.pebblo.example:8080/"})
        EXPECT_EQ(judge(scheme, true), Refuse) << scheme;
    // Without a port the site's own port is the address's default.
    EXPECT_EQ(JudgeNavigation(QUrl(QStringLiteral("https://a.example/")),
                              QStringLiteral("a.example"), false),
              Allow);
}

TEST_F(PaneConfinement, AnotherSiteOpensOutsideOnlyAtTheUsersClickAndNothingElseLeaves) {
    // Moves the page makes by itself, or to what is not the web: refused, nothing is opened.
    for (const QString& script :
         {QStringLiteral("location.href = '%1';").arg(FSite.Elsewhere("/moved")),
          QStringLiteral("window.open('%1');").arg(FSite.Elsewhere("/unasked")),
          QStringLiteral("const b = document.createElement('a'); b.href = 'file:///etc/passwd';"
                         "document.body.append(b); b.click();"),
          QStringLiteral("location.href = 'data:text/html,<title>data</title>';")})
        Run(script);
    // A window of its own site opens in the pane itself.
    Run(QStringLiteral("window.open('/own');"));
    ASSERT_TRUE(PumpEventsUntil([&] { return FPane.title() == QLatin1String("own"); }, 20000));
    EXPECT_TRUE(FBrowser.Opened.isEmpty());

    FPane.Navigate(QStringLiteral("http://%1/").arg(FSite.Site()));
    ASSERT_TRUE(PumpEventsUntil([&] { return FPane.title() == QLatin1String("home"); }, 20000));
    // The user's click on a link, or on a button that opens a window, of another site: the
    // desktop's browser shows it, the pane stays.
    Click(QPoint(20, 20));
    ASSERT_TRUE(PumpEventsUntil([&] { return FBrowser.Opened.size() == 1; }));
    Click(QPoint(20, 80));
    ASSERT_TRUE(PumpEventsUntil([&] { return FBrowser.Opened.size() == 2; }));
    EXPECT_EQ(FBrowser.Opened,
              (QList<QUrl>{QUrl(FSite.Elsewhere("/elsewhere")), QUrl(FSite.Elsewhere("/popup"))}));
    EXPECT_EQ(FPane.title(), QLatin1String("home"));
}

TEST_F(PaneConfinement, NothingThePageAsksOfTheMachineIsGrantedOrSaved) {
    // Unanswered, the request would stay pending and the title would never change.
    Run(QStringLiteral("Notification.requestPermission().then(p => document.title = p);"));
    EXPECT_TRUE(PumpEventsUntil([&] { return FPane.title() == QLatin1String("denied"); }));

    QWebEngineDownloadRequest* download = nullptr;
    QObject::connect(SharedWebProfile(), &QWebEngineProfile::downloadRequested,
                     [&download](QWebEngineDownloadRequest* request) { download = request; });
    Run(QStringLiteral("const d = document.createElement('a'); d.href = '/file';"
                       "d.download = 'x.bin'; document.body.append(d); d.click();"));
    ASSERT_TRUE(PumpEventsUntil([&] { return download != nullptr; }));
    EXPECT_EQ(download->state(), QWebEngineDownloadRequest::DownloadCancelled);
}

} // namespace

#include "pane_confinement_test.moc"
