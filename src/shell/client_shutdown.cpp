#include "shell/client_shutdown.h"

#include "platform/ui_dispatcher.h"
#include "shell/download_worker.h"
#include "shell/main_window.h"

bool CloseClient(std::unique_ptr<TfrmMain>& window, TUiDispatcher& dispatcher,
                 std::chrono::milliseconds patience) {
    dispatcher.ShutDown();
    if (!TThread1::AbandonAll(patience))
        return false;
    window.reset();
    return true;
}
