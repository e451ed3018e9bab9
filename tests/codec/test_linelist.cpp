#include "codec/LineList.h"

#include <gtest/gtest.h>

using tabulon::LineList;

static std::vector<std::string> Split(std::string_view text) {
    return LineList(text).Lines();
}

TEST(LineList, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(Split("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(Split("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(LineList, FinalLineEndAddsNoEmptyLine) {
    EXPECT_EQ(Split("abc"), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(Split("abc\r\n"), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(Split("abc\r\n\r\n"), (std::vector<std::string>{"abc", ""}));
    EXPECT_TRUE(Split("").empty());
    EXPECT_EQ(Split("\r\n"), (std::vector<std::string>{""}));
}

TEST(LineList, StopsAtNul) {
    EXPECT_EQ(Split(std::string_view("ab\0cd\r\nef", 9)), (std::vector<std::string>{"ab"}));
    EXPECT_TRUE(Split(std::string_view("\0x", 2)).empty());
}

TEST(LineList, JoinEndsEveryLineWithCrLf) {
    LineList l;
    EXPECT_EQ(l.Text(), "");
    l.Add("");
    EXPECT_EQ(l.Text(), "\r\n");
    l.Add("x");
    EXPECT_EQ(l.Text(), "\r\nx\r\n");
    EXPECT_EQ(LineList("a\nb\rc").Text(), "a\r\nb\r\nc\r\n");
}
