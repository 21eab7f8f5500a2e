#pragma once

#include <QString>
#include <functional>

class QMessageBox;

enum class TMessageKind { Plain, Error };

// The application's standard error report: error icon, application title as caption, and a
// full stop added when the text's last character sorts after ".".
void ShowStandardError(const QString& failureText);
QString StandardErrorText(const QString& failureText);

// A plain message box with the application title as caption, for failures the user's action
// expects (a failed request, a refused insert) and for notices.
void ShowPlainMessage(const QString& text);

// Makes Box, once its text and buttons are set, wide enough for the window manager to show its
// whole caption.
void KeepCaptionWhole(QMessageBox& box);

// Tests see every message box here instead of a modal window.
using TMessageSink = std::function<void(TMessageKind, const QString&)>;
void SetMessageSinkForTesting(TMessageSink sink);
