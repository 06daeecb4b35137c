// Splitting texts at one delimiter.
#include <gtest/gtest.h>
#include "applet/TokenArray.h"

namespace {

std::vector<std::string> Split(const char* text, char d, int limit)
{
    CTokenArray t(text, d, limit);
    return std::vector<std::string>(t.begin(), t.end());
}

TEST(TokenArray, SplitsWithAndWithoutALimit)
{
    using V = std::vector<std::string>;
    struct Case {
        const char* text;
        int limit;
        V tokens;
    } cases[] = {
        {nullptr, 0, V{}},
        {"", 1, V{}},
        {"abc", 0, V{"abc"}},
        {"abc", 1, V{"abc"}},
        {"abc", 3, V{"abc"}},
        {"a=b", 1, V{"a", "b"}},
        {"a=b=c", 1, V{"a", "b=c"}},
        {"a=b=c", 2, V{"a", "b", "c"}},
        {"a==b=", 0, V{"a", "", "b", ""}},
        {"=", 0, V{"", ""}},
        {"a=", 1, V{"a", ""}},
        {"=b", 1, V{"", "b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.text, '=', c.limit), c.tokens) << (c.text ? c.text : "(null)");
}

TEST(TokenArray, GetTokenOutsideTheArrayIsEmpty)
{
    CTokenArray t("x,y", ',');
    EXPECT_EQ(t.GetToken(0), "x");
    EXPECT_EQ(t.GetToken(1), "y");
    EXPECT_EQ(t.GetToken(2), "");
    EXPECT_EQ(t.GetToken(-1), "");
}

}  // namespace
