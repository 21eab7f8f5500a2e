// Full-screen play: the player moves into the full-screen window and back.
#include "fullscreen/full_screen_window.h"
#include "platform/flash_player.h"
#include "shell/main_window.h"

#include <QCheckBox>

void TfrmMain::CreateFullScreenWindow() {
    frmFullScreen =
        std::make_unique<TfrmFullScreen>(TFullScreenParts{this, swfPlay, Panel3, chk_Closehotkey});
}

void TfrmMain::btnFullScreenClick() {
    if (!GameLoaded())
        return;
    frmFullScreen->EnterFullScreen();
    // Whatever had the keyboard before (a game that started while the window was hidden never
    // got it), the game has it on the full screen at once, without a click.
    swfPlay->GiveKeyboard();
}
