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
    if (GameLoaded())
        frmFullScreen->EnterFullScreen();
}
