#pragma once

#include "common/failure.h"

#include <QString>
#include <functional>

// The text of the failure Action raises; "no failure" when it raises none, so that a test
// expecting a failure can never pass on an empty text.
inline QString FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EFailure& failure) {
        return failure.Message();
    }
    return QStringLiteral("no failure");
}
