#include "platform/flash_player.h"

#include "common/program_folder.h"
#include "platform/page_permissions.h"
#include "platform/player_cover.h"
#include "platform/web_profile.h"

#include <QEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QQuickWidget>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <malloc.h>

namespace {

const QString kWordPrefix = QStringLiteral("pebblo:");

// The host page tells the view what happened (a movie is in, a frame is drawn) through console
// lines of its own, "pebblo:" and a word. The view shows that page and nothing else: a game
// may fetch what it needs, but never takes the view elsewhere or opens a window.
class TPlayerPage : public QWebEnginePage {
public:
    TPlayerPage(QUrl hostPage, std::function<void(const QString&)> onWord, QObject* parent)
        : QWebEnginePage(SharedWebProfile(), parent), FHostPage(std::move(hostPage)),
          FOnWord(std::move(onWord)) {
        // A game may hold the pointer; nothing else of the machine is granted.
        RefusePermissionRequests(*this, {MouseLock});
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool mainFrame) override {
        return !mainFrame || url == FHostPage;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override {
        if (message.startsWith(kWordPrefix))
            FOnWord(message.mid(kWordPrefix.size()));
        else
            QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
    }

private:
    QUrl FHostPage;
    std::function<void(const QString&)> FOnWord;
};

QString SizeWord(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString JsString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace

TFlashPlayer::TFlashPlayer(QWidget* parent) : QWebEngineView(parent) {
    setObjectName(QStringLiteral("swfPlay"));
    const QUrl hostPage =
        QUrl::fromLocalFile(ProgramFolder() + QStringLiteral("ruffle/player.html"));
    auto* page = new TPlayerPage(
        hostPage, [this](const QString& word) { OnPageWord(word); }, this);
    // Qt 6.4 offers no scheme flag that lets fetch() read a scheme of our own, and Ruffle
    // fetches its wasm and the movie. So the host page, Ruffle and the games all come from
    // file:// with local file access allowed. A game's address is then its file's, the same
    // from one run to the next, which keeps its saved data (stored per movie address) in the
    // persistent profile.
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    setPage(page);
    connect(page, &QWebEnginePage::loadFinished, this, &TFlashPlayer::OnPageLoaded);
    page->setUrl(hostPage);
    FCover = new TPlayerCover(this);
}

void TFlashPlayer::SetMovie(const QString& path) {
    FMovie = path;
    if (path.isEmpty())
        Run(QStringLiteral("pebblo.unload()"));
    else
        Run(QStringLiteral("pebblo.load(%1)")
                .arg(JsString(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded))));
}

void TFlashPlayer::Play() {
    Run(QStringLiteral("pebblo.play()"));
}

void TFlashPlayer::Stop() {
    Run(QStringLiteral("pebblo.stop()"));
}

// The Flash control's two ways of halting differ in nothing a caller here can see.
void TFlashPlayer::StopPlay() {
    Stop();
}

void TFlashPlayer::QueryState(std::function<void(const TFlashPlayerState&)> answer) {
    Run(QStringLiteral("pebblo.state()"), [answer = std::move(answer)](const QVariant& result) {
        const QVariantMap state = result.toMap();
        answer({state.value(QStringLiteral("url")).toString(),
                state.value(QStringLiteral("loaded")).toBool(),
                state.value(QStringLiteral("playing")).toBool(),
                state.value(QStringLiteral("focused")).toBool()});
    });
}

void TFlashPlayer::Run(const QString& script, std::function<void(const QVariant&)> answer) {
    if (!FPageReady) {
        FPending.push_back({script, std::move(answer)});
        return;
    }
    if (answer)
        page()->runJavaScript(script, std::move(answer));
    else
        page()->runJavaScript(script);
}

void TFlashPlayer::OnPageLoaded(bool ok) {
    if (!ok) {
        qWarning("The Flash player page %s did not load", qPrintable(url().toString()));
        return;
    }
    FPageReady = true;
    for (TCommand& command : std::exchange(FPending, {}))
        Run(command.script, std::move(command.answer));
}

void TFlashPlayer::OnPageWord(const QString& word) {
    if (word == QLatin1String("loaded"))
        OnMovieLoaded();
    else if (word == QStringLiteral("drawn ") + SizeWord(size()))
        UncoverOnceShown();
}

// Qt WebEngine 6.4 shows the page's frames through a Quick widget, the view's focus proxy;
// without one there is nothing to wait for.
void TFlashPlayer::UncoverOnceShown() {
    if (auto* frames = qobject_cast<QQuickWidget*>(focusProxy()))
        FCover->UncoverAfterTwoFrames(frames->quickWindow());
    else
        FCover->Uncover();
}

void TFlashPlayer::OnMovieLoaded() {
    GiveKeyboard();
    // The game before has been let go of by now; what the allocator kept of it goes back to the
    // system instead of staying with the process for good.
    malloc_trim(0);
    emit MovieLoaded();
}

// No pointer event reaches the movie, so no start button or menu item under the pointer is
// pressed.
void TFlashPlayer::GiveKeyboard() {
    if (!isVisible())
        return;
    setFocus(Qt::OtherFocusReason);
    Run(QStringLiteral("pebblo.focus()"));
}

// Chromium shows the last frame of the old size in a corner until the page has drawn at the
// new one: a movie moved into another window would start there small, or blank.
bool TFlashPlayer::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange && !FMovie.isEmpty()) {
        FCover->Cover();
        AskWhenDrawn();
    }
    return QWebEngineView::event(event);
}

void TFlashPlayer::resizeEvent(QResizeEvent* event) {
    QWebEngineView::resizeEvent(event);
    FCover->setGeometry(rect());
    if (FCover->Covering())
        AskWhenDrawn();
}

void TFlashPlayer::AskWhenDrawn() {
    Run(QStringLiteral("pebblo.reportDrawnAt(%1, %2)").arg(width()).arg(height()));
}
