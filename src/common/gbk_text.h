#pragma once

#include <QByteArray>
#include <QString>

// The catalogue, the game records and the configuration file speak code page 936.
QString FromGbk(const QByteArray& bytes);
QByteArray ToGbk(const QString& text);
