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

// What a read appended, zero bytes of the text included.
std::string str(String const& text) {
    return std::string(text.data(), text.terminatorOffset());
}

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

// Rows and columns counted from the characters the stream handed out, as a reader of the text
// counts them: each CR, LF or CR LF ends a line; a character read by a scan moves one column on,
// one read by getString does not.
class Positions {
public:
    void count(std::string const& text, bool columns = true) {
        for (std::size_t i = 0; i < text.size(); i += length(static_cast<unsigned char>(text[i]))) {
            char c = text[i];
            if (c == '\r') {
                ++m_row;
                m_column = 0;
                m_afterCR = true;
                continue;
            }
            if (c == '\n') {
                m_row += m_afterCR ? 0 : 1;
                m_column = 0;
            } else if (columns) {
                ++m_column;
            }
            m_afterCR = false;
        }
    }
    // A token read for a number: characters up to white space, which hold no line break.
    void countToken(DataBufferIn const& in) {
        ASSERT_EQ(in.getRowPosition(), m_row) << "a token holds no line break";
        ASSERT_GE(in.getColPosition(), m_column);
        if (in.getColPosition() > m_column) {
            m_column = in.getColPosition();
            m_afterCR = false;
        }
    }
    int row() const { return m_row; }
    int column() const { return m_column; }

private:
    // Bytes of the UTF-8 character that starts with this byte.
    static std::size_t length(unsigned char lead) {
        return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    }

    int m_row = 1;
    int m_column = 0;
    bool m_afterCR = false;
};

// Random reads; answers the lines the reads went past, so that a caller can see they got on.
int exercise(DataBufferIn& in, std::mt19937& random) {
    std::uniform_int_distribution<int> action(0, 8);
    Positions expected;
    for (int step = 0; step < 40; ++step) {
        String out;
        int value = 0;
        bool flag = false;
        char c = 0;
        int result = 0;
        int chosen = action(random);
        switch (chosen) {
        case 0:
            result = in.getLine(out, true);
            expected.count(str(out));
            break;
        case 1:
            result = in.iterateTo(String("<>\""), &out, step % 2 == 0, step % 2 == 0, false);
            expected.count(str(out));
            break;
        case 2:
            // The delimiter, none of them a line break, is read past without being handed out.
            result = in.iterateTo(String("<>\""), &out, true, false, false);
            expected.count(str(out) + (result == DataBufferIn::foundDelimiter ? "<" : ""));
            break;
        case 3:
            result = in.iterateTo(String("=/"), &out, true, true, true);
            expected.count(str(out));
            break;
        case 4:
            in >> value;
            expected.countToken(in);
            break;
        case 5:
            in >> value;
            expected.countToken(in);
            in >> flag;
            expected.countToken(in);
            break;
        case 6:
            in.getString(out, unsigned(step));
            expected.count(str(out), false);
            break;
        case 7:
            // Raw bytes are no characters: they move neither rows nor columns.
            in.get(c);
            break;
        default:
            in.skip(step % 5);
            break;
        }
        if (result == DataBufferIn::undecodable) {
            // A reader that passes over a byte it cannot decode.
            in.skip(1);
        }
        if (in.failed() && !in.atEnd()) {
            // A reader that goes on after a token that was no number.
            in.clearState();
        }
        EXPECT_EQ(in.getRowPosition(), expected.row()) << "step " << step;
        EXPECT_EQ(in.getColPosition(), expected.column())
            << "step " << step << " action " << chosen << " read \"" << str(out) << "\"";
        if (in.getRowPosition() != expected.row() || in.getColPosition() != expected.column()) {
            break;
        }
    }
    return expected.row() - 1;
}

} // namespace

TEST(StreamRobustnessTest, RandomTextInMemory) {
    std::mt19937 random(12345);
    int lines = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = randomBytes(random, random() % 200);
        MemoryBlock block(bytes.data(), int(bytes.size()));
        DataBufferIn in(block);
        lines += exercise(in, random);
    }
    EXPECT_GT(lines, 500) << "the reads get on through the text";
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
    int lines = 0;
    for (int round = 0; round < 120; ++round) {
        std::string bytes = marks[round % 6] + randomBytes(random, random() % 300);
        std::ofstream(dir / "random", std::ios::binary) << bytes;
        DataFile file(String((dir / "random").c_str()), DataFile::readOnly, false);
        DataBufferIn in(&file);
        lines += exercise(in, random);
    }
    EXPECT_GT(lines, 50) << "the reads get on through the text";
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
            int chosen = action(random);
            switch (chosen) {
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
