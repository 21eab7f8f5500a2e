#pragma once

#include "common/game_saves.h"

#include <QWebEngineView>
#include <functional>
#include <vector>

class TPlayerCover;

// What the player itself reports about its movie, for callers that must wait on it.
struct TFlashPlayerState {
    QString url;         // the file address being played, empty when none
    bool loaded = false; // the movie is in and showing
    bool playing = false;
    bool focused = false; // the movie has the page's keyboard focus
};

// Why a movie stopped short: the player could not read the file, or failed while running it.
enum class TMovieFailure { Unreadable, Crashed };

// The Flash player control "swfPlay": a browser view hosting Ruffle, the WebAssembly Flash
// player, from the program folder's "ruffle/". It loads a SWF file by path, plays and halts it,
// keeps each game's saved data under the game's name (not its folder's), and may be moved into
// another window without reloading. Commands given while its page is still loading are kept
// and carried out in order once it is ready.
class TFlashPlayer : public QWebEngineView {
    Q_OBJECT
public:
    explicit TFlashPlayer(QWidget* parent = nullptr);

    // The full path of the loaded SWF file, empty when none; set at once, before Ruffle has it.
    QString Movie() const { return FMovie; }
    // Loads the SWF file at Path and starts it; an empty text unloads the movie.
    void SetMovie(const QString& path);
    void Play();
    void Stop();
    void StopPlay();

    // The loaded game's saved data; none when no game is loaded.
    void ReadSaves(std::function<void(const TGameSaves&)> answer);
    // Ends the loaded game and stores Saves as its saved data, replacing objects of the same
    // names, then says SavesWritten; the caller loads the game again to play on with them.
    void WriteSaves(const TGameSaves& saves);

    // Asks Ruffle, after every command given so far, what it is playing.
    void QueryState(std::function<void(const TFlashPlayerState&)> answer);

    // The game takes the arrows and space at once: the view gets the window's focus and the
    // movie the page's. Done at every load, and wherever the view moves to play on.
    void GiveKeyboard();

signals:
    // Ruffle has the movie in; emitted after the movie has been given the keyboard.
    void MovieLoaded();
    // The movie loaded last could not be read or stopped on an error; Detail is the player's own
    // account. The next movie loads as usual.
    void MovieFailed(TMovieFailure failure, const QString& detail);
    // Saves given to WriteSaves are stored, or none of them is (the browser's storage is full).
    void SavesWritten(bool stored);

protected:
    // Moved into another window, the view stays black until its page has drawn the movie at
    // its new size.
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Run(const QString& script, std::function<void(const QVariant&)> answer = {});
    void OnPageLoaded(bool ok);
    void OnPageWord(const QString& word);
    void OnMovieLoaded();
    void OnMovieFailed(const QString& word);
    void AskWhenDrawn();
    void UncoverOnceShown();

    TPlayerCover* FCover = nullptr;
    QString FMovie;
    bool FPageReady = false;
    struct TCommand {
        QString script;
        std::function<void(const QVariant&)> answer;
    };
    std::vector<TCommand> FPending;
};
