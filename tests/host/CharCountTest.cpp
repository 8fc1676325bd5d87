#include "GSRoot/CharCount.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CountCase {
    const char* name;
    std::string bytes;
    UInt32 code;
    bool bigEndian;
    Int32 expected;
};

} // namespace

TEST(CharCountTest, CountsWholeValidCharacters) {
    const CountCase cases[] = {
        {"ascii", "A", CharCodeUTF8, false, 1},
        {"nul byte", std::string(1, '\0'), CharCodeUTF8, false, 1},
        {"two bytes", "\xC3\xA9x", CharCodeUTF8, false, 2},
        {"three bytes", "\xE2\x82\xAC", CharCodeUTF8, false, 3},
        {"four bytes", "\xF0\x9F\x98\x80", CharCodeUTF8, false, 4},
        {"lone continuation", "\x80", CharCodeUTF8, false, 0},
        {"overlong two", "\xC0\xAF", CharCodeUTF8, false, 0},
        {"overlong three", "\xE0\x80\xAF", CharCodeUTF8, false, 0},
        {"surrogate in utf8", "\xED\xA0\x80", CharCodeUTF8, false, 0},
        {"beyond unicode", "\xF4\x90\x80\x80", CharCodeUTF8, false, 0},
        {"bad continuation", "\xE2\x41\xAC", CharCodeUTF8, false, 0},
        {"truncated three", "\xE2\x82", CharCodeUTF8, false, 0},
        {"truncated four", "\xF0\x9F\x98", CharCodeUTF8, false, 0},
        {"utf16 le", std::string("A\0", 2), CharCodeUTF16, false, 2},
        {"utf16 be", std::string("\0A", 2), CharCodeUTF16, true, 2},
        {"utf16 pair le", std::string("\x3D\xD8\x00\xDE", 4), CharCodeUTF16, false, 4},
        {"utf16 pair be", std::string("\xD8\x3D\xDE\x00", 4), CharCodeUTF16, true, 4},
        {"utf16 pair read in the wrong order", std::string("\xD8\x3D\xDE\x00", 4), CharCodeUTF16, false, 2},
        {"utf16 lone high",
         std::string("\x3D\xD8"
                     "A\0",
                     4),
         CharCodeUTF16, false, 0},
        {"utf16 lone low", std::string("\x00\xDE", 2), CharCodeUTF16, false, 0},
        {"utf16 truncated pair", std::string("\x3D\xD8\x00", 3), CharCodeUTF16, false, 0},
        {"utf16 odd byte", "A", CharCodeUTF16, false, 0},
        {"utf32 le", std::string("\x00\xF6\x01\x00", 4), CharCodeUTF32, false, 4},
        {"utf32 be", std::string("\x00\x01\xF6\x00", 4), CharCodeUTF32, true, 4},
        {"utf32 too big", std::string("\x00\x00\x11\x00", 4), CharCodeUTF32, false, 0},
        {"utf32 surrogate", std::string("\x00\xD8\x00\x00", 4), CharCodeUTF32, false, 0},
        {"utf32 truncated", std::string("A\0\0", 3), CharCodeUTF32, false, 0},
        {"unknown code", "A", 7777, false, 0},
        {"cp1252 ascii", "A", 11, false, 1},
        {"cp1252 e acute", "\xE9", 11, false, 1},
        {"shift-jis unmapped byte", "\xA0", 32, false, 0},
        {"hebrew alef", "\xE0", 21, false, 1},
        {"shift-jis hiragana", "\x82\xA0", 32, false, 2},
        {"shift-jis half-width katakana", "\xB1", 32, false, 1},
        {"shift-jis truncated", "\x82", 32, false, 0},
        {"shift-jis bad trail", "\x82\x20", 32, false, 0},
        {"gbk", "\xC4\xE3", 34, false, 2},
        {"big5", "\xA4\x40", 33, false, 2},
        {"korean", "\xB0\xA1", 35, false, 2},
        {"thai", "\xA1", 31, false, 1},
    };
    for (const CountCase& c : cases) {
        EXPECT_EQ(CHGetCharByteCount(c.bytes.data(), GSSize(c.bytes.size()), c.code, c.bigEndian), c.expected)
            << c.name;
    }
}

TEST(CharCountTest, NeverLooksPastTheAvailableBytes) {
    // The rest of the sequence is there in memory but not offered.
    const char text[] = "\xE2\x82\xAC";
    EXPECT_EQ(CHGetCharByteCount(text, 2, CharCodeUTF8), 0);
    EXPECT_EQ(CHGetCharByteCount(text, 0, CharCodeUTF8), 0);
    EXPECT_EQ(CHGetCharByteCount(nullptr, 4, CharCodeUTF8), 0);
    const char pair[] = "\x3D\xD8\x00\xDE";
    EXPECT_EQ(CHGetCharByteCount(pair, 3, CharCodeUTF16), 0);
    EXPECT_EQ(CHGetCharByteCount(pair, 4, CharCodeUTF16), 4);
}
