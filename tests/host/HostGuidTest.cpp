#include "GSRoot/Guid.hpp"
#include "sim/Guid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(HostGuidTest, TextFormRoundTripsInEitherCase) {
    GS::Guid guid(0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10});
    char text[GS::Guid::TextLength + 1];
    guid.ConvertToString(text);
    EXPECT_STREQ(text, "0123ABCD-4567-89EF-FEDC-BA9876543210");

    GS::Guid upper;
    ASSERT_EQ(upper.ConvertFromString(text), NoError);
    EXPECT_EQ(upper, guid);
    GS::Guid lower;
    ASSERT_EQ(lower.ConvertFromString("0123abcd-4567-89ef-fedc-ba9876543210"), NoError);
    EXPECT_EQ(lower, guid);
}

TEST(HostGuidTest, MalformedTextIsRejectedAndLeavesTheValue) {
    const char* bad[] = {
        "",
        "0123ABCD-4567-89EF-FEDC-BA987654321",   // one digit short
        "0123ABCD-4567-89EF-FEDC-BA98765432100", // one digit more
        "0123ABCD_4567-89EF-FEDC-BA9876543210",  // wrong separator
        "0123ABCD-4567-89EF-FEDCBA9876543210-",  // separator misplaced
        "0123ABCG-4567-89EF-FEDC-BA9876543210",  // not a digit
        "{0123ABCD-4567-89EF-FEDC-BA98765432}",
        nullptr,
    };
    GS::Guid guid;
    guid.Generate();
    const GS::Guid before = guid;
    for (const char* text : bad) {
        EXPECT_EQ(guid.ConvertFromString(text), ErrParam) << (text ? text : "null");
        EXPECT_EQ(guid, before);
    }
}

TEST(HostGuidTest, GeneratorIsDeterministicPerSeedAndUnique) {
    auto sequence = [](UInt64 seed) {
        sim::seedGuidGenerator(seed);
        std::vector<std::string> texts;
        for (int i = 0; i < 200; ++i) {
            GS::Guid guid;
            guid.Generate();
            EXPECT_FALSE(guid.IsNull());
            EXPECT_EQ(guid.data3 >> 12, 4) << "version 4";
            EXPECT_EQ(guid.data4[0] >> 6, 2) << "RFC 4122 variant";
            char text[GS::Guid::TextLength + 1];
            guid.ConvertToString(text);
            texts.push_back(text);
        }
        return texts;
    };
    std::vector<std::string> first = sequence(7);
    EXPECT_EQ(sequence(7), first);
    EXPECT_NE(sequence(8), first);
    EXPECT_EQ(std::set<std::string>(first.begin(), first.end()).size(), first.size());
}

TEST(HostGuidTest, NullClearAndHash) {
    GS::Guid guid;
    EXPECT_TRUE(guid.IsNull());
    guid.Generate();
    GS::Guid copy = guid;
    EXPECT_EQ(copy.GenerateHashValue(), guid.GenerateHashValue());
    copy.data4[7] ^= 1;
    EXPECT_NE(copy, guid);
    EXPECT_NE(copy.GenerateHashValue(), guid.GenerateHashValue());
    guid.Clear();
    EXPECT_TRUE(guid.IsNull());
}

TEST(HostGuidTest, CompareFollowsTheTextForm) {
    const char* sorted[] = {"00000000-0000-0000-0000-000000000000", "00000000-0000-0000-0000-000000000001",
                            "00000000-0000-0000-0100-000000000000", "00000000-0000-0001-0000-000000000000",
                            "00000001-0000-0000-0000-000000000000", "FFFFFFFF-0000-0000-0000-000000000000"};
    for (const char* a : sorted) {
        for (const char* b : sorted) {
            GS::Guid x;
            GS::Guid y;
            ASSERT_EQ(x.ConvertFromString(a), NoError);
            ASSERT_EQ(y.ConvertFromString(b), NoError);
            int expected = std::string(a) < std::string(b) ? -1 : (std::string(a) == b ? 0 : 1);
            EXPECT_EQ(x.Compare(y), expected) << a << " " << b;
        }
    }
}
