#include "Environment/StringUtilities.h"

#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <new>
#include <utility>
#include <vector>

using zelvane::String;

namespace {

constexpr unsigned int npos = String::npos;
using Lines = std::vector<std::pair<unsigned int, unsigned int>>;

Lines linesOf(String const& text, unsigned int start = 0, unsigned int end = npos) {
    Lines lines;
    unsigned int count = zelvane::findLines(text, lines, start, end);
    EXPECT_EQ(count, lines.size());
    return lines;
}

} // namespace

TEST(StringUtilitiesTest, ReplaceEnclosing) {
    struct Case {
        const char* text;
        const char* set;
        const char* replacement;
        bool leading, trailing;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"  ab ", " ", "", true, true, "ab"},
        {"  ab ", " ", "_", true, true, "__ab_"},
        {"  ab ", " ", "", true, false, "ab "},
        {"  ab ", " ", "", false, true, "  ab"},
        {"  ab ", " ", "", false, false, "  ab "},
        {"   ", " ", "", true, true, ""},
        {"   ", " ", "_", false, true, ""},
        {"\t a b\r\n", String::whiteSpace, "", true, true, "a b"},
        {"xxaxx", "x", "yz", true, true, "yzyzayzyz"},
        {"ab", "", "", true, true, "ab"},
        {"", " ", "", true, true, ""},
        {"\xC3\xA9"
         "a\xC3\xA9",
         "\xC3\xA9", "-", true, true, "-a-"},
    };
    for (Case const& c : cases) {
        String text(c.text);
        zelvane::replaceEnclosing(text, c.set, c.replacement, c.leading, c.trailing);
        EXPECT_EQ(text, c.expected) << '"' << c.text << "\" trimming \"" << c.set << '"';
    }
}

TEST(StringUtilitiesTest, ReplaceAll) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"aaa", "a", "aa", "aaaaaa"}, {"abcabc", "bc", "", "aa"},
        {"abc", "", "x", "abc"},      {"abc", "abcd", "x", "abc"},
        {"", "a", "b", ""},           {"a.b.c", ".", "::", "a::b::c"},
        {"aaaa", "aa", "a", "aa"},    {"x\xC3\xA9y", "\xC3\xA9", "e", "xey"},
    };
    for (Case const& c : cases) {
        String text(c.text);
        EXPECT_EQ(zelvane::replaceAll(text, c.from, c.to), c.expected) << c.text;
    }
    String set("a,b;c");
    EXPECT_EQ(zelvane::replaceAllOf(set, ",;", ""), "abc");
    String spaced("a b\tc");
    EXPECT_EQ(zelvane::replaceAllOf(spaced, String::whiteSpace, "%20"), "a%20b%20c");
    String accents("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(zelvane::replaceAllOf(accents, "\xC3\xA9", "e"), "ete");
    String unchanged("abc");
    EXPECT_EQ(zelvane::replaceAllOf(unchanged, "", "x"), "abc");
}

TEST(StringUtilitiesTest, FindQuoted) {
    String text("say \"hi\" and 'bye");
    unsigned int start = 0;
    unsigned int end = 0;
    EXPECT_TRUE(zelvane::findQuoted(text, start, end, "\"'"));
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 7u);
    EXPECT_EQ(text.substr(start, end - start), "hi");
    start = end + 1;
    EXPECT_FALSE(zelvane::findQuoted(text, start, end, "\"'"));
    EXPECT_EQ(start, 14u);
    EXPECT_EQ(end, npos);
    start = 15;
    EXPECT_FALSE(zelvane::findQuoted(text, start, end, "\"'"));
    EXPECT_EQ(start, npos);
    String mixed("'a\"b'");
    start = 0;
    EXPECT_TRUE(zelvane::findQuoted(mixed, start, end, "\"'"));
    EXPECT_EQ(mixed.substr(start, end - start), "a\"b"); // closed by the same quote character
}

