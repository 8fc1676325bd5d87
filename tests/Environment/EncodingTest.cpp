#include "Environment/Encoding.h"
#include "Environment/String.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>

using zelvane::Encoding;
using zelvane::String;

namespace {

// The bytes of a conversion's result, zero bytes included.
std::string bytes(String const& text, std::size_t length) {
    return std::string(text.data(), length);
}

} // namespace

TEST(EncodingTest, TypesStandForUTF8WhenUndetermined) {
    EXPECT_EQ(Encoding(0).getType(), 99u);
    EXPECT_EQ(Encoding(2).getType(), 99u);
    EXPECT_EQ(Encoding().getType(), 99u);
    EXPECT_EQ(Encoding(100).getType(), 100u);
    EXPECT_EQ(Encoding(31).getType(), 31u);
    Encoding copy(Encoding(101));
    EXPECT_EQ(copy, Encoding(101));
    EXPECT_NE(Encoding(Encoding::utf16BigEndian), Encoding(100));
}

TEST(EncodingTest, ConvertsWholeTextsBothWays) {
    struct Case {
        Encoding::Type code;
        const char* utf8;
        const char* encoded;
    };
    // Each text has characters of more than one byte in UTF-8, so a length counted in characters
    // would cut it short.
    const Case cases[] = {
        {11, "caf\xC3\xA9 cr\xC3\xA8me", "caf\xE9 cr\xE8me"},
        {14, "\xD0\x96\xD1\x83\xD0\xBA", "\xC6\xF3\xEA"},
        {21, "\xD7\x90t\xD7\x91", "\xE0t\xE1"},
        {22, "\xC3\xBC\xC3\xBC\xC3\xBC", "\xFC\xFC\xFC"},
        {32, "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B"},
        {35, "\xED\x95\x9C", "\xC7\xD1"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Encoding(c.code).convertString(String(c.utf8), 99), String(c.encoded));
        EXPECT_EQ(Encoding(99).convertString(String(c.encoded), c.code), String(c.utf8));
    }
    // Between two code pages, through UTF-16.
    EXPECT_EQ(Encoding(22).convertString(String("caf\xE9"), 11), String("caf\xE9"));
    EXPECT_EQ(Encoding(13).convertString(String("\xA3\xF3"), 12), String("\xD9\xF3")); // Ló
}

TEST(EncodingTest, SameEncodingCopiesTheText) {
    String text("gr\xC3\xBC\xC3\x9F"
                "e \xE2\x82\xAC");
    EXPECT_EQ(Encoding(99).convertString(text, 99), text);
    EXPECT_EQ(Encoding(0).convertString(text, 2), text);
    // Bytes that are no UTF-8 are copied as they are, not repaired.
    EXPECT_EQ(Encoding(99).convertString(String("a\xFF"), 0), String("a\xFF"));
    EXPECT_TRUE(Encoding(11).convertString(String(), 99).empty());
}

TEST(EncodingTest, UnicodeFormsInEitherByteOrder) {
    struct Case {
        Encoding::Type code;
        std::string encoded;
    };
    const Case cases[] = {
        {Encoding::utf16, std::string("A\0\xAC\x20", 4)},
        {Encoding::utf16BigEndian, std::string("\0A\x20\xAC", 4)},
        {Encoding::utf32, std::string("A\0\0\0\xAC\x20\0\0", 8)},
        {Encoding::utf32BigEndian, std::string("\0\0\0A\0\0\x20\xAC", 8)},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.code);
        String utf8 = Encoding(99).convertString(c.encoded.data(), unsigned(c.encoded.size()), c.code);
        EXPECT_EQ(utf8, String("A\xE2\x82\xAC"));
        String back = Encoding(c.code).convertString(utf8, 99);
        EXPECT_EQ(bytes(back, c.encoded.size()), c.encoded);
        EXPECT_EQ(back.data()[c.encoded.size()], '\0');
    }
    // Between the two byte orders of UTF-16.
    String swapped =
        Encoding(Encoding::utf16BigEndian).convertString(cases[0].encoded.data(), 4, Encoding::utf16);
    EXPECT_EQ(bytes(swapped, 4), cases[1].encoded);
    // A dangling half unit is dropped.
    EXPECT_EQ(Encoding(99).convertString("A\0B", 3, Encoding::utf16), String("A"));
}

TEST(EncodingTest, WhatCannotBeConvertedIsLostVisiblyOrEmpty) {
    EXPECT_EQ(Encoding(11).convertString(String("\xE4\xB8\xAD"
                                                "5"),
                                         99),
              String("?5"));
    EXPECT_EQ(Encoding(99).convertString(String("a\xFF"
                                                "b"),
                                         11),
              String("a\xC3\xBF"
                     "b"));
    EXPECT_TRUE(Encoding(7).convertString(String("abc"), 99).empty()) << "an unknown code page";
    EXPECT_TRUE(Encoding(99).convertString(String("abc"), 7).empty());

    sim::failCall("CHConvertToUnicode", ErrMemoryFull);
    EXPECT_TRUE(Encoding(11).convertString(String("abc"), 99).empty());
    sim::failCall("CHConvertFromUnicode", ErrMemoryFull, 1, 0);
    EXPECT_TRUE(Encoding(11).convertString(String("abc"), 99).empty());
    EXPECT_EQ(Encoding(11).convertString(String("abc"), 99), String("abc"));
}
