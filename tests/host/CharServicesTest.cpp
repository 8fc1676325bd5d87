#include "GSRoot/CH.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/Name.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every character start of text found by walking forward.
std::vector<std::size_t> forwardStarts(const char* text) {
    std::vector<std::size_t> starts;
    for (const char* p = text; *p != 0; p = CHGetNextCharPtr(p, CC_UTF8)) {
        starts.push_back(std::size_t(p - text));
    }
    return starts;
}

std::vector<std::size_t> backwardStarts(const char* text) {
    std::vector<std::size_t> starts;
    const char* p = text + std::strlen(text);
    while (p > text) {
        p = CHGetPrevCharPtr(text, p, CC_UTF8);
        starts.insert(starts.begin(), std::size_t(p - text));
    }
    return starts;
}

std::string upper(const std::string& s) {
    char buffer[64];
    GSSize n = CHToUpper(s.data(), GSSize(s.size()), buffer, sizeof buffer, CC_UTF8);
    return n < 0 ? "<failed>" : std::string(buffer, std::size_t(n));
}

std::string lower(const std::string& s) {
    char buffer[64];
    GSSize n = CHToLower(s.data(), GSSize(s.size()), buffer, sizeof buffer, CC_UTF8);
    return n < 0 ? "<failed>" : std::string(buffer, std::size_t(n));
}

} // namespace

TEST(CharServicesTest, ByteSizes) {
    struct Case {
        const char* text;
        Int32 size;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"a", 1},
        {"\xC3\xA9", 2},
        {"\xE2\x82\xAC", 3},
        {"\xF0\x9F\x98\x80", 4},
        {"\xC3", 1},
        {"\xC3"
         "a",
         1},
        {"\xE2\x82", 1},
        {"\x80", 1},
        {"\xC0\x80", 1},
        {"\xE0\x80\x80", 1},
        {"\xED\xA0\x80", 1},
        {"\xF5\x80", 1},
        {"\xF4\x90\x80\x80", 1},
        {"\xFF", 1},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(CHGetByteSizeOfChar(c.text, CC_UTF8), c.size) << c.text;
    }
    EXPECT_EQ(CHGetByteSizeOfChar(nullptr, CC_UTF8), 0);
    // With a limit: nothing is read at or past it, and a cut sequence answers its full length.
    EXPECT_EQ(CHGetByteSizeOfChar("\xE2\x82\xAC", 2, CC_UTF8), 3);
    EXPECT_EQ(CHGetByteSizeOfChar("\xE2\x41\xAC", 2, CC_UTF8), 1);
    EXPECT_EQ(CHGetByteSizeOfChar("a", 0, CC_UTF8), 0);
    EXPECT_EQ(CHGetByteSizeOfChar("\xC3\xA9", 1, CC_UTF8), 2);
}

TEST(CharServicesTest, WalkingBothWaysAgrees) {
    const std::vector<std::string> texts = {
        "abc",
        "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z",
        "\xC3\xA9\xA9",              // valid character then a stray continuation byte
        "\xE2\x82\xC3\xA9",          // truncated sequence before a valid one
        "\x80\x80\x80\x80\x80",      // only continuation bytes
        "\xF0\x9F\x98",              // truncated at the terminator
        "x\xF0\x9F\x98\x80\x80\x80", // a valid four-byte character with extra continuations
        "\xED\xA0\x80\xED\xB0\x80",  // encoded surrogates
    };
    for (std::string const& t : texts) {
        EXPECT_EQ(forwardStarts(t.c_str()), backwardStarts(t.c_str())) << t;
    }
    const char* text = "ab";
    EXPECT_EQ(CHGetNextCharPtr(text + 2, CC_UTF8), text + 2); // never past the terminator
    EXPECT_EQ(CHGetPrevCharPtr(text, text, CC_UTF8), text);
    EXPECT_EQ(CHGetLastCharPtr("", CC_UTF8)[0], 0);
    const char* euro = "x\xE2\x82\xAC";
    EXPECT_EQ(CHGetLastCharPtr(euro, CC_UTF8), euro + 1);
}

TEST(CharServicesTest, CodePointsAndClassification) {
    EXPECT_EQ(CHGetCodePoint("\xE2\x82\xAC", CC_UTF8), 0x20ACu);
    EXPECT_EQ(CHGetCodePoint("\xF0\x9F\x98\x80", CC_UTF8), 0x1F600u);
    EXPECT_EQ(CHGetCodePoint("\xC3", CC_UTF8), 0xFFFDu);
    EXPECT_EQ(CHGetCodePoint("", CC_UTF8), 0u);
    for (int c = 1; c < 128; ++c) {
        char text[2] = {char(c), 0};
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool digit = c >= '0' && c <= '9';
        EXPECT_EQ(CHIsLetter(text, CC_UTF8), letter) << c;
        EXPECT_EQ(CHIsDigit(text, CC_UTF8), digit) << c;
        EXPECT_EQ(CHIsAlphaNumeric(text, CC_UTF8), letter || digit) << c;
    }
    EXPECT_TRUE(CHIsLetter("\xC3\xA9", CC_UTF8));
    EXPECT_FALSE(CHIsLetter("\xC3", CC_UTF8));
    EXPECT_TRUE(CHIsDigit("\xD9\xA3", CC_UTF8));        // Arabic-Indic three
    EXPECT_TRUE(CHIsAlphaNumeric("\xC2\xB2", CC_UTF8)); // superscript two: a number
    EXPECT_FALSE(CHIsDigit("\xC2\xB2", CC_UTF8));
    EXPECT_FALSE(CHIsLetter("\xC2\xB2", CC_UTF8));
    EXPECT_TRUE(CHIsWhiteSpace("\t", CC_UTF8));
    EXPECT_FALSE(CHIsWhiteSpace("", CC_UTF8));
}

