#pragma once

#include <QSqlError>
#include <QString>

// A refused statement reaches the user with the engine's own message ("UNIQUE constraint
// failed: flash.id", "no such table: flash").
[[noreturn]] void ThrowSqlFailure(const QSqlError& error);
