#include "shell/offline_notice.h"

QString CatalogueUnreachablePage() {
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
                          "body { font-family: sans-serif; margin: 48px; color: #333; }"
                          "h1 { font-size: 18px; } p { font-size: 14px; line-height: 1.6; }"
                          "</style></head><body>"
                          "<h1>暂时无法连接到游戏网站</h1>"
                          "<p>请检查网络连接，稍后再试。</p>"
                          "<p>玩过的游戏都保存在本机，不用联网，在“本地游戏”中就能继续玩。</p>"
                          "</body></html>");
}
