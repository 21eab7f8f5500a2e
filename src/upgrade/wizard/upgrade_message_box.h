#pragma once

#include <QString>

// Buttons, icon and modality of an upgrade message box, combined with "|".
enum TMessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_SYSTEMMODAL = 0x1000,
};

// The button that closed an upgrade message box.
enum TMessageBoxResult : int { IDOK = 1, IDYES = 6, IDNO = 7 };

// A modal message box that is no window's child, so that whatever window goes away while it is
// open cannot take it along; while the progress window is open, it is owned by it and above it. Its
// buttons are worded from the current message block; a box with Yes and No answers No to Escape.
// The text is shown as plain text, whatever it holds.
TMessageBoxResult UpgradeMessageBox(const QString& caption, const QString& text, unsigned flags);

// The component's notices: message 0 as caption.
TMessageBoxResult ShowUpgradeMessageBox(const QString& text, unsigned flags);
TMessageBoxResult ShowUpgradeMessageById(int n, unsigned flags);
