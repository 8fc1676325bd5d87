#include "Environment/ByteOrder.h"
#include "Environment/String.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zelvane;

TEST(ByteOrderTest, ReversesTheBytesOfEachScalar) {
    unsigned int u = 0x11223344u;
    byteSwap(u);
    EXPECT_EQ(u, 0x44332211u);
    int i = 0x11223344;
    byteSwap(i);
    EXPECT_EQ(i, 0x44332211);
    int negative = -2; // 0xFFFFFFFE
    byteSwap(negative);
    EXPECT_EQ(static_cast<unsigned int>(negative), 0xFEFFFFFFu);
    unsigned short us = 0xA1B2;
    byteSwap(us);
    EXPECT_EQ(us, 0xB2A1);
    short s = 0x0180;
    byteSwap(s);
    EXPECT_EQ(s, short(0x8001));

    double d = 1.5;
    unsigned char original[8];
    std::memcpy(original, &d, 8);
    byteSwap(d);
    unsigned char bytes[8];
    std::memcpy(bytes, &d, 8);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(bytes[k], original[7 - k]) << k;
    }
    byteSwap(d);
    EXPECT_EQ(d, 1.5) << "swapping twice restores the value";

    String text("abc");
    byteSwap(text);
    EXPECT_EQ(text, "abc");
}