TEST(StringUtilitiesTest, Padding) {
    struct Case {
        const char* text;
        unsigned int width;
        const char* pad;
        bool right;
        bool result;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"7", 3, "0", true, true, "007"},
        {"7", 3, "0", false, true, "700"},
        {"abcd", 3, "0", true, false, "abcd"},
        {"1", 4, "ab", true, true, "bab1"},
        {"1", 4, "ab", false, true, "1aba"},
        {"abc", 3, "", true, true, "abc"},
        {"ab", 3, "", true, false, "ab"},
        {"", 2, "-", true, true, "--"},
        {"\xC3\xA9", 3, "\xE2\x82\xAC", true, true, "\xE2\x82\xAC\xE2\x82\xAC\xC3\xA9"},
    };
    for (Case const& c : cases) {
        String text(c.text);
        bool result =
            c.right ? zelvane::padRight(text, c.width, c.pad) : zelvane::padLeft(text, c.width, c.pad);
        EXPECT_EQ(result, c.result) << c.text << " to " << c.width;
        EXPECT_EQ(text, c.expected) << c.text << " to " << c.width;
    }
    String text("x");
    sim::failNextAllocations(1);
    EXPECT_THROW(zelvane::padRight(text, 5, "-"), std::bad_alloc);
    EXPECT_EQ(text, "x");
}

TEST(StringUtilitiesTest, FindLineEnding) {
    struct Case {
        const char* text;
        unsigned int start, end;
        unsigned int ending, after;
    };
    const std::vector<Case> cases = {
        {"ab", 0, npos, npos, npos},   {"a\nb", 0, npos, 1, 2},          {"a\r\nb", 0, npos, 1, 3},
        {"a\n\rb", 0, npos, 1, 3},     {"a\n\nb", 0, npos, 1, 2},        {"a\n", 0, npos, 1, npos},
        {"a\r\n", 0, npos, 1, npos},   {"a\n\r", 0, npos, 1, npos},      {"a\r\nb", 0, 2, 1, npos},
        {"a\nb\nc", 2, npos, 3, 4},    {"a\nb", 2, npos, npos, npos},    {"a\nb", 0, 1, npos, npos},
        {"a\nb", 5, npos, npos, npos}, {"\xC3\xA9\r\nx", 0, npos, 1, 3},
    };
    for (Case const& c : cases) {
        auto result = zelvane::findLineEnding(c.text, c.start, c.end);
        EXPECT_EQ(result.first, c.ending) << c.text << " from " << c.start;
        EXPECT_EQ(result.second, c.after) << c.text << " from " << c.start;
    }
}

TEST(StringUtilitiesTest, FindLines) {
    EXPECT_EQ(linesOf("a\nb"), (Lines{{0, 1}, {2, 1}}));
    EXPECT_EQ(linesOf("a\r\nb"), (Lines{{0, 1}, {3, 1}}));
    EXPECT_EQ(linesOf("a\n"), (Lines{{0, 1}}));
    EXPECT_EQ(linesOf("a\r\n"), (Lines{{0, 1}}));
    EXPECT_EQ(linesOf("a\n\nb"), (Lines{{0, 1}, {2, 0}, {3, 1}}));
    EXPECT_EQ(linesOf("\nb"), (Lines{{0, 0}, {1, 1}}));
    EXPECT_EQ(linesOf("abc"), (Lines{{0, 3}}));
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("a\nbc\nd", 2, 4), (Lines{{2, 2}}));
    EXPECT_EQ(linesOf("a\nbc\nd", 3, 3), Lines{});
    EXPECT_EQ(linesOf("\xC3\xA9\n\xE2\x82\xAC"), (Lines{{0, 1}, {2, 1}}));
    Lines lines{{9, 9}};
    EXPECT_EQ(zelvane::findLines("x\ny", lines, 0, npos), 2u);
    EXPECT_EQ(lines, (Lines{{9, 9}, {0, 1}, {2, 1}})); // appended after what was there
}

TEST(StringUtilitiesTest, FindTrailingNumber) {
    struct Case {
        const char* text;
        unsigned int pos, len;
        unsigned int expected;
    };
    const std::vector<Case> cases = {
        {"Wall 12", 0, npos, 12},
        {"12", 0, npos, npos},
        {"Wall", 0, npos, npos},
        {"", 0, npos, npos},
        {"Wall 12a", 0, npos, npos},
        {"x007", 0, npos, 7},
        {"a1b22", 0, npos, 22},
        {"Wall 12", 5, npos, npos}, // from pos the text is digits alone
        {"Wall 12", 3, npos, 12},
        {"Wall 123", 0, 7, 12}, // len is a byte limit
        {"Wall 99999999999", 0, npos, npos},
        {"Wall 4294967294", 0, npos, 4294967294u},
        {"\xC3\xA9t\xC3\xA9 3", 0, npos, 3},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(zelvane::findTrailingNumber(c.text, c.pos, c.len), c.expected) << c.text;
    }
}
