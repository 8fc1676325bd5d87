#include "Environment/LegacyBinaryIn.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "Environment/String.h"
#include "Environment/Time.h"

#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <cstring>
#include <string>

using zelvane::DataBufferIn;
using zelvane::DataFile;
using zelvane::LegacyBinaryIn;
using zelvane::Platform;
using zelvane::StreamBase;
using zelvane::String;
using zelvane::Time;

namespace {

const auto bigEndian = Platform::Endianness(1);
const auto littleEndian = Platform::Endianness(2);

std::string str(String const& text) {
    return std::string(text.data(), text.dataLength());
}

// The bytes of a record as an earlier release wrote it: an int, an unsigned int, a short, an
// unsigned short, a double, a bool and a string.
std::string record(bool big) {
    auto order = [big](std::string bytes) { return big ? bytes : std::string(bytes.rbegin(), bytes.rend()); };
    std::string bytes;
    bytes += order(std::string("\xFF\xFF\xFF\xFE", 4));                 // -2
    bytes += order(std::string("\x80\x00\x00\x01", 4));                 // 0x80000001
    bytes += order(std::string("\x12\x34", 2));                         // 0x1234
    bytes += order(std::string("\xFE\xDC", 2));                         // 0xFEDC
    bytes += order(std::string("\x3F\xF8\x00\x00\x00\x00\x00\x00", 8)); // 1.5
    bytes += std::string("\x02", 1);                                    // true
    bytes += std::string("caf\xC3\xA9\0", 6);
    return bytes;
}

} // namespace

