// Long output into a growing destination costs a number of allocations that grows with the
// logarithm of its length, and the text stays exact.
#include "Environment/DataBufferOut.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <string>

using zelvane::DataBufferOut;
using zelvane::String;

namespace {

std::string str(String const& text) {
    return std::string(text.data(), text.dataLength());
}

} // namespace

TEST(DataBufferOutGrowthTest, AStringGrowsGeometrically) {
    std::string expected = "head:";
    String text(expected.c_str());
    std::size_t before = sim::memoryStats().allocations;
    {
        DataBufferOut out(&text);
        std::string line = "<entry name=\"x\">0123456789</entry>\n";
        for (int i = 0; i < 120000; ++i) {
            out << line.c_str();
            expected += line;
        }
    }
    std::size_t grown = sim::memoryStats().allocations - before;
    ASSERT_EQ(text.dataLength(), expected.size());
    EXPECT_EQ(str(text), expected);
    EXPECT_GE(text.capacity(), text.dataLength());
    // About 4 MB in 60 KB flushes: one allocation per flush would be 70 and more.
    EXPECT_LT(grown, 20u);
}

TEST(DataBufferOutGrowthTest, ATextChangedBetweenFlushesIsAppendedTo) {
    String text("head:");
    DataBufferOut out(&text);
    out << "one";
    out.flushBuffer();
    text += "X";
    out << "two";
    out.flushBuffer();
    EXPECT_EQ(str(text), "head:oneXtwo");
    text.clear();
    out << "three";
    out.flushBuffer();
    EXPECT_EQ(str(text), "three");
    text = "ab";
    out << "four";
    out.flushBuffer();
    EXPECT_EQ(str(text), "abfour");
    text = "a much longer text than before";
    out << "!";
    out.flushBuffer();
    EXPECT_EQ(str(text), "a much longer text than before!");
}

TEST(DataBufferOutGrowthTest, AFailedGrowthKeepsTheText) {
    String text("kept");
    DataBufferOut out(&text);
    std::string big(std::size_t(DataBufferOut::bufferSize) + 10, 'z');
    sim::failNextAllocations(1);
    out << big.c_str();
    EXPECT_TRUE(out.failed());
    EXPECT_EQ(str(text), "kept");
    out.flushBuffer();
    EXPECT_EQ(str(text), "kept");
}
