#include "sim/Escaped.h"

#include <gtest/gtest.h>

#include <string>

TEST(EscapedTest, EveryByteThatCouldBreakALineIsEscaped) {
    struct Case {
        std::string text;
        const char* quoted;
    };
    const Case cases[] = {
        // Kept as written before: text, quotes and backslashes, controls, Unicode line breaks.
        {"plain \u00e9\u20ac\U0001F600", "\"plain \u00e9\u20ac\U0001F600\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"1\nhostsim: fake line\r\x1b\x7f", "\"1\\nhostsim: fake line\\x0d\\x1b\\x7f\""},
        {"\u0085\u009b\u2028\u2029\u00a0", "\"\\u0085\\u009b\\u2028\\u2029\u00a0\""},
        // Bytes of no well-formed character, each by itself.
        {"a\x85z", "\"a\\x85z\""},
        {"\x9b[2J\xff\xfe", "\"\\x9b[2J\\xff\\xfe\""},
        {"\x80\xbf", "\"\\x80\\xbf\""},
        {"\xc0\x8a", "\"\\xc0\\x8a\""},                   // an overlong line feed
        {"\xe0\x80\x8a", "\"\\xe0\\x80\\x8a\""},          // overlong in three bytes
        {"\xf0\x80\x80\x8a", "\"\\xf0\\x80\\x80\\x8a\""}, // and in four
        {"\xed\xa0\x80", "\"\\xed\\xa0\\x80\""},          // a surrogate
        {"\xf4\x90\x80\x80", "\"\\xf4\\x90\\x80\\x80\""}, // beyond U+10FFFF
        {"\xc2", "\"\\xc2\""},                            // cut at the end
        {"\xe2\x80", "\"\\xe2\\x80\""},
        {"\xe2\x80\n", "\"\\xe2\\x80\\n\""},
        {"\xf0\x9f\x98x", "\"\\xf0\\x9f\\x98x\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sim::escaped(c.text), c.quoted) << c.quoted;
    }
    // A line of a file's content too, keeping its TABs and quotes.
    EXPECT_EQ(sim::escapedLine("\t\"a\x85\xc0\x8a"), "\t\"a\\x85\\xc0\\x8a");
    // A name in the path to a value stands as it is unless escaping changes it.
    EXPECT_EQ(sim::escapedMember("300"), "300");
    EXPECT_EQ(sim::escapedMember("1\n\x85"), "\"1\\n\\x85\"");
}
