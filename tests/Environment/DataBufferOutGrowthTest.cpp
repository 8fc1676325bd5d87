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

TEST(DataBufferOutGrowthTest, LongTextsShortenedByTheOwnerAreAppendedWhereTheyEnd) {
    struct Case {
        const char* name;
        std::size_t written;              // bytes the stream wrote before the owner's change
        void (*change)(String& text);     // what the owner does between two flushes
        std::string (*kept)(std::string); // the text the owner's change leaves
    };
    const Case cases[] = {
        {"assigned a short text", 100, [](String& t) { t = "short"; },
         [](std::string) { return std::string("short"); }},
        {"erased past 40", 100, [](String& t) { t.erase(40); },
         [](std::string w) { return w.substr(0, 40); }},
        {"cut through operator[]", 100, [](String& t) { t[10] = 0; },
         [](std::string w) { return w.substr(0, 10); }},
        {"cleared", 5000, [](String& t) { t.clear(); }, [](std::string) { return std::string(); }},
        {"assigned 70 bytes", 5000, [](String& t) { t = String(70, 'q'); },
         [](std::string) { return std::string(70, 'q'); }},
        {"appended to", 200, [](String& t) { t += String(100, 'p'); },
         [](std::string w) { return w + std::string(100, 'p'); }},
        {"resized shorter", 150000, [](String& t) { t.resize(1000); },
         [](std::string w) { return w.substr(0, 1000); }},
    };
    for (const Case& c : cases) {
        String text;
        DataBufferOut out(&text);
        std::string written;
        for (std::size_t i = 0; i < c.written; ++i) {
            written += char('a' + i % 26);
        }
        out.write(written.data(), int(written.size()));
        out.flushBuffer();
        ASSERT_EQ(str(text), written) << c.name;
        c.change(text);
        out << "xyz";
        out.flushBuffer();
        EXPECT_EQ(str(text), c.kept(written) + "xyz") << c.name;
        out << "!";
        out.flushBuffer();
        EXPECT_EQ(str(text), c.kept(written) + "xyz!") << c.name;
    }
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
