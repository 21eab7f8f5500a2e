#pragma once

#include "common/message_boxes.h"

#include <QStringList>

// Collects the message boxes a test provokes instead of showing them.
class TRecordedMessages {
public:
    TRecordedMessages() {
        SetMessageSinkForTesting([this](TMessageKind kind, const QString& text) {
            (kind == TMessageKind::Error ? Errors : Plain).append(text);
        });
    }
    ~TRecordedMessages() { SetMessageSinkForTesting({}); }
    TRecordedMessages(const TRecordedMessages&) = delete;
    TRecordedMessages& operator=(const TRecordedMessages&) = delete;

    QStringList Errors;
    QStringList Plain;
};