TEST(LegacyBinaryInTest, ReadsEitherByteOrder) {
    for (bool big : {true, false}) {
        std::string bytes = record(big);
        DataBufferIn source(bytes.data(), int(bytes.size()), 99);
        LegacyBinaryIn in(&source, big ? bigEndian : littleEndian);
        EXPECT_EQ(in.getPlatformSign(), big ? 0x4D4D : 0x6D6D);
        int i = 0;
        unsigned int u = 0;
        short s = 0;
        unsigned short us = 0;
        double d = 0;
        bool b = false;
        String text;
        in >> i >> u >> s >> us >> d >> b >> text;
        EXPECT_EQ(i, -2) << big;
        EXPECT_EQ(u, 0x80000001u) << big;
        EXPECT_EQ(s, 0x1234) << big;
        EXPECT_EQ(us, 0xFEDC) << big;
        EXPECT_EQ(d, 1.5) << big;
        EXPECT_TRUE(b) << big;
        EXPECT_EQ(str(text), "caf\xC3\xA9") << big;
        EXPECT_EQ(in.getState(), 0) << big;
        // Nothing is left: the next read reaches the end.
        text = "x";
        in >> text;
        EXPECT_TRUE(text.empty());
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(LegacyBinaryInTest, ByteOrderChangesBetweenReads) {
    std::string bytes("\x00\x00\x00\x07\x07\x00\x00\x00", 8);
    DataBufferIn source(bytes.data(), int(bytes.size()), 99);
    LegacyBinaryIn in(&source, bigEndian);
    int first = 0;
    int second = 0;
    in >> first;
    in.setEndianness(littleEndian);
    EXPECT_EQ(in.getPlatformSign(), 0x6D6D);
    in >> second;
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 7);
}

TEST(LegacyBinaryInTest, ShortReadZeroesTheMissingBytes) {
    std::string bytes("\x01\x02", 2);
    for (bool big : {true, false}) {
        DataBufferIn source(bytes.data(), int(bytes.size()), 99);
        LegacyBinaryIn in(&source, big ? bigEndian : littleEndian);
        int value = -1;
        in >> value;
        EXPECT_EQ(value, big ? 0x01020000 : 0x0201) << big;
        EXPECT_TRUE(in.atEnd());
        EXPECT_FALSE(in.failed());
        // At the end a number reads as 0 and a boolean keeps its value.
        double d = 5;
        in >> d;
        EXPECT_EQ(d, 0.0);
        bool b = true;
        in >> b;
        EXPECT_TRUE(b);
    }

    // A string without its zero byte ends at the end of the data.
    std::string open("AB");
    DataBufferIn source(open.data(), 2, 99);
    LegacyBinaryIn in(&source, bigEndian);
    String text;
    in >> text;
    EXPECT_EQ(str(text), "AB");
    EXPECT_TRUE(in.atEnd());
}

TEST(LegacyBinaryInTest, NullSourceTouchesNothing) {
    LegacyBinaryIn in(nullptr, bigEndian);
    EXPECT_EQ(in.getState(), StreamBase::failure);
    EXPECT_EQ(in.getLastError(), 1);
    int i = 3;
    double d = 2.5;
    bool b = true;
    char c = 'c';
    String text("kept");
    Time time(2001, 2, 3, 4, 5, 6);
    in >> i >> d >> b >> text >> time;
    in.get(c);
    EXPECT_EQ(i, 3);
    EXPECT_EQ(d, 2.5);
    EXPECT_TRUE(b);
    EXPECT_EQ(c, 'c');
    EXPECT_EQ(str(text), "kept");
    EXPECT_EQ(time, Time(2001, 2, 3, 4, 5, 6));

    // A failed source stops reading too.
    String bad("x");
    DataBufferIn source(bad);
    int token = 0;
    source >> token;
    ASSERT_TRUE(source.failed());
    in.setSource(&source, littleEndian);
    EXPECT_EQ(in.getState(), source.getState());
    EXPECT_TRUE(in.failed());
    in >> i;
    EXPECT_EQ(i, 3);
}

TEST(LegacyBinaryInTest, Times) {
    struct Case {
        const char* text;
        bool read;
        Time expected;
    };
    const Case cases[] = {
        {"5/3/2017/14/30/15/", true, Time(2017, 3, 5, 14, 30, 15)},
        {"31/12/2100/23/59/59", true, Time(2100, 12, 31, 23, 59, 59)},
        {"32/1/2000/0/0/0/", false, Time()},
        {"1/13/2000/0/0/0/", false, Time()},
        {"1/1/2101/0/0/0/", false, Time()},
        {"1/1/2000/24/0/0/", false, Time()},
        {"1/1/2000/0/60/0/", false, Time()},
        {"1/1/2000/0/0/", false, Time()},
        {"1/1/2000", false, Time()},
        {"", false, Time()},
        {"x/1/2000/0/0/0/", false, Time()},
    };
    for (const Case& c : cases) {
        std::string bytes(c.text);
        bytes.push_back('\0');
        bytes += "next";
        bytes.push_back('\0');
        DataBufferIn source(bytes.data(), int(bytes.size()), 99);
        LegacyBinaryIn in(&source, bigEndian);
        Time unchanged(1999, 9, 9, 9, 9, 9);
        Time value = unchanged;
        in >> value;
        EXPECT_EQ(value, c.read ? c.expected : unchanged) << c.text;
        String after;
        in >> after;
        EXPECT_EQ(str(after), "next") << c.text;
    }
}

TEST(LegacyBinaryInTest, FilesInBothByteOrders) {
    namespace fs = std::filesystem;
    fs::path dir = sim::sandboxRoot() / "legacy";
    fs::create_directories(dir);
    for (bool big : {true, false}) {
        // Enough records that some straddle the stream's buffer refills.
        std::string bytes;
        const int records = 5000;
        for (int i = 0; i < records; ++i) {
            bytes += record(big);
        }
        fs::path file = dir / (big ? "big.db" : "little.db");
        std::ofstream(file, std::ios::binary) << bytes;
        DataFile data(String(file.c_str()), DataFile::readOnly, false);
        DataBufferIn source(&data);
        LegacyBinaryIn in(&source, big ? bigEndian : littleEndian);
        int good = 0;
        for (int i = 0; i < records; ++i) {
            int n = 0;
            unsigned int u = 0;
            short s = 0;
            unsigned short us = 0;
            double d = 0;
            bool b = false;
            String text;
            in >> n >> u >> s >> us >> d >> b >> text;
            good += n == -2 && u == 0x80000001u && s == 0x1234 && us == 0xFEDC && d == 1.5 && b &&
                    str(text) == "caf\xC3\xA9";
        }
        EXPECT_EQ(good, records) << big;
        EXPECT_EQ(in.getState(), 0) << big;
        String end;
        in >> end;
        EXPECT_TRUE(in.atEnd()) << big;
        EXPECT_FALSE(in.failed()) << big;
    }

    // A read failure of the file shows in the reader's state and error.
    fs::path file = dir / "failing.db";
    std::ofstream(file, std::ios::binary) << std::string(100000, '\x01');
    DataFile data(String(file.c_str()), DataFile::readOnly, false);
    DataBufferIn source(&data);
    LegacyBinaryIn in(&source, littleEndian);
    sim::failRead(ErrIO, 1, 1);
    int value = 0;
    for (int i = 0; i < 100000 / 4 && !in.failed(); ++i) {
        in >> value;
    }
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.getLastError(), ErrIO);
    int untouched = 42;
    in >> untouched;
    EXPECT_EQ(untouched, 42);
}
