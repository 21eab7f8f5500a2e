#pragma once

#include <QString>

// Texts of the upgrade windows beyond the component's numbered string table, which they leave
// as it is: in each of its 29 languages, chosen as the numbered messages are.
enum TExtraUpgradeMessage {
    kSkipVersionCaption, // the question's button that skips the offered version
    kDownloadSize,       // the question's line with the total size, "%.1f" megabytes
    kExtraMessageCount,
};

QString LoadExtraUpgradeMessage(TExtraUpgradeMessage message);
