#include "GSRoot/IV.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <typename T>
T fromBytes(const unsigned char (&bytes)[sizeof(T)]) {
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

} // namespace

TEST(IVTest, ConvertsBySign) {
    const bool littleMachine = GSGetMachinePlatformSign() == LittleEndianPlatformSign;
    const unsigned char raw[4] = {0x11, 0x22, 0x33, 0x44};

    Int32 big = fromBytes<Int32>(raw);
    ASSERT_EQ(IVLong(BigEndianPlatformSign, &big), NoError);
    EXPECT_EQ(big, littleMachine ? 0x11223344 : 0x44332211);

    Int32 little = fromBytes<Int32>(raw);
    ASSERT_EQ(IVLong(LittleEndianPlatformSign, &little), NoError);
    EXPECT_EQ(little, littleMachine ? 0x44332211 : 0x11223344);

    UInt32 windows = fromBytes<UInt32>(raw);
    ASSERT_EQ(IVULong(WindowsPlatformSign, &windows), NoError);
    EXPECT_EQ(windows, littleMachine ? 0x44332211u : 0x11223344u);

    const unsigned char raw16[2] = {0xFF, 0xFE};
    Int16 s = fromBytes<Int16>(raw16);
    ASSERT_EQ(IVShort(BigEndianPlatformSign, &s), NoError);
    EXPECT_EQ(s, littleMachine ? Int16(-2) : Int16(-257));
    UInt16 us = fromBytes<UInt16>(raw16);
    ASSERT_EQ(IVUShort(BigEndianPlatformSign, &us), NoError);
    EXPECT_EQ(us, littleMachine ? 0xFFFE : 0xFEFF);

    // 1.5 as an IEEE double, big-endian.
    const unsigned char rawDouble[8] = {0x3F, 0xF8, 0, 0, 0, 0, 0, 0};
    double d = fromBytes<double>(rawDouble);
    ASSERT_EQ(IVDouble(BigEndianPlatformSign, &d), NoError);
    EXPECT_EQ(d, 1.5);
    double twice = 1.5;
    ASSERT_EQ(IVDouble(GSGetMachinePlatformSign(), &twice), NoError);
    EXPECT_EQ(twice, 1.5);
}

TEST(IVTest, RefusesUnknownSignsAndNull) {
    Int32 value = 0x01020304;
    EXPECT_EQ(IVLong(0x1234, &value), ErrParam);
    EXPECT_EQ(value, 0x01020304);
    EXPECT_EQ(IVLong(BigEndianPlatformSign, nullptr), ErrParam);
    EXPECT_EQ(IVDouble(0, nullptr), ErrParam);
}
