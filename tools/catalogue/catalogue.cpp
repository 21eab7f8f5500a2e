#include "catalogue.h"

#include "gbk.h"
#include "library/pinyin.h"

#include <algorithm>

namespace {

using swf::GameKind;

Game game(std::string id, std::string name, std::string description, int categoryId,
          std::optional<GameKind> kind, PictureFormat pictureFormat) {
    static constexpr const char* kExtension[] = {".bmp", ".gif", ".jpg", ".png"};
    // File names come from the id's digits so quotes in ids never reach a path.
    std::string file = "g";
    for (char c : id)
        if (c >= '0' && c <= '9')
            file += c;
    Game g;
    g.id = std::move(id);
    g.name = std::move(name);
    g.description = std::move(description);
    g.categoryId = categoryId;
    g.kind = kind;
    g.pictureFormat = pictureFormat;
    g.swfPath = "/gamesoft/flash/" + file + ".swf";
    g.picturePath = "/gamesoft/pic/" + file + kExtension[static_cast<int>(pictureFormat)];
    return g;
}

std::vector<Game> showcaseGames() {
    using enum PictureFormat;
    std::vector<Game> games;
    games.push_back(game("1001", "方块快跑", "用方向键控制方块，吃掉所有金币！", 1,
                         GameKind::ArrowRunner, Gif));
    games.push_back(
        game("1010", "Tom's 跳跳", "方向键左右移动，上键跳跃。", 1, GameKind::Jumper, Jpeg));
    games.push_back(
        game("1007", "打砖块", "用鼠标移动挡板，把球弹回去。", 1, GameKind::Paddle, Png));
    games.push_back(
        game("1008", "打砖块", "同名的另一个版本：小球自己弹跳。", 1, GameKind::BouncingBall, Bmp));
    Game maze = game("1014", "迷宫探险", "在迷宫里寻找出口。", 1, GameKind::ArrowRunner, Gif);
    maze.pictureIsHtml = true;
    games.push_back(maze);

    Game light = game("1006", "红绿灯", "红灯停，绿灯行。\r\n黄灯亮了等一等。\r\n适合小朋友。", 2,
                      GameKind::TrafficLight, Gif);
    games.push_back(light);
    games.push_back(game("1004", "旋转风车", "看风车转呀转。", 2, GameKind::Windmill, Bmp));
    Game breathing =
        game("1013", "呼吸灯", "放松心情，跟着圆圈一起呼吸。", 2, GameKind::Pulse, Png);
    breathing.picturePath = "/gamesoft/pic/show/g1013";
    games.push_back(breathing);
    games.push_back(game("1015", "存档小屋", "每玩一次，小方块向右走一步：它记得你来过几次。", 2,
                         GameKind::SaveCounter, Png));

    Game catcher = game("1002", "接球高手", "鼠标控制挡板接住小球。", 3, GameKind::Paddle, Jpeg);
    catcher.sixthField = "体育竞技";
    games.push_back(catcher);
    Game bouncing =
        game("1005", "弹跳小球", "看小球在屋子里蹦来蹦去。", 3, GameKind::BouncingBall, Jpeg);
    bouncing.picturePath = "/gamesoft/pic/G1005.JPG";
    bouncing.sixthField = "体育竞技";
    games.push_back(bouncing);
    games.push_back(
        game("1009", "  泡泡龙  ", "名字前后带空格的泡泡龙。", 3, GameKind::Pulse, Png));

    games.push_back(game("1003", "小鱼游游", "上下键控制小鱼，躲开礁石。", 4, GameKind::Fish, Png));
    games.push_back(game("1011'", "深海寻宝", "编号里带单引号的游戏。", 4, GameKind::Fish, Gif));
    games.push_back(game("1012", "星空漫游", "一个很大的游戏，下载需要一点时间。", 4,
                         GameKind::StarField, Png));
    return games;
}

std::vector<Game> testGames() {
    using enum PictureFormat;
    auto broken = [](std::string id, std::string name, std::string description) {
        return game(std::move(id), std::move(name), std::move(description), kTestCategoryId,
                    GameKind::Windmill, Gif);
    };
    std::vector<Game> games;
    auto withRecord = [&](std::string id, std::string name, RecordShape shape) {
        Game g = broken(std::move(id), std::move(name), "测试记录格式。");
        g.record = shape;
        games.push_back(g);
    };
    withRecord("901", "空记录", RecordShape::Empty);
    withRecord("902", "四段记录", RecordShape::FourFields);
    withRecord("903", "坏编码", RecordShape::BadCode);
    withRecord("911", "空白记录", RecordShape::Blank);
    withRecord("912", "宽编码", RecordShape::WideCodes);

    auto withRecordFault = [&](std::string id, std::string name, std::string fault) {
        Game g = broken(std::move(id), std::move(name), "测试记录请求：" + fault);
        g.recordFault = std::move(fault);
        games.push_back(g);
    };
    withRecordFault("904", "记录404", "404");
    withRecordFault("905", "记录500", "500");
    withRecordFault("906", "记录跳转", "redirect:/GAMESOFT/GAMEINFO.ASP?ID=1001");
    withRecordFault("907", "慢速记录", "slow:150");
    withRecordFault("914", "记录要密码", "auth");

    Game empty = game("908", "零字节游戏", "SWF 文件是空的。", kTestCategoryId, std::nullopt, Png);
    games.push_back(empty);
    auto withSwfFault = [&](std::string id, std::string name, GameKind kind, std::string fault) {
        Game g = game(std::move(id), std::move(name), "测试游戏下载：" + fault, kTestCategoryId,
                      kind, Jpeg);
        g.swfPath += "?fault=" + fault;
        games.push_back(g);
    };
    withSwfFault("909", "下载404", GameKind::Pulse, "404");
    withSwfFault("910", "下载中断", GameKind::Windmill, "truncate");
    withSwfFault("913", "慢速下载", GameKind::StarField, "slow:1000000");
    Game page = game("915", "网页冒充游戏", "游戏地址发来的是一个网页。", kTestCategoryId,
                     GameKind::Pulse, Png);
    page.swfIsHtml = true;
    games.push_back(page);
    games.push_back(broken("12345678901", "超长编号", "编号超过十个字符。"));
    return games;
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

const Game* Catalogue::find(std::string_view id) const {
    for (const Game& g : games)
        if (g.id == id)
            return &g;
    return nullptr;
}

const Category* Catalogue::category(int id) const {
    for (const Category& c : categories)
        if (c.id == id)
            return &c;
    return nullptr;
}

std::vector<const Game*> Catalogue::inCategory(int categoryId) const {
    std::vector<const Game*> found;
    for (const Game& g : games)
        if (g.categoryId == categoryId)
            found.push_back(&g);
    return found;
}

int Catalogue::pageCount(int categoryId) const {
    const auto games = static_cast<int>(inCategory(categoryId).size());
    return std::max(1, (games + gamesPerPage - 1) / gamesPerPage);
}

std::vector<const Game*> Catalogue::showcase() const {
    std::vector<const Game*> found;
    for (const Game& g : games)
        if (g.categoryId != kTestCategoryId)
            found.push_back(&g);
    return found;
}

std::vector<const Game*> Catalogue::search(std::string_view keyword) const {
    std::vector<const Game*> found;
    if (keyword.empty())
        return found;
    const std::string spelling =
        PinyinQueryOf(QString::fromUtf8(keyword.data(), qsizetype(keyword.size()))).toStdString();
    for (const Game& g : games)
        if (contains(g.name, keyword) || contains(utf8ToGbkNearest(g.name), keyword) ||
            (!spelling.empty() &&
             (contains(g.pinyinFull, spelling) || contains(g.pinyinInitials, spelling))))
            found.push_back(&g);
    return found;
}

void spellNames(std::vector<Game>& games) {
    for (Game& g : games) {
        const TPinyin pinyin = PinyinOf(QString::fromStdString(g.name));
        g.pinyinFull = pinyin.Full.toStdString();
        g.pinyinInitials = pinyin.Initials.toStdString();
    }
}

Catalogue builtInCatalogue(FaultGames faultGames) {
    Catalogue catalogue;
    catalogue.categories = {{1, "动作冒险"}, {2, "益智休闲"}, {3, "体育竞技"}, {4, "海洋星空"}};
    catalogue.games = showcaseGames();
    if (faultGames == FaultGames::Included) {
        catalogue.categories.push_back({kTestCategoryId, "测试专区"});
        for (Game& g : testGames())
            catalogue.games.push_back(std::move(g));
    }
    spellNames(catalogue.games);
    return catalogue;
}
