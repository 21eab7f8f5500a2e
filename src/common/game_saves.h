#pragma once

#include <QMap>
#include <QString>

// A game's saved data: its Flash SharedObjects by name, each as the player stores it (the
// object's .sol bytes in base64).
using TGameSaves = QMap<QString, QString>;
