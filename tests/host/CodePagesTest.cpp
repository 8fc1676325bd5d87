#include "GSRoot/CodePages.hpp"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<UInt16> toUnicode(std::string const& bytes, UInt32 code) {
    GSSize needed = -1;
    EXPECT_EQ(CHConvertToUnicode(bytes.data(), GSSize(bytes.size()), code, nullptr, 0, &needed), NoError);
    std::vector<UInt16> units(std::size_t(needed > 0 ? needed : 0));
    EXPECT_EQ(CHConvertToUnicode(bytes.data(), GSSize(bytes.size()), code, units.data(), GSSize(units.size()),
                                 nullptr),
              NoError);
    return units;
}

std::string fromUnicode(std::vector<UInt16> const& units, UInt32 code) {
    GSSize needed = -1;
    EXPECT_EQ(CHConvertFromUnicode(units.data(), GSSize(units.size()), code, nullptr, 0, &needed), NoError);
    std::string bytes(std::size_t(needed > 0 ? needed : 0), '\0');
    EXPECT_EQ(CHConvertFromUnicode(units.data(), GSSize(units.size()), code, bytes.data(),
                                   GSSize(bytes.size()), nullptr),
              NoError);
    return bytes;
}

} // namespace

TEST(CodePagesTest, EveryCodeRoundTrips) {
    struct Case {
        UInt32 code;
        const char* utf8;
        std::string encoded;
    };
    const Case cases[] = {
        {11, "caf\xC3\xA9", "caf\xE9"},
        {12, "\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xA3\xF3\x64\x9F"},
        {13, "\xC4\x85\xC5\xBE", "\xE0\xFE"},
        {14, "\xD0\x96\xD1\x83\xD0\xBA", "\xC6\xF3\xEA"},
        {15, "\xCE\xA9\xCE\xBC", "\xD9\xEC"},
        {16, "\xC4\x9F\xC4\xB1\xC5\x9F", "\xF0\xFD\xFE"},
        {21, "\xD7\x90\xD7\x91", "\xE0\xE1"},
        {22, "\xD8\xA7\xD8\xA8", "\xC7\xC8"},
        {31, "\xE0\xB8\x81", "\xA1"},
        {32, "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B"},
        {33, "\xE4\xB8\xAD", "\xA4\xA4"},
        {34, "\xE4\xB8\xAD", "\xD6\xD0"},
        {35, "\xED\x95\x9C", "\xC7\xD1"},
        {99, "a\xE2\x82\xAC", "a\xE2\x82\xAC"},
        {100, "A\xE2\x82\xAC", std::string("A\0\xAC\x20", 4)},
        {101, "A", std::string("A\0\0\0", 4)},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_TRUE(CHIsKnownCharCode(c.code));
        std::vector<UInt16> units = toUnicode(c.utf8, 99);
        EXPECT_EQ(fromUnicode(units, c.code), c.encoded);
        EXPECT_EQ(toUnicode(c.encoded, c.code), units);
    }
}

TEST(CodePagesTest, ConversionIsBestEffort) {
    // What the code page cannot hold becomes "?"; bytes that form no character become U+FFFD.
    EXPECT_EQ(fromUnicode(toUnicode("\xE6\x97\xA5"
                                    "ab",
                                    99),
                          22),
              "?ab");
    EXPECT_EQ(fromUnicode(toUnicode("x\xE4\xB8\xAD", 99), 11), "x?");
    EXPECT_EQ(toUnicode("a\xFF", 99), (std::vector<UInt16>{'a', 0xFFFD}));
    EXPECT_EQ(toUnicode(std::string("\x41", 1), 100), (std::vector<UInt16>{0xFFFD})) << "half a UTF-16 unit";
    EXPECT_EQ(fromUnicode({0xD800, 'b'}, 99), "\xEF\xBF\xBD"
                                              "b")
        << "an unpaired surrogate";
    EXPECT_TRUE(toUnicode("", 31).empty());
    // Bytes a Windows code page leaves undefined, and the C1 controls they would stand for.
    EXPECT_EQ(toUnicode("\x81\x80", 11), (std::vector<UInt16>{0xFFFD, 0x20AC}));
    EXPECT_EQ(fromUnicode({0x81, 'a'}, 12), "?a");
    EXPECT_EQ(toUnicode("\x81", 22), (std::vector<UInt16>{0x067E})) << "Arabic defines it";
}

TEST(CodePagesTest, BadRequestsAndHostFaultsFail) {
    UInt16 units[4] = {};
    char bytes[4] = {};
    GSSize needed = 0;
    for (UInt32 code : {0u, 7u, 17u, 102u}) {
        EXPECT_FALSE(CHIsKnownCharCode(code));
        EXPECT_EQ(CHConvertToUnicode("a", 1, code, units, 4, nullptr), ErrParam);
        EXPECT_EQ(CHConvertFromUnicode(units, 1, code, bytes, 4, nullptr), ErrParam);
    }
    EXPECT_EQ(CHConvertToUnicode("a", -1, 99, units, 4, nullptr), ErrParam);
    EXPECT_EQ(CHConvertToUnicode(nullptr, 3, 99, units, 4, nullptr), ErrParam);

    // A buffer too small fails and says how much is needed.
    EXPECT_EQ(CHConvertToUnicode("abcdef", 6, 11, units, 4, &needed), ErrMemoryFull);
    EXPECT_EQ(needed, 6);
    const UInt16 text[] = {0x65E5, 0x672C, 0x65E5};
    EXPECT_EQ(CHConvertFromUnicode(text, 3, 32, bytes, 4, &needed), ErrMemoryFull);
    EXPECT_EQ(needed, 6);

    sim::failCall("CHConvertToUnicode", ErrIO);
    EXPECT_EQ(CHConvertToUnicode("a", 1, 99, units, 4, nullptr), ErrIO);
    EXPECT_EQ(CHConvertToUnicode("a", 1, 99, units, 4, nullptr), NoError);
    sim::failCall("CHConvertFromUnicode", ErrMemoryFull);
    EXPECT_EQ(CHConvertFromUnicode(units, 1, 99, bytes, 4, nullptr), ErrMemoryFull);
}

TEST(CodePagesTest, EachConversionStartsAfresh) {
    // Nothing of a conversion that broke off (a character cut short, output that did not fit)
    // reaches the next conversion of the same code.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(toUnicode("\x93", 32), (std::vector<UInt16>{0xFFFD})) << "a lead byte alone";
        EXPECT_EQ(toUnicode("\x7B", 32), (std::vector<UInt16>{'{'}));
        const UInt16 text[] = {0x65E5, 0x672C, 0x65E5};
        char bytes[3] = {};
        GSSize needed = 0;
        EXPECT_EQ(CHConvertFromUnicode(text, 3, 32, bytes, 3, &needed), ErrMemoryFull);
        EXPECT_EQ(fromUnicode({'a'}, 32), "a");
        EXPECT_EQ(toUnicode("\xE6\x97", 99), (std::vector<UInt16>{0xFFFD}));
        EXPECT_EQ(toUnicode("z", 99), (std::vector<UInt16>{'z'}));
    }
}
