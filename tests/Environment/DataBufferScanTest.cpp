// A scan to one delimiter takes a faster path than a scan to a set; both must read the same.
#include "Environment/DataBufferIn.h"
#include "Environment/DataFile.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;

namespace {

struct Outcome {
    std::vector<int> results;
    std::string text;
    int row = 0;
    int column = 0;

    bool operator==(Outcome const& other) const {
        return results == other.results && text == other.text && row == other.row && column == other.column;
    }
};

std::ostream& operator<<(std::ostream& out, Outcome const& outcome) {
    out << "rows " << outcome.row << " column " << outcome.column << " results";
    for (int result : outcome.results) {
        out << ' ' << result;
    }
    return out << " text \"" << outcome.text << '"';
}

// Scans the whole stream piece by piece; a set of the delimiter twice takes the general path.
Outcome scanAll(DataBufferIn& in, char delimiter, bool asSet, bool consume, bool include) {
    Outcome outcome;
    String set(std::string(asSet ? 2 : 1, delimiter).c_str());
    for (int i = 0; i < 100000; ++i) {
        String piece;
        int result = in.iterateTo(set, &piece, consume, include, false);
        outcome.results.push_back(result);
        outcome.text.append(piece.data(), piece.dataLength());
        outcome.text += '|';
        if (result != DataBufferIn::foundDelimiter) {
            break;
        }
        if (!consume) {
            char skipped = 0;
            in.get(skipped);
        }
    }
    outcome.row = in.getRowPosition();
    outcome.column = in.getColPosition();
    return outcome;
}

} // namespace

TEST(DataBufferScanTest, OneDelimiterReadsAsASetOfIt) {
    const std::string texts[] = {
        "",
        ";",
        "ab",
        "abc;def;ghi",
        "line one;\r\nline two\nthree\rfour;\n\r;",
        "x\xC3\xA9y;\xE2\x82\xAC\xF0\x9F\x98\x80;z\xC3\xA9;\xC3\xA9",
        "long run of plain text without a stop to the end",
        "ends with a partial character \xE2\x82",
        "stray \x80 continuation; and \xFF lead",
        std::string("nul\0byte;after", 14),
    };
    for (std::string const& text : texts) {
        for (char delimiter : {';', '\n', '\r'}) {
            for (int mode = 0; mode < 4; ++mode) {
                bool consume = (mode & 1) != 0;
                bool include = (mode & 2) != 0;
                MemoryBlock one(text.data(), int(text.size()));
                MemoryBlock set(text.data(), int(text.size()));
                DataBufferIn fast(one);
                DataBufferIn general(set);
                EXPECT_EQ(scanAll(fast, delimiter, false, consume, include),
                          scanAll(general, delimiter, true, consume, include))
                    << "text \"" << text << "\" delimiter " << int(delimiter) << " mode " << mode;
            }
        }
    }
}

TEST(DataBufferScanTest, OneDelimiterAcrossRefillsOfAFile) {
    std::filesystem::path dir = sim::sandboxRoot() / "streams" / "DataBufferScanTest";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // Long characters and line ends fall on every offset around the refills.
    std::string text;
    for (int i = 0; text.size() < 3 * std::size_t(DataBufferIn::bufferSize); ++i) {
        text += i % 3 == 0 ? "\xE2\x82\xAC" : i % 3 == 1 ? "\xC3\xA9\r\n" : "abcdefg<";
        text += std::string(std::size_t(i % 11), 'q');
    }
    std::ofstream(dir / "scan", std::ios::binary) << text;
    String path((dir / "scan").c_str());
    for (bool consume : {true, false}) {
        DataFile first(path, DataFile::readOnly, false);
        DataFile second(path, DataFile::readOnly, false);
        DataBufferIn fast(&first);
        DataBufferIn general(&second);
        Outcome one = scanAll(fast, '<', false, consume, false);
        EXPECT_EQ(one, scanAll(general, '<', true, consume, false));
        EXPECT_GT(one.results.size(), 1000u);
    }
    EXPECT_EQ(sim::openFileCount(), 0u);
}
