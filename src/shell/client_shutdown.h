#pragma once

#include <chrono>
#include <memory>

class TfrmMain;
class TUiDispatcher;

// Ends the client in the one safe order: running downloads are told to stop and hand nothing
// more to the window, then the window goes. False when a download did not end within Patience;
// the window is then left alone, since that download may still reach for it.
bool CloseClient(std::unique_ptr<TfrmMain>& window, TUiDispatcher& dispatcher,
                 std::chrono::milliseconds patience);
