#pragma once

#include "common/failure.h"
#include "common/message_boxes.h"

#include <exception>

// Every event handler runs through this: a failure ends the handler and reaches the standard
// error report, and the application goes on.
template <typename Handler> void RunHandler(Handler&& handler) {
    try {
        handler();
    } catch (const EFailure& failure) {
        ShowStandardError(failure.Message());
    } catch (const std::exception& failure) {
        ShowStandardError(QString::fromUtf8(failure.what()));
    }
}
