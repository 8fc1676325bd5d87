#include "Environment/Guid.h"
#include "Environment/String.h"

#include "GSRoot/Guid.hpp"
#include "sim/Guid.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelvane;

TEST(GuidTest, TextFormRoundTrips) {
    Guid guid(String("0123abcd-4567-89ef-FEDC-ba9876543210"));
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid.toString(), "0123ABCD-4567-89EF-FEDC-BA9876543210");
    char buffer[Guid::textLength + 1];
    EXPECT_STREQ(guid.copyTo(buffer), "0123ABCD-4567-89EF-FEDC-BA9876543210");
    String text("left over");
    EXPECT_EQ(guid.copyTo(text), "0123ABCD-4567-89EF-FEDC-BA9876543210");
    EXPECT_EQ(Guid(guid.toString()), guid);

    GS::Guid host = guid;
    char hostText[GS::Guid::TextLength + 1];
    host.ConvertToString(hostText);
    EXPECT_STREQ(hostText, buffer) << "the same value as the host's record";
    EXPECT_EQ(Guid(host), guid);
}

TEST(GuidTest, UnparsableTextGivesTheNullGuid) {
    Guid fresh(String("not a guid"));
    EXPECT_FALSE(fresh);
    EXPECT_EQ(fresh.toString(), "00000000-0000-0000-0000-000000000000");

    Guid guid;
    guid.generate();
    guid = String("0123ABCD-4567-89EF-FEDC-BA987654321"); // one digit short
    EXPECT_FALSE(guid) << "assignment replaces the value, also by the null GUID";
    guid = String("");
    EXPECT_FALSE(guid);
}

TEST(GuidTest, GenerateClearAndOrder) {
    sim::seedGuidGenerator(1);
    std::set<Guid> seen;
    Guid previous;
    for (int i = 0; i < 100; ++i) {
        Guid guid;
        guid.generate();
        EXPECT_TRUE(guid);
        EXPECT_NE(guid, previous);
        seen.insert(guid);
        previous = guid;
    }
    EXPECT_EQ(seen.size(), 100u);

    sim::seedGuidGenerator(1);
    Guid again;
    again.generate();
    EXPECT_EQ(again, *seen.find(again)) << "the same seed gives the same values";
    again.clear();
    EXPECT_FALSE(again);
}

TEST(GuidTest, OrderIsTheHosts) {
    // Pairs that differ in one group each, where the raw words of the record would rank a later
    // group above an earlier one.
    const char* const ids[] = {
        "00000000-0000-0000-0000-000000000000", "00000000-0000-0000-0000-000000000001",
        "00000000-0000-0000-0000-010000000000", "00000000-0000-0000-0001-000000000000",
        "00000000-0000-0000-0100-000000000000", "00000000-0000-0001-0000-000000000000",
        "00000000-0000-0100-FFFF-FFFFFFFFFFFF", "00000000-0001-0000-0000-000000000000",
        "00000000-FFFF-FFFF-FFFF-FFFFFFFFFFFF", "00000001-0000-0000-0000-000000000000",
        "01000000-0000-0000-0000-000000000000", "FFFFFFFF-0000-0000-0000-000000000000",
    };
    for (const char* left : ids) {
        for (const char* right : ids) {
            GS::Guid hostLeft;
            GS::Guid hostRight;
            ASSERT_EQ(hostLeft.ConvertFromString(left), NoError);
            ASSERT_EQ(hostRight.ConvertFromString(right), NoError);
            EXPECT_EQ(Guid(String(left)) < Guid(String(right)), hostLeft.Compare(hostRight) < 0)
                << left << " < " << right;
        }
    }
    // The list is in the host's order, so a sorted set keeps it.
    std::set<Guid> sorted;
    for (const char* id : ids) {
        sorted.insert(Guid(String(id)));
    }
    std::size_t index = 0;
    for (const Guid& guid : sorted) {
        EXPECT_EQ(guid.toString(), String(ids[index++]));
    }
}

TEST(GuidTest, HashValueFollowsTheValue) {
    Guid a(String("0123ABCD-4567-89EF-FEDC-BA9876543210"));
    Guid b(String("0123abcd-4567-89ef-fedc-ba9876543210"));
    EXPECT_EQ(a.getHashValue(), b.getHashValue());
    EXPECT_EQ(a.getHashValue(), static_cast<unsigned short>(static_cast<GS::Guid>(a).GenerateHashValue()));
    Guid c(String("0123ABCD-4567-89EF-FEDC-BA9876543211"));
    EXPECT_NE(a.getHashValue(), c.getHashValue());
}