TEST(CharServicesTest, CaseConversion) {
    EXPECT_EQ(upper("abc XYZ 123"), "ABC XYZ 123");
    EXPECT_EQ(lower("abc XYZ 123"), "abc xyz 123");
    EXPECT_EQ(upper("\xC3\xA9t\xC3\xA9"), "\xC3\x89T\xC3\x89");
    EXPECT_EQ(upper("stra\xC3\x9F"
                    "e"),
              "STRASSE");                 // the result may be longer than the text
    EXPECT_EQ(upper("i"), "I");           // no language-specific mapping
    EXPECT_EQ(upper("a\xC3z"), "A\xC3Z"); // a bad byte passes unchanged
    char small[2];
    EXPECT_EQ(CHToUpper("abcd", 4, small, sizeof small, CC_UTF8), 4); // asks for more room
    EXPECT_EQ(CHToUpper("abcd", 4, nullptr, 0, CC_UTF8), 4);
    EXPECT_EQ(CHToUpper("abcd", -1, small, sizeof small, CC_UTF8), -1);
}

TEST(CharServicesTest, CompareTextsIsATotalOrder) {
    std::vector<std::string> texts = {
        "", "a", "A", "ab", "b", "\xC3\xA9", "\xC3\x89", "\xC3", "e", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
    texts.push_back(std::string("a\0b", 3)); // embedded NUL: lengths, not terminators, bound the texts
    for (Int32 caseType : {CHCaseSensitive, CHIgnoreCase}) {
        for (std::string const& a : texts) {
            for (std::string const& b : texts) {
                Int32 ab =
                    CHCompareTexts(a.data(), GSSize(a.size()), b.data(), GSSize(b.size()), caseType, CC_UTF8);
                Int32 ba =
                    CHCompareTexts(b.data(), GSSize(b.size()), a.data(), GSSize(a.size()), caseType, CC_UTF8);
                EXPECT_EQ(ab, -ba) << a << " / " << b;
                EXPECT_EQ(ab == 0, a == b) << a << " / " << b;
                for (std::string const& c : texts) {
                    Int32 bc = CHCompareTexts(b.data(), GSSize(b.size()), c.data(), GSSize(c.size()),
                                              caseType, CC_UTF8);
                    Int32 ac = CHCompareTexts(a.data(), GSSize(a.size()), c.data(), GSSize(c.size()),
                                              caseType, CC_UTF8);
                    if (ab < 0 && bc < 0) {
                        EXPECT_LT(ac, 0) << a << " < " << b << " < " << c;
                    }
                }
            }
        }
    }
    // Without regard to case, "a" and "A" sit next to each other, before "b".
    EXPECT_LT(CHCompareTexts("A", 1, "b", 1, CHIgnoreCase, CC_UTF8), 0);
    EXPECT_GT(CHCompareTexts("b", 1, "A", 1, CHCaseSensitive, CC_UTF8), 0);
}

TEST(UniStringTest, UTF8BytesBecomeTheirUnits) {
    std::string ascii;
    std::u16string asciiUnits;
    for (int c = 1; c < 0x80; ++c) {
        ascii += char(c);
        asciiUnits += char16_t(c);
    }
    struct Case {
        const char* label;
        std::string bytes;
        std::u16string units;
    };
    const Case cases[] = {
        {"every ASCII character", ascii, asciiUnits},
        {"an embedded NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"two bytes between ASCII", "x\xC3\xA9y", u"x\u00E9y"},
        {"three bytes",
         "\xE2\x82\xAC"
         "1",
         u"\u20AC1"},
        {"four bytes", "a\xF0\x9F\x98\x80", u"a\U0001F600"},
        {"a lone continuation byte",
         "a\x80"
         "b",
         u"a\uFFFDb"},
        {"a sequence cut by ASCII", "a\xE2\x82z", u"a\uFFFD\uFFFDz"},
        {"a sequence cut by the end", "ab\xC3", u"ab\uFFFD"},
    };
    for (const Case& c : cases) {
        GS::UniString text(c.bytes.data(), GS::USize(c.bytes.size()));
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text.ToUStr()), text.GetLength()), c.units)
            << c.label;
    }
}

TEST(UniStringTest, UTF8RoundTripAndSubstrings) {
    GS::UniString s("a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(s.GetLength(), 4u);
    EXPECT_EQ(s[1], 0xE9);
    EXPECT_EQ(s[2], 0xD83D);
    EXPECT_EQ(s.ToUTF8(), "a\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(s.GetSubstring(1, 1).ToUTF8(), "\xC3\xA9");
    EXPECT_EQ(s.ToUTF8(2, 1), "\xEF\xBF\xBD"); // half a pair
    EXPECT_TRUE(s.GetSubstring(9, 1).IsEmpty());
    EXPECT_EQ(GS::UniString("x\xC3y").ToUTF8(), "x\xEF\xBF\xBDy");
    EXPECT_EQ(GS::UniString("ab\xC3\xA9", 3).ToUTF8(), "ab\xEF\xBF\xBD"); // cut by the byte count
    GS::UniString t("ab");
    t.Append(t);
    t += GS::UniString("c");
    t.Append(GS::UniChar('d'));
    EXPECT_EQ(t.ToUTF8(), "ababcd");
    EXPECT_EQ(t.ToUStr()[t.GetLength()], 0);
    t.Clear();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_TRUE(GS::UniString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_TRUE(GS::UniString("a") < GS::UniString("b"));

    IO::Name name("file.txt");
    EXPECT_EQ(name.ToUTF8(), "file.txt");
    EXPECT_EQ(name, IO::Name(GS::UniString("file.txt")));
    EXPECT_TRUE(IO::Name().IsEmpty());
}
