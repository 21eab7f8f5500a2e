#include "shell/game/save_file.h"

#include "common/pending_file.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

const QString kFormat = QStringLiteral("pebblo-saves");
constexpr int kVersion = 1;
// Flash kept a site's saves within a few megabytes; far more is not a save file.
constexpr qint64 kLargestFile = 32 * 1024 * 1024;

// Every SharedObject file begins so (the AMF packet header of a .sol file).
bool IsSharedObject(const QByteArray& bytes) {
    return bytes.size() > 6 && bytes.startsWith(QByteArray("\x00\xbf", 2));
}

bool IsSaveName(const QString& name) {
    return !name.isEmpty() && name.size() <= 255 &&
           std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

TSaveFileRead Failure(const QString& text) {
    return {{}, text};
}

} // namespace

QByteArray SaveFileText(const QString& game, const TGameSaves& saves) {
    QJsonObject stored;
    for (auto save = saves.begin(); save != saves.end(); ++save)
        stored.insert(save.key(), save.value());
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), kFormat},
                                     {QStringLiteral("version"), kVersion},
                                     {QStringLiteral("game"), game},
                                     {QStringLiteral("saves"), stored}})
        .toJson();
}

TSaveFileRead ReadSaveFile(const QByteArray& text, const QString& game) {
    const QJsonDocument document = QJsonDocument::fromJson(text);
    const QJsonObject file = document.object();
    if (!document.isObject() || file.value(QStringLiteral("format")).toString() != kFormat)
        return Failure(QStringLiteral("这个文件不是游戏存档，或者已经损坏。"));
    if (file.value(QStringLiteral("version")).toInt() != kVersion)
        return Failure(QStringLiteral("这个存档来自更新版本的客户端，无法导入。"));
    const QString owner = file.value(QStringLiteral("game")).toString();
    if (owner.compare(game, Qt::CaseInsensitive) != 0)
        return Failure(QStringLiteral("这是游戏“%1”的存档，不能导入到“%2”。").arg(owner, game));
    const QJsonObject stored = file.value(QStringLiteral("saves")).toObject();
    if (stored.isEmpty())
        return Failure(QStringLiteral("这个存档文件里没有存档。"));
    TSaveFileRead read;
    for (auto save = stored.begin(); save != stored.end(); ++save) {
        const auto bytes = QByteArray::fromBase64Encoding(save.value().toString().toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
        if (!IsSaveName(save.key()) || !save.value().isString() || !bytes ||
            !IsSharedObject(*bytes))
            return Failure(QStringLiteral("存档文件里的“%1”已损坏，没有导入任何存档。")
                               .arg(save.key().left(64)));
        read.saves.insert(save.key(), QString::fromLatin1((*bytes).toBase64()));
    }
    return read;
}

TSaveFileRead LoadSaveFile(const QString& path, const QString& game) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(QStringLiteral("无法读取存档文件：%1").arg(file.errorString()));
    const QByteArray text = file.read(kLargestFile + 1);
    if (text.size() > kLargestFile)
        return Failure(QStringLiteral("这个文件太大，不是游戏存档。"));
    return ReadSaveFile(text, game);
}

QString StoreSaveFile(const QString& path, const QString& game, const TGameSaves& saves) {
    TPendingFile file(path);
    const QByteArray text = SaveFileText(game, saves);
    if (!file.open() || file.write(text) != text.size() || !file.Publish())
        return QStringLiteral("无法保存存档文件：%1").arg(file.errorString());
    return {};
}
