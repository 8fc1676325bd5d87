#include "Environment/SearchString.h"

#include <gtest/gtest.h>

#include <vector>

using zelvane::SearchString;
using zelvane::String;

TEST(SearchStringTest, Matching) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"*", "anything", true},
        {"*", "", true},
        {"", "anything", true},
        {"ab*", "abc", true},
        {"ab*", "ab", true},
        {"ab*", "xab", false},
        {"*cd", "abcd", true},
        {"*cd", "cdx", false},
        {"*cd", "d", false},
        {"a*b*c", "axbyc", true},
        {"a*b*c", "axyc", false},
        {"a*b*c", "abc", true},
        {"a*b*c", "ac", false},
        {"a*b*c", "abbc", true},
        {"ab*ba", "aba", true},
        {"ab*ba", "abba", true},
        {"door", "door", true},
        {"door", "doors", false},
        {"door", "Door", false},
        {"*b*", "abc", true},
        {"*b*", "b", true},
        {"*b*", "ac", false},
        {"a*x*y*b", "a1x*y2b", true},
        {"a*x*y*b", "a1xy2b", false},
        {"\xC3\xA9*", "\xC3\xA9t\xC3\xA9", true},
    };
    for (Case const& c : cases) {
        SearchString search(c.pattern, "*");
        EXPECT_EQ(search == String(c.text), c.matches) << c.pattern << " on " << c.text;
    }
    // Wildcards between the first and the last one are literal text.
    EXPECT_TRUE(SearchString("a*x*y*b", "*") == String("a-x*y-b"));
}

TEST(SearchStringTest, RebuildsPatternAndReparses) {
    const std::vector<const char*> patterns = {"", "*", "ab*", "*cd", "a*b*c", "door", "ab*ba", "a**", "**"};
    for (const char* p : patterns) {
        SearchString search(p, "*");
        SearchString rebuilt(search.getString(), "*");
        EXPECT_EQ(rebuilt.getString(), search.getString()) << p;
    }
    EXPECT_EQ(SearchString("a*b*c", "*").getString(), "a*b*c");
    EXPECT_EQ(SearchString("door", "*").getString(), "door");
    EXPECT_EQ(SearchString("a**", "*").getString(), "a*");
    EXPECT_EQ(SearchString("*z", "*").getString(), "*z");
    EXPECT_EQ(SearchString("a*b*", "*").getString(),
              "a*b*"); // not "a*b", which only matches texts ending in b
    EXPECT_EQ(SearchString("ab*ba", "*").getString(), "ab*ba");

    SearchString search("ab*", "*");
    SearchString copy(search);
    search = String("*z");
    EXPECT_TRUE(search == String("xyz"));
    EXPECT_FALSE(search == String("abc"));
    EXPECT_TRUE(copy == String("abc"));
    copy = search;
    EXPECT_EQ(copy.getString(), "*z");
    SearchString percent("ab%", "%");
    EXPECT_TRUE(percent == String("abc"));
    EXPECT_FALSE(SearchString("ab%", "%") == String("xab"));
}
