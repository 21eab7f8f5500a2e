#include "platform/flash_player.h"

#include "common/program_folder.h"
#include "platform/page_permissions.h"
#include "platform/player_cover.h"
#include "platform/web_profile.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQuickWidget>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <malloc.h>

namespace {

const QString kWordPrefix = QStringLiteral("pebblo:");
// Where the host page says it is, whichever folder the program lies in. Ruffle keys a game's
// saved data by the page's address and the game's name (player.html, savePrefix), so the saves
// stay the game's when the program folder moves.
const QUrl kHostAddress(QStringLiteral("file:///pebblo/games/player.html"));

// The host page tells the view what happened (a movie is in, a frame is drawn) through console
// lines of its own, "pebblo:" and a word. The view shows that page and nothing else: a game
// may fetch what it needs, but never takes the view elsewhere or opens a window.
class TPlayerPage : public QWebEnginePage {
public:
    TPlayerPage(std::function<void(const QString&)> onWord, QObject* parent)
        : QWebEnginePage(SharedWebProfile(), parent), FOnWord(std::move(onWord)) {
        // A game may hold the pointer; nothing else of the machine is granted.
        RefusePermissionRequests(*this, {MouseLock});
    }

    // The host page is shown from its text, which the engine hands over as a data: address,
    // under the stable address; that one navigation is the page's only one.
    void ShowHostPage(const QString& html) {
        FShowingHostPage = true;
        setHtml(html, kHostAddress);
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool mainFrame) override {
        if (!mainFrame)
            return true;
        return std::exchange(FShowingHostPage, false) && url.scheme() == QLatin1String("data");
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
    bool FShowingHostPage = false;
    std::function<void(const QString&)> FOnWord;
};

QString SizeWord(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// The name a game's saves are kept under: its file's name, in small letters as names match
// without regard to case.
QString SaveName(const QString& path) {
    return QFileInfo(path).fileName().toLower();
}

// The host page with a base address beside Ruffle, which it loads and which loads its chunks.
QString HostPageText() {
    const QString folder = ProgramFolder() + QStringLiteral("ruffle/");
    QFile file(folder + QStringLiteral("player.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("The Flash player page %s cannot be read", qPrintable(file.fileName()));
        return {};
    }
    const QString base =
        QStringLiteral("<head><base href=\"%1\">")
            .arg(QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded).toHtmlEscaped());
    return QString::fromUtf8(file.readAll()).replace(QStringLiteral("<head>"), base);
}

QString JsString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

} // namespace

TFlashPlayer::TFlashPlayer(QWidget* parent) : QWebEngineView(parent) {
    setObjectName(QStringLiteral("swfPlay"));
    auto* page = new TPlayerPage([this](const QString& word) { OnPageWord(word); }, this);
    // Qt 6.4 offers no scheme flag that lets fetch() read a scheme of our own, and Ruffle
    // fetches its wasm; the page reads the games. So Ruffle and the games come from file://,
    // with local file access allowed, and the page's own address is a file:// one too.
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    page->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    setPage(page);
    connect(page, &QWebEnginePage::loadFinished, this, &TFlashPlayer::OnPageLoaded);
    page->ShowHostPage(HostPageText());
    FCover = new TPlayerCover(this);
}

void TFlashPlayer::SetMovie(const QString& path) {
    FMovie = path;
    if (path.isEmpty())
        Run(QStringLiteral("pebblo.unload()"));
    else
        Run(QStringLiteral("pebblo.load(%1, %2)")
                .arg(JsString(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)),
                     JsString(SaveName(path))));
}

void TFlashPlayer::ReadSaves(std::function<void(const TGameSaves&)> answer) {
    if (FMovie.isEmpty()) {
        answer({});
        return;
    }
    Run(QStringLiteral("pebblo.saves(%1)").arg(JsString(SaveName(FMovie))),
        [answer = std::move(answer)](const QVariant& result) {
            TGameSaves saves;
            const QVariantMap stored = result.toMap();
            for (auto save = stored.begin(); save != stored.end(); ++save)
                saves.insert(save.key(), save.value().toString());
            answer(saves);
        });
}

void TFlashPlayer::WriteSaves(const TGameSaves& saves) {
    if (FMovie.isEmpty())
        return;
    QJsonObject stored;
    for (auto save = saves.begin(); save != saves.end(); ++save)
        stored.insert(save.key(), save.value());
    Run(QStringLiteral("pebblo.restoreSaves(%1, %2)")
            .arg(JsString(SaveName(FMovie)),
                 QString::fromUtf8(QJsonDocument(stored).toJson(QJsonDocument::Compact))));
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
        qWarning("The Flash player page did not load");
        return;
    }
    FPageReady = true;
    for (TCommand& command : std::exchange(FPending, {}))
        Run(command.script, std::move(command.answer));
}

void TFlashPlayer::OnPageWord(const QString& word) {
    if (word == QLatin1String("loaded"))
        OnMovieLoaded();
    else if (word == QLatin1String("saves stored") || word == QLatin1String("saves refused"))
        emit SavesWritten(word == QLatin1String("saves stored"));
    else if (word == QStringLiteral("drawn ") + SizeWord(size()))
        UncoverOnceShown();
    else if (word.startsWith(QLatin1String("failed ")))
        OnMovieFailed(word);
}

// "failed KIND", then the player's words on the lines below.
void TFlashPlayer::OnMovieFailed(const QString& word) {
    if (FMovie.isEmpty())
        return;
    const bool unreadable =
        word.section(QLatin1Char('\n'), 0, 0) == QLatin1String("failed unreadable");
    emit MovieFailed(unreadable ? TMovieFailure::Unreadable : TMovieFailure::Crashed,
                     word.section(QLatin1Char('\n'), 1));
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
