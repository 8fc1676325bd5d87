#include "GSRoot/GuidCodec.hpp"
#include "ACAPI/Goodies.hpp"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Bytes {
    unsigned char b[16];
};

std::string compact(Bytes guid) {
    char text[CompactGuidLength + 1] = {};
    EXPECT_EQ(ACAPI_Goodies(GuidToCompactTextCode, guid.b, text), NoError);
    return text;
}

GSErrCode expand(const char* text, Bytes& guid) {
    return ACAPI_Goodies(CompactTextToGuidCode, const_cast<char*>(text), guid.b);
}

} // namespace

TEST(GuidCodecTest, RoundTripsEveryBit) {
    Bytes zero = {};
    EXPECT_EQ(compact(zero), std::string(22, '0'));
    Bytes ones;
    std::memset(ones.b, 0xFF, 16);
    EXPECT_EQ(compact(ones), "3" + std::string(21, '$'));

    // A single bit set at each position gives a text that reads back to it.
    for (int bit = 0; bit < 128; ++bit) {
        Bytes guid = {};
        guid.b[bit / 8] = static_cast<unsigned char>(1 << (7 - bit % 8));
        std::string text = compact(guid);
        ASSERT_EQ(text.size(), 22u);
        Bytes back;
        std::memset(back.b, 0xAA, 16);
        ASSERT_EQ(expand(text.c_str(), back), NoError) << bit;
        EXPECT_EQ(std::memcmp(back.b, guid.b, 16), 0) << bit;
    }
}

TEST(GuidCodecTest, RejectsBadTextAndLeavesTheRecord) {
    const char* bad[] = {
        "",                        // empty
        "0000000000000000000000a", // 23 characters
        "000000000000000000000",   // 21 characters
        "4000000000000000000000",  // the first character carries only 2 bits
        "00000000000000000000-0",  // not in the alphabet
        "0000000000 00000000000",
    };
    for (const char* text : bad) {
        Bytes guid;
        std::memset(guid.b, 0x5A, 16);
        EXPECT_EQ(expand(text, guid), APIERR_BADPARS) << text;
        EXPECT_EQ(guid.b[0], 0x5A);
        EXPECT_EQ(guid.b[15], 0x5A);
    }
    Bytes guid = {};
    EXPECT_EQ(expand(nullptr, guid), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Goodies(GuidToCompactTextCode, guid.b, nullptr), APIERR_BADPARS);
}

TEST(GuidCodecTest, AnswersInjectedErrors) {
    Bytes guid = {};
    guid.b[3] = 7;
    char text[CompactGuidLength + 1] = "unchanged";
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Goodies(GuidToCompactTextCode, guid.b, text), APIERR_GENERAL);
    EXPECT_STREQ(text, "unchanged");
    EXPECT_EQ(ACAPI_Goodies(GuidToCompactTextCode, guid.b, text), NoError);
    EXPECT_EQ(sim::callCount("ACAPI_Goodies"), 2u);
}
