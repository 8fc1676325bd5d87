// Random bytes and random reads: every reader must stop cleanly whatever the input holds.
#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "Environment/LegacyBinaryIn.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "Environment/Time.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace zelvane;

namespace {

std::string randomBytes(std::mt19937& random, std::size_t length) {
    // Mostly text-like bytes, with line ends, delimiters, zero bytes and high bytes mixed in.
    static const char pool[] =
        "ab \t\r\n0123456789.-<>=\"/\0\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\xFE\xD8\xDC";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(pool) - 2);
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        bytes.push_back(pool[pick(random)]);
    }
    return bytes;
}

void exercise(DataBufferIn& in, std::mt19937& random) {
    std::uniform_int_distribution<int> action(0, 7);
    for (int step = 0; step < 40; ++step) {
        String out;
        int value = 0;
        unsigned int number = 0;
        bool flag = false;
        char c = 0;
        switch (action(random)) {
        case 0:
            in.getLine(out, step % 2 == 0);
            break;
        case 1:
            in.iterateTo(String("<>\""), &out, step % 3 == 0, step % 2 == 0, false);
            break;
        case 2:
            in.iterateTo(String("=/"), &out, true, false, true);
            break;
        case 3:
            in >> value;
            break;
        case 4:
            in >> number >> flag;
            break;
        case 5:
            in.getString(out, unsigned(step));
            break;
        case 6:
            in.get(c);
            break;
        default:
            in.skip(step % 5);
            break;
        }
        ASSERT_GE(in.getRowPosition(), 1);
        ASSERT_GE(in.getColPosition(), 0);
    }
}

} // namespace

TEST(StreamRobustnessTest, RandomTextInMemory) {
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = randomBytes(random, random() % 200);
        MemoryBlock block(bytes.data(), int(bytes.size()));
        DataBufferIn in(block);
        exercise(in, random);
    }
}

TEST(StreamRobustnessTest, RandomTextInFilesOfEveryForm) {
    namespace fs = std::filesystem;
    fs::path dir = sim::sandboxRoot() / "streams" / "robustness";
    fs::create_directories(dir);
    const std::string marks[] = {"",
                                 "\xEF\xBB\xBF",
                                 "\xFF\xFE",
                                 "\xFE\xFF",
                                 std::string("\xFF\xFE\0\0", 4),
                                 std::string("\0\0\xFE\xFF", 4)};
    std::mt19937 random(678);
    for (int round = 0; round < 120; ++round) {
        std::string bytes = marks[round % 6] + randomBytes(random, random() % 300);
        std::ofstream(dir / "random", std::ios::binary) << bytes;
        DataFile file(String((dir / "random").c_str()), DataFile::readOnly, false);
        DataBufferIn in(&file);
        exercise(in, random);
    }
}

TEST(StreamRobustnessTest, RandomLegacyRecords) {
    std::mt19937 random(999);
    std::uniform_int_distribution<int> action(0, 8);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = randomBytes(random, random() % 64);
        DataBufferIn source(bytes.data(), int(bytes.size()), 99);
        LegacyBinaryIn in(&source, Platform::Endianness(1 + round % 2));
        for (int step = 0; step < 20 && !in.atEnd(); ++step) {
            int i = 0;
            unsigned int u = 0;
            short s = 0;
            unsigned short us = 0;
            double d = 0;
            bool b = false;
            String text;
            Time time;
            switch (action(random)) {
            case 0:
                in >> i;
                break;
            case 1:
                in >> u;
                break;
            case 2:
                in >> s;
                break;
            case 3:
                in >> us;
                break;
            case 4:
                in >> d;
                break;
            case 5:
                in >> b;
                break;
            case 6:
                in >> text;
                break;
            case 7:
                in >> time;
                break;
            default:
                in.setEndianness(Platform::Endianness(1 + step % 2));
                break;
            }
        }
        EXPECT_FALSE(in.failed());
    }
}
