#include "shell/game/picture_kinds.h"

#include "shell/game/file_ext.h"

#include <algorithm>
#include <array>

bool IsAcceptedPictureExt(const QString& ext) {
    static const std::array<QString, 4> accepted{QStringLiteral(".gif"), QStringLiteral(".jpg"),
                                                 QStringLiteral(".bmp"), QStringLiteral(".png")};
    return std::find(accepted.begin(), accepted.end(), ext) != accepted.end();
}

bool IsAcceptedPictureContent(const QByteArray& content) {
    static const std::array<QByteArray, 4> signatures{
        QByteArrayLiteral("BM"), QByteArrayLiteral("\xFF\xD8"), QByteArrayLiteral("GI"),
        QByteArrayLiteral("\x89\x50")};
    const QByteArray head = content.left(2);
    return std::find(signatures.begin(), signatures.end(), head) != signatures.end();
}

QString StoredPicName(const TGameInfo& game) {
    return IsAcceptedPictureExt(ExtractFileExt(game.picName)) ? game.picName
                                                              : QStringLiteral("nopic.gif");
}
