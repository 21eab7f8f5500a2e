#include "shell/game_failure_text.h"

#include "platform/http_client.h"

QString GameFailureText(const EHttpFailure& failure, bool record) {
    const QString thing = record ? QStringLiteral("游戏信息") : QStringLiteral("游戏文件");
    switch (failure.Kind()) {
    case THttpFailureKind::Status:
        if (failure.Status() == 404 || failure.Status() == 410)
            return QStringLiteral("游戏网站上找不到这个%1，它可能已被移走。").arg(thing);
        return QStringLiteral("游戏网站暂时出错（%1），请稍后再试。").arg(failure.Status());
    case THttpFailureKind::Unreachable:
        return QStringLiteral("无法连接到游戏网站，请检查网络连接后再试。");
    case THttpFailureKind::CutOff:
        return QStringLiteral("与游戏网站的连接中断了，%1没有下载完整，请再试一次。").arg(thing);
    case THttpFailureKind::Local:
        break;
    }
    return QStringLiteral("%1无法保存到本机，请检查磁盘空间后再试。").arg(thing);
}

QString UnreadableRecordText() {
    return QStringLiteral("游戏网站发来的游戏信息不完整或格式不对，无法打开这个游戏。");
}

QString EmptyGameFileText() {
    return QStringLiteral("游戏网站上的这个游戏文件是空的，无法玩这个游戏。");
}
