#pragma once

#include <QString>

// Number and truth-value texts as the settings and the game records write them. Both fail with
// an EFailure naming the text when it does not convert.

// Leading blanks and a sign are accepted; digits are decimal, or hexadecimal after "$", "x",
// "X" or "0x"; nothing may follow the digits; the value must fit 32 signed bits.
int StrToInt(const QString& text);

// A number (0 is false, anything else true) or "True"/"False" in any letter case.
bool StrToBool(const QString& text);
