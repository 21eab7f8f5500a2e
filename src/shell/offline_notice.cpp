#include "shell/offline_notice.h"

QString CatalogueUnreachablePage(const QUrl& failedAddress) {
    // The side panes are some 150 pixels wide: there the page keeps only its heading, broken
    // between its two phrases, and the button, in smaller type.
    return QStringLiteral(
               "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
               "body { font-family: sans-serif; margin: 48px; color: #333; }"
               "h1 { font-size: 18px; word-break: keep-all; }"
               "p { font-size: 14px; line-height: 1.6; }"
               "a.retry { display: inline-block; padding: 4px 20px; border: 1px solid #999;"
               " border-radius: 3px; background: #f2f2f2; color: #222; text-decoration: none; }"
               "@media (max-width: 320px) {"
               " body { margin: 10px 8px; } h1 { font-size: 14px; line-height: 1.5; }"
               " p { font-size: 12px; } .wide { display: none; } }"
               "</style></head><body>"
               "<h1>暂时无法连接<wbr>到游戏网站</h1>"
               "<p class=\"wide\">请检查网络连接，稍后再试。网络恢复后，页面会自动刷新。</p>"
               "<p class=\"wide\">玩过的游戏都保存在本机，不用联网，在“本地游戏”中就能继续玩。</p>"
               "<p><a class=\"retry\" href=\"%1\">重试</a></p>"
               "</body></html>")
        .arg(failedAddress.toString(QUrl::FullyEncoded).toHtmlEscaped());
}
