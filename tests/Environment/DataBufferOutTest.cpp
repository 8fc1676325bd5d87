#include "Environment/DataBufferOut.h"
#include "Environment/Memory.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "sim/Memory.h"

#include <gtest/gtest.h>

#include <string>

using zelvane::DataBufferOut;
using zelvane::MemoryBlock;
using zelvane::StreamBase;
using zelvane::String;

namespace {

std::string str(String const& text) {
    return std::string(text.data(), text.dataLength());
}

std::string bytesOf(MemoryBlock const& block) {
    return block.getHandle() == nullptr ? std::string()
                                        : std::string(*block.getHandle(), std::size_t(block.size()));
}

std::string pattern(int length) {
    std::string bytes;
    for (int i = 0; i < length; ++i) {
        bytes.push_back(char('a' + i % 26));
    }
    return bytes;
}

} // namespace

TEST(DataBufferOutTest, FlushesWhenTheBufferIsFullAndAtTheEnd) {
    std::string bytes = pattern(100000);
    String text("head:");
    {
        DataBufferOut out(&text);
        out.write(bytes.data(), int(bytes.size()));
        EXPECT_EQ(text.dataLength(), 5u + DataBufferOut::bufferSize);
    }
    EXPECT_EQ(str(text), "head:" + bytes);

    MemoryBlock block;
    {
        DataBufferOut out(&block);
        for (char c : bytes) {
            out.put(c);
        }
        out.flushBuffer();
        EXPECT_EQ(block.size(), 100000);
    }
    EXPECT_EQ(bytesOf(block), bytes);
}

TEST(DataBufferOutTest, GrowsAHostPointerBlock) {
    char* pointer = nullptr;
    std::string bytes = pattern(70000);
    {
        DataBufferOut out(&pointer);
        out.write("start", 5);
        out.flushBuffer();
        ASSERT_NE(pointer, nullptr);
        EXPECT_EQ(zelvane::getPtrSize(pointer), 5);
        out.write(bytes.data(), int(bytes.size()));
    }
    ASSERT_EQ(zelvane::getPtrSize(pointer), 70005);
    EXPECT_EQ(std::string(pointer, 70005), "start" + bytes);

    // A block the caller gave that is large enough is written into as it is.
    char* roomy = zelvane::allocatePtr(16);
    {
        DataBufferOut out(&roomy);
        out << "abc";
    }
    EXPECT_EQ(zelvane::getPtrSize(roomy), 16);
    EXPECT_EQ(std::string(roomy, 3), "abc");

    // The caller dropping the block between flushes gets one holding everything written.
    char* dropped = nullptr;
    {
        DataBufferOut out(&dropped);
        out << "abc";
        out.flushBuffer();
        zelvane::disposePtr(&dropped);
        out << "defg";
    }
    ASSERT_EQ(zelvane::getPtrSize(dropped), 7);
    EXPECT_EQ(std::string(dropped + 3, 4), "defg");
    zelvane::disposePtr(&pointer);
    zelvane::disposePtr(&roomy);
    zelvane::disposePtr(&dropped);
}

TEST(DataBufferOutTest, FormatsValues) {
    String text;
    {
        DataBufferOut out(&text);
        out << "n=" << 42 << " " << -7 << " " << 4000000000u << " " << short(-3) << " "
            << (unsigned short)(65535) << " " << 0.1 << " " << 1234567.0 << " " << true << false;
        out.setFlags(StreamBase::booleanText);
        out << " " << true << " " << false << " ";
        out.write(String("\xC3\xA9"));
        out.put('!');
        out << static_cast<char const*>(nullptr);
    }
    EXPECT_EQ(str(text), "n=42 -7 4000000000 -3 65535 0.1 1.23457e+06 10 true false \xC3\xA9!");
}

TEST(DataBufferOutTest, SetDestinationFlushesToTheOldOne) {
    String first;
    String second;
    MemoryBlock block;
    char* pointer = nullptr;
    {
        DataBufferOut out(&first);
        out << "one";
        out.setDestination(&second);
        EXPECT_EQ(str(first), "one");
        out << "two";
        out.setDestination(&block);
        out << "three";
        out.setDestination(&pointer);
        out << "four";
        out.initialise(nullptr, nullptr, &first, nullptr, true);
        out << "!";
    }
    EXPECT_EQ(str(first), "one!");
    EXPECT_EQ(str(second), "two");
    EXPECT_EQ(bytesOf(block), "three");
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(std::string(pointer, 4), "four");
    zelvane::disposePtr(&pointer);

    // Without a destination bytes go nowhere.
    DataBufferOut nowhere;
    nowhere << "lost";
    nowhere.flushBuffer();
    EXPECT_EQ(nowhere.getState(), 0);
    EXPECT_EQ(nowhere.getLastError(), 0);
}

TEST(DataBufferOutTest, FailedFlushStopsTheStreamWithoutThrowing) {
    MemoryBlock block("kept", 4);
    DataBufferOut out(&block);
    out << "more";
    sim::failNextAllocations(1);
    EXPECT_NO_THROW(out.flushBuffer());
    EXPECT_EQ(out.getState(), StreamBase::failure);
    EXPECT_NE(out.getLastError(), 0);
    EXPECT_EQ(bytesOf(block), "kept");
    out << "ignored";
    out.put('x');
    out.flushBuffer();
    EXPECT_EQ(bytesOf(block), "kept");

    // A new destination clears the state.
    String text;
    out.setDestination(&text);
    out << "fresh";
    out.flushBuffer();
    EXPECT_EQ(str(text), "fresh");

    // A flush that fails in the destructor is swallowed.
    char* pointer = nullptr;
    {
        DataBufferOut last(&pointer);
        last << "x";
        sim::failNextAllocations(1);
    }
    EXPECT_EQ(pointer, nullptr);
}
