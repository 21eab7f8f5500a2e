#include "stored_library.h"

#include "common/common_method.h"
#include "common/program_folder.h"
#include "image_encoders.h"
#include "library/flash_statements.h"
#include "library/library_connection.h"
#include "thumbnail.h"

#include <QDir>
#include <QFile>
#include <array>
#include <vector>

namespace {

constexpr std::array<std::pair<PictureFormat, const char*>, 3> kFormats{
    {{PictureFormat::Jpeg, "jpg"}, {PictureFormat::Gif, "gif"}, {PictureFormat::Png, "png"}}};
// Distinct pictures per kind; the files are as many as the games.
constexpr int kPicturesPerKind = 64;

const QStringList kNameStarts{"超级", "疯狂", "小小", "快乐", "泡泡", "坦克", "赛车", "魔法",
                              "森林", "海底", "宝石", "太空", "功夫", "三国", "水果", "僵尸"};
const QStringList kNameEnds{"大战", "冒险", "龙",     "跑酷", "射击", "公主", "农场", "飞机",
                            "消除", "足球", "连连看", "英雄", "传说", "赛跑", "迷宫", "工厂"};

QString GameName(int i) {
    return kNameStarts[i % kNameStarts.size()] +
           kNameEnds[(i / kNameStarts.size()) % kNameEnds.size()] + QString::number(i);
}

std::vector<QByteArray> EncodedPictures(PictureFormat format) {
    std::vector<QByteArray> pictures;
    for (int i = 0; i < kPicturesPerKind; ++i) {
        const swf::GameKind kind = swf::kAllGameKinds[size_t(i) % swf::kAllGameKinds.size()];
        const std::string name = "game " + std::to_string(i);
        pictures.push_back(QByteArray::fromStdString(
            encodePicture(drawThumbnail(swf::paletteOf(kind), name), format)));
    }
    return pictures;
}

} // namespace

bool StoreLibrary(const QString& programFolder, int games) {
    QDir().mkpath(programFolder + QStringLiteral("pic"));
    SetProgramFolderForTesting(programFolder);
    QString errorText;
    if (!TCommonMethod::CreateDatabase(errorText))
        return false;
    std::array<std::vector<QByteArray>, kFormats.size()> pictures;
    for (size_t kind = 0; kind < kFormats.size(); ++kind) {
        pictures[kind] = EncodedPictures(kFormats[kind].first);
        // As in every program folder, a placeholder of each kind.
        QFile placeholder(programFolder + QStringLiteral("pic/nopic.") +
                          QLatin1String(kFormats[kind].second));
        if (!placeholder.open(QIODevice::WriteOnly) || placeholder.write(pictures[kind][0]) < 0)
            return false;
    }
    TLibraryConnection connection(LibraryDatabasePath());
    QSqlDatabase database = connection.Database();
    database.transaction();
    const QDateTime first = QDateTime::currentDateTime().addDays(-30);
    for (int i = 0; i < games; ++i) {
        const size_t kind = size_t(i) % kFormats.size();
        const QString picName =
            QStringLiteral("g%1.%2").arg(i).arg(QLatin1String(kFormats[kind].second));
        QFile file(programFolder + QStringLiteral("pic/") + picName);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(pictures[kind][size_t(i / 3) % kPicturesPerKind]) < 0)
            return false;
        InsertGame(database,
                   {{"id", QString::number(i)},
                    {"flashname", GameName(i)},
                    {"flashurl", "http://h.example/a.swf"},
                    {"nclass", ""},
                    {"classid", ""},
                    {"classname", ""},
                    {"picUrl", "http://h.example/" + picName},
                    {"picName", picName},
                    {"body", QStringLiteral("一个好玩的小游戏。用方向键移动，空格键跳。")},
                    {"fDate", first.addSecs(i)}});
    }
    return database.commit();
}
