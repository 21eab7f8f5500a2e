#pragma once

#include <QString>

// The user's settings as key/value elements under the root of "config.xml" (GB2312). Every
// operation works on the file itself: load, act, save when changed; nothing is cached.
class TConfigManager {
public:
    static void SetConfigFilePath(const QString& path);
    static QString ConfigFilePath();

    // Creates the file with an empty "configuration" root when it does not exist.
    static void EnsureConfigFile();
    // The text of the first element whose name matches Key, empty when none does.
    static void ReadValue(const QString& key, QString& value);
    // Replaces the first matching element's text, or appends an element named Key.
    static void WriteValue(const QString& key, const QString& value);
};
