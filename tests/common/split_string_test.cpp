#include "common/common_method.h"

#include <gtest/gtest.h>

namespace {

QList<QByteArray> Split(const char* text, const char* delimiter) {
    return TCommonMethod::SplitString(QByteArray(text), QByteArray(delimiter));
}

TEST(SplitString, BlankOrControlOnlyTextGivesNoPieces) {
    EXPECT_TRUE(Split("", "|").isEmpty());
    EXPECT_TRUE(Split("  \t\r\n", "|").isEmpty());
    EXPECT_TRUE(Split("\x01\x1f ", "|").isEmpty());
}

TEST(SplitString, KeepsEmptyAndUntrimmedPieces) {
    EXPECT_EQ(Split("a||b|", "|"), (QList<QByteArray>{"a", "", "b", ""}));
    EXPECT_EQ(Split(" a | b\r\n", "|"), (QList<QByteArray>{" a ", " b\r\n"}));
    EXPECT_EQ(Split("|", "|"), (QList<QByteArray>{"", ""}));
    EXPECT_EQ(Split("no delimiter", "|"), (QList<QByteArray>{"no delimiter"}));
}

TEST(SplitString, MultiByteDelimiterIsMatchedExactly) {
    EXPECT_EQ(Split("&#97&#98&#99", "&#"), (QList<QByteArray>{"", "97", "98", "99"}));
    EXPECT_EQ(Split("a&b&#c#", "&#"), (QList<QByteArray>{"a&b", "c#"}));
    EXPECT_EQ(Split("x&#&#y", "&#"), (QList<QByteArray>{"x", "", "y"}));
}

TEST(SplitString, MatchesBytesCaseSensitively) {
    EXPECT_EQ(Split("aXbxc", "x"), (QList<QByteArray>{"aXb", "c"}));
    // GBK bytes of Chinese text pass through untouched.
    const QByteArray gbk("\xc4\xac\xc8\xcf|\xd6\xf7\xcc\xe2");
    EXPECT_EQ(TCommonMethod::SplitString(gbk, "|"),
              (QList<QByteArray>{"\xc4\xac\xc8\xcf", "\xd6\xf7\xcc\xe2"}));
}

} // namespace
