#include "swf_games.h"
#include "swf_reader.h"
#include "swf_tags.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

std::string movieOf(swf::GameKind kind) {
    const swf::Bytes bytes = swf::makeGame(kind);
    return {bytes.begin(), bytes.end()};
}

std::vector<ActionRecord> allActions(const SwfFile& file) {
    std::vector<ActionRecord> actions;
    for (const SwfTag& tag : file.tags)
        if (tag.code == swf::DoAction)
            for (const ActionRecord& action : readActions(tag.body))
                actions.push_back(action);
    return actions;
}

// A push of the string: type byte 0, the text, its terminating NUL.
bool pushesString(const SwfFile& file, const std::string& text) {
    const std::string pushed = std::string(1, '\0') + text + '\0';
    for (const ActionRecord& action : allActions(file))
        if (action.code == 0x96 && action.payload.find(pushed) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(SwfGames, EveryGameIsAWellFormedVersion6To8MovieEndingInEnd) {
    const std::set<uint16_t> knownTags = {
        swf::End,          swf::ShowFrame,     swf::DefineShape,   swf::SetBackgroundColor,
        swf::DoAction,     swf::PlaceObject2,  swf::RemoveObject2, swf::DefineBitsLossless2,
        swf::DefineSprite, swf::FileAttributes};
    for (swf::GameKind kind : swf::kAllGameKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const SwfFile file = readSwf(movieOf(kind));
        EXPECT_GE(file.version, 6);
        EXPECT_LE(file.version, 8);
        EXPECT_EQ(file.declaredLength, file.uncompressedLength);
        EXPECT_EQ(file.stageWidthTwips, 400 * 20);
        EXPECT_EQ(file.stageHeightTwips, 300 * 20);
        ASSERT_FALSE(file.tags.empty());
        const bool attributesFirst = file.tags.front().code == swf::FileAttributes;
        EXPECT_EQ(attributesFirst, file.version >= 8);
        EXPECT_EQ(file.tags.at(attributesFirst ? 1 : 0).code, swf::SetBackgroundColor);
        EXPECT_EQ(file.tags.back().code, swf::End);
        EXPECT_EQ(file.frameCount,
                  std::count_if(file.tags.begin(), file.tags.end(),
                                [](const SwfTag& tag) { return tag.code == swf::ShowFrame; }));
        for (const SwfTag& tag : file.tags)
            EXPECT_TRUE(knownTags.contains(tag.code)) << "tag " << tag.code;
    }
}

TEST(SwfGames, GamesAreDistinctAndUseBothContainerKinds) {
    std::set<std::string> movies;
    std::set<char> signatures;
    for (swf::GameKind kind : swf::kAllGameKinds) {
        const std::string movie = movieOf(kind);
        movies.insert(movie);
        signatures.insert(movie[0]);
    }
    EXPECT_GE(movies.size(), 8u);
    EXPECT_EQ(movies.size(), swf::kAllGameKinds.size());
    EXPECT_EQ(signatures, (std::set<char>{'C', 'F'}));
}

TEST(SwfGames, BranchesLandOnActionBoundaries) {
    for (swf::GameKind kind : swf::kAllGameKinds) {
        const SwfFile file = readSwf(movieOf(kind));
        for (const SwfTag& tag : file.tags) {
            if (tag.code != swf::DoAction)
                continue;
            const std::vector<ActionRecord> actions = readActions(tag.body);
            std::set<size_t> boundaries;
            for (const ActionRecord& action : actions)
                boundaries.insert(action.offset);
            boundaries.insert(tag.body.size() - 1); // the end marker
            for (size_t i = 0; i < actions.size(); ++i) {
                if (actions[i].code != 0x9D && actions[i].code != 0x99)
                    continue;
                const auto offset =
                    static_cast<int16_t>(static_cast<uint8_t>(actions[i].payload[0]) |
                                         (static_cast<uint8_t>(actions[i].payload[1]) << 8));
                const size_t next =
                    i + 1 < actions.size() ? actions[i + 1].offset : tag.body.size() - 1;
                EXPECT_TRUE(boundaries.contains(next + static_cast<size_t>(offset)))
                    << "game " << static_cast<int>(kind) << " branch at " << actions[i].offset;
            }
        }
    }
}

TEST(SwfGames, AtLeastThreeGamesReadTheKeyboardOrMouse) {
    int interactive = 0;
    for (swf::GameKind kind : swf::kAllGameKinds) {
        const SwfFile file = readSwf(movieOf(kind));
        if (pushesString(file, "isDown") || pushesString(file, "_xmouse"))
            ++interactive;
    }
    EXPECT_GE(interactive, 3);
}

// Scripts reach things by instance name, and only movie clips answer to one: with a named
// shape the target does not resolve and the player moves the whole stage instead.
TEST(SwfGames, EveryScriptTargetIsANamedClipOnTheRootTimeline) {
    int scriptedGames = 0;
    for (swf::GameKind kind : swf::kAllGameKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const SwfFile file = readSwf(movieOf(kind));
        std::set<uint16_t> sprites;
        std::map<std::string, uint16_t> characterNamed;
        std::set<std::string> targets;
        for (const SwfTag& tag : file.tags) {
            if (tag.code == swf::DefineSprite)
                sprites.insert(readDefineSprite(tag.body).id);
            if (tag.code == swf::PlaceObject2) {
                const Placement placement = readPlaceObject2(tag.body);
                if (!placement.name.empty() && placement.characterId)
                    characterNamed[placement.name] = *placement.characterId;
            }
            if (tag.code == swf::DoAction)
                targets.merge(scriptTargets(readActions(tag.body)));
        }
        scriptedGames += targets.empty() ? 0 : 1;
        for (const std::string& target : targets) {
            const auto placed = characterNamed.find(target);
            ASSERT_NE(placed, characterNamed.end()) << "nothing on the root is named " << target;
            EXPECT_TRUE(sprites.contains(placed->second)) << target << " is not a movie clip";
        }
    }
    EXPECT_EQ(scriptedGames, 11);
}

TEST(SwfGames, EveryClipShowsOneShapeDefinedBeforeIt) {
    for (swf::GameKind kind : swf::kAllGameKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        std::set<uint16_t> shapes;
        for (const SwfTag& tag : readSwf(movieOf(kind)).tags) {
            if (tag.code == swf::DefineShape)
                shapes.insert(static_cast<uint16_t>(static_cast<uint8_t>(tag.body[0]) |
                                                    (static_cast<uint8_t>(tag.body[1]) << 8)));
            if (tag.code != swf::DefineSprite)
                continue;
            const SpriteDefinition sprite = readDefineSprite(tag.body);
            ASSERT_EQ(sprite.tags.size(), 3u);
            EXPECT_EQ(sprite.frameCount, 1);
            ASSERT_EQ(sprite.tags[0].code, swf::PlaceObject2);
            const Placement shape = readPlaceObject2(sprite.tags[0].body);
            ASSERT_TRUE(shape.characterId.has_value());
            EXPECT_TRUE(shapes.contains(*shape.characterId));
            EXPECT_EQ(sprite.tags[1].code, swf::ShowFrame);
            EXPECT_EQ(sprite.tags[2].code, swf::End);
        }
    }
}

TEST(SwfGames, StarFieldIsSeveralMegabytesOnTheWire) {
    const std::string movie = movieOf(swf::GameKind::StarField);
    EXPECT_EQ(movie[0], 'F');
    EXPECT_GT(movie.size(), 3u * 1024 * 1024);
    EXPECT_LT(movie.size(), 16u * 1024 * 1024);
}
