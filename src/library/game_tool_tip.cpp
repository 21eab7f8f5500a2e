#include "library/game_tool_tip.h"

#include <QStringList>

namespace {

QString DurationText(qint64 seconds) {
    const qint64 minutes = seconds / 60;
    if (minutes == 0)
        return QStringLiteral("不到 1 分钟");
    if (minutes < 60)
        return QStringLiteral("%1 分钟").arg(minutes);
    return minutes % 60 == 0
               ? QStringLiteral("%1 小时").arg(minutes / 60)
               : QStringLiteral("%1 小时 %2 分钟").arg(minutes / 60).arg(minutes % 60);
}

} // namespace

QString GameToolTip(const TLibraryGame& game, const TGameDetails* details) {
    QStringList lines{game.Name};
    if (game.StoredAt != 0)
        lines.append(QStringLiteral("加入时间：") + PackedTimeText(game.StoredAt));
    if (details && details->PlayCount > 0) {
        lines.append(QStringLiteral("最近玩过：") + PackedTimeText(details->LastPlayed));
        lines.append(QStringLiteral("玩过 %1 次，共 %2")
                         .arg(details->PlayCount)
                         .arg(DurationText(details->SecondsPlayed)));
    } else {
        lines.append(QStringLiteral("还没有玩过的记录"));
    }
    return QStringLiteral("<p style='white-space:pre'>") +
           lines.join(QLatin1Char('\n')).toHtmlEscaped() + QStringLiteral("</p>");
}
