#pragma once

#include <QString>
#include <initializer_list>
#include <variant>

// One value for a placeholder of an upgrade message: a number for %d and %f, a text for %s.
using TMessageArgument = std::variant<qint64, double, QString>;

// Fills the placeholders of Format from Arguments, in order: %d, %f and %s with the usual flags,
// width and precision ("%.1f" one decimal, "%.2d" at least two digits), and %% for a percent
// sign. Only our own message table is ever a format; a file name or a server's text is an
// argument and is copied as it stands. A placeholder left without an argument comes out empty;
// any other conversion is copied as written.
QString FormatMessageText(const QString& format, std::initializer_list<TMessageArgument> arguments);

// Message n of the current block, filled with Arguments.
QString FormatUpgradeMessage(int n, std::initializer_list<TMessageArgument> arguments);
