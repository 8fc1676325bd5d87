#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/DataFile.h"
#include "Environment/String.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace zelvane;

namespace {

class DataBufferFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = sim::sandboxRoot() / "streams" / (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { EXPECT_EQ(sim::openFileCount(), 0u); }

    String path(std::string const& name) const { return String((m_dir / name).c_str()); }
    void put(std::string const& name, std::string const& content) const {
        std::ofstream(m_dir / name, std::ios::binary) << content;
    }
    std::string get(std::string const& name) const {
        std::ifstream in(m_dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    fs::path m_dir;
};

std::string str(String const& text) {
    return std::string(text.data(), text.dataLength());
}

enum class Form { utf8, utf16le, utf16be, utf32le, utf32be };

struct FormInfo {
    const char* name;
    Form form;
    std::string mark;
    int unit;
    bool big;
};

const FormInfo forms[] = {
    {"UTF-8", Form::utf8, "\xEF\xBB\xBF", 1, false},
    {"UTF-16LE", Form::utf16le, "\xFF\xFE", 2, false},
    {"UTF-16BE", Form::utf16be, "\xFE\xFF", 2, true},
    {"UTF-32LE", Form::utf32le, std::string("\xFF\xFE\0\0", 4), 4, false},
    {"UTF-32BE", Form::utf32be, std::string("\0\0\xFE\xFF", 4), 4, true},
};

std::string unitBytes(unsigned long value, int width, bool big) {
    std::string bytes;
    for (int i = 0; i < width; ++i) {
        int shift = big ? 8 * (width - 1 - i) : 8 * i;
        bytes.push_back(char((value >> shift) & 0xFF));
    }
    return bytes;
}

// The code points in the given form, without a mark.
std::string encode(std::u32string const& text, FormInfo const& f) {
    std::string bytes;
    for (char32_t cp : text) {
        if (f.form == Form::utf8) {
            if (cp < 0x80) {
                bytes.push_back(char(cp));
            } else if (cp < 0x800) {
                bytes.push_back(char(0xC0 | (cp >> 6)));
                bytes.push_back(char(0x80 | (cp & 0x3F)));
            } else if (cp < 0x10000) {
                bytes.push_back(char(0xE0 | (cp >> 12)));
                bytes.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
                bytes.push_back(char(0x80 | (cp & 0x3F)));
            } else {
                bytes.push_back(char(0xF0 | (cp >> 18)));
                bytes.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
                bytes.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
                bytes.push_back(char(0x80 | (cp & 0x3F)));
            }
        } else if (f.unit == 2 && cp >= 0x10000) {
            bytes += unitBytes(0xD800 + ((cp - 0x10000) >> 10), 2, f.big);
            bytes += unitBytes(0xDC00 + ((cp - 0x10000) & 0x3FF), 2, f.big);
        } else {
            bytes += unitBytes(cp, f.unit, f.big);
        }
    }
    return bytes;
}

std::string utf8(std::u32string const& text) {
    return encode(text, forms[0]);
}

} // namespace

TEST_F(DataBufferFileTest, DecodesEveryFormInTheOrderOfItsMark) {
    const std::u32string text = U"a\u00E9\u20AC\U0001F600 7\r\nz";
    for (FormInfo const& f : forms) {
        put("text", f.mark + encode(text, f));
        DataFile file(path("text"), DataFile::readOnly, false);
        DataBufferIn in(&file);
        String line;
        EXPECT_EQ(in.getLine(line, true), DataBufferIn::foundDelimiter) << f.name;
        EXPECT_EQ(str(line), utf8(U"a\u00E9\u20AC\U0001F600 7\r\n")) << f.name;
        EXPECT_EQ(in.getRowPosition(), 2) << f.name;
        String rest;
        in.getString(rest, 10);
        EXPECT_EQ(str(rest), "z") << f.name;
        EXPECT_TRUE(in.atEnd()) << f.name;
        EXPECT_FALSE(in.failed()) << f.name;
    }

    // Tokens come out of any form.
    put("number", forms[2].mark + encode(U"-12 4.5", forms[2]));
    DataFile file(path("number"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    int i = 0;
    double d = 0;
    in >> i;
    in.skip(2);
    in >> d;
    EXPECT_EQ(i, -12);
    EXPECT_EQ(d, 4.5);
}

TEST_F(DataBufferFileTest, EncodingsChangeBetweenReads) {
    // A reader that finds the encoding named in the text switches to it for the rest.
    std::string bytes = "head\n" + encode(U"\u00E9x", forms[1]);
    put("switch", bytes);
    DataFile file(path("switch"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    EXPECT_FALSE(in.hasByteOrderMark());
    String head;
    in.getLine(head, false);
    in.setSourceEncoding(Encoding::utf16);
    String rest;
    in.getString(rest, 5);
    EXPECT_EQ(str(head), "head\n");
    EXPECT_EQ(str(rest), "\xC3\xA9x");

    put("big", forms[2].mark + encode(U"ab", forms[2]));
    DataFile big(path("big"), DataFile::readOnly, false);
    DataBufferIn fromBig(&big);
    EXPECT_TRUE(fromBig.hasByteOrderMark());
    fromBig.setSourceEncoding(Encoding::utf16); // the mark's order stays
    fromBig.setTargetEncoding(11);
    String text;
    fromBig.getString(text, 5);
    EXPECT_EQ(str(text), "ab");

    put("flagged", encode(U"\u20AC", forms[4]));
    DataFile flagged(path("flagged"), DataFile::readOnly, false);
    DataBufferIn fromFlagged(&flagged);
    fromFlagged.setSourceEncoding(Encoding::utf32BigEndian);
    String euro;
    fromFlagged.getString(euro, 5);
    EXPECT_EQ(str(euro), "\xE2\x82\xAC");
}

TEST_F(DataBufferFileTest, MarkReadAsDataInBinaryFiles) {
    for (FormInfo const& f : forms) {
        put("binary", f.mark + "ab");
        DataFile file(path("binary"), DataFile::readOnly, false);
        DataBufferIn in(&file);
        EXPECT_TRUE(in.hasByteOrderMark()) << f.name;
        EXPECT_TRUE(in.readMarkAsData()) << f.name;
        EXPECT_FALSE(in.hasByteOrderMark()) << f.name;
        std::string bytes;
        for (char c = 0; in.get(c), in.getState() == 0;) {
            bytes.push_back(c);
        }
        EXPECT_EQ(bytes, f.mark + "ab") << f.name;
    }
    // Too late once reading has begun.
    put("late", forms[1].mark + "ab");
    DataFile file(path("late"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    char c = 0;
    in.get(c);
    EXPECT_FALSE(in.readMarkAsData());
    EXPECT_EQ(c, 'a');
    // Without a mark there is nothing to do.
    put("plain", "ab");
    DataFile plain(path("plain"), DataFile::readOnly, false);
    DataBufferIn fromPlain(&plain);
    EXPECT_TRUE(fromPlain.readMarkAsData());
    fromPlain.get(c);
    EXPECT_EQ(c, 'a');
}

TEST_F(DataBufferFileTest, MarkIsNeverACharacter) {
    put("marked", "\xEF\xBB\xBF"
                  "abc");
    DataFile file(path("marked"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    String out;
    in.iterateTo('#', &out, true);
    EXPECT_EQ(str(out), "abc");

    // Files too short for a mark are UTF-8.
    put("short", "\xC3\xA9");
    DataFile shortFile(path("short"), DataFile::readOnly, false);
    DataBufferIn fromShort(&shortFile);
    String accent;
    fromShort.getString(accent, 5);
    EXPECT_EQ(str(accent), "\xC3\xA9");

    put("empty", "");
    DataFile empty(path("empty"), DataFile::readOnly, false);
    DataBufferIn fromEmpty(&empty);
    String nothing;
    EXPECT_EQ(fromEmpty.iterateTo('#', &nothing, true), DataBufferIn::reachedEnd);
    EXPECT_TRUE(nothing.empty());
}

TEST_F(DataBufferFileTest, TruncatedOrUndecodableInEachForm) {
    struct Case {
        const char* name;
        int form;         // index into forms
        std::string tail; // raw bytes after "ab"
        int result;
    };
    const Case cases[] = {
        {"UTF-8 cut in a sequence", 0, "\xE2\x82", DataBufferIn::undecodable},
        {"UTF-8 bad byte", 0, "\xFFxy", DataBufferIn::undecodable},
        {"UTF-16LE odd byte", 1, "x", DataBufferIn::undecodable},
        {"UTF-16LE cut pair", 1, "\x3D\xD8", DataBufferIn::undecodable},
        {"UTF-16LE lone low surrogate", 1, std::string("\x00\xDEx\0", 4), DataBufferIn::undecodable},
        {"UTF-16BE high surrogate then letter", 2, std::string("\xD8\x3D\0x", 4), DataBufferIn::undecodable},
        {"UTF-32LE three bytes", 3, std::string("x\0\0", 3), DataBufferIn::undecodable},
        {"UTF-32BE beyond Unicode", 4, std::string("\0\x11\0\0", 4), DataBufferIn::undecodable},
        {"UTF-32LE surrogate", 3, std::string("\0\xD8\0\0", 4), DataBufferIn::undecodable},
    };
    for (Case const& c : cases) {
        FormInfo const& f = forms[c.form];
        put("bad", f.mark + encode(U"ab", f) + c.tail);
        DataFile file(path("bad"), DataFile::readOnly, false);
        DataBufferIn in(&file);
        String out;
        EXPECT_EQ(in.iterateTo('#', &out, true), c.result) << c.name;
        EXPECT_EQ(str(out), "ab") << c.name;
        String more;
        in.getString(more, 3);
        EXPECT_TRUE(more.empty()) << c.name;
        // Nothing of the bad character was read.
        char raw = 0;
        in.get(raw);
        EXPECT_EQ(raw, c.tail[0]) << c.name;
    }
}

TEST_F(DataBufferFileTest, CharactersStraddlingARefill) {
    // A long character placed at each offset around the end of the first buffer load.
    const std::u32string wide = U"\U0001F600";
    for (FormInfo const& f : forms) {
        for (int shift = 0; shift < 4; ++shift) {
            int fill = (DataBufferIn::bufferSize - f.unit * 2) / f.unit + shift - 2;
            std::u32string text(std::size_t(fill), U'a');
            text += wide + U"\u00E9" + wide + U"b";
            put("long", f.mark + encode(text, f));
            DataFile file(path("long"), DataFile::readOnly, false);
            DataBufferIn in(&file);
            String out;
            EXPECT_EQ(in.iterateTo('#', &out, true), DataBufferIn::reachedEnd) << f.name << shift;
            EXPECT_EQ(str(out), utf8(text)) << f.name << shift;
            EXPECT_EQ(in.getColPosition(), int(text.size())) << f.name << shift;
        }
    }

    // Reading one character at a time crosses the refill the same way.
    std::string text(std::size_t(DataBufferIn::bufferSize - 1), 'a');
    text += "\xE2\x82\xAC"
            "z";
    put("single", text);
    DataFile file(path("single"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    String out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        in.getString(out, 1);
    }
    EXPECT_EQ(str(out), text);
    EXPECT_FALSE(in.failed());
}

TEST_F(DataBufferFileTest, TokensAcrossARefill) {
    std::string text;
    int count = 0;
    while (text.size() < 200000) {
        text += std::to_string(count++) + " ";
    }
    put("numbers", text);
    DataFile file(path("numbers"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    for (int i = 0; i < count; ++i) {
        int value = -1;
        in >> value;
        ASSERT_EQ(value, i);
        in.skip(1);
    }
    EXPECT_FALSE(in.failed());
    int past = 9;
    in >> past;
    EXPECT_TRUE(in.failed());
}

TEST_F(DataBufferFileTest, ReadFailureStopsTheScan) {
    put("big", std::string(std::size_t(DataBufferIn::bufferSize) * 2, 'x'));
    DataFile file(path("big"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    sim::failRead(ErrIO, 1, 1); // the first load works, the refill fails
    String out;
    EXPECT_EQ(in.iterateTo('#', &out, true), DataBufferIn::loadFailed);
    // The decoder asked for more with a few bytes still unread: they are kept, not lost.
    unsigned int delivered = out.dataLength();
    EXPECT_GT(delivered, unsigned(DataBufferIn::bufferSize) - 6);
    EXPECT_TRUE(in.failed());
    EXPECT_EQ(in.getLastError(), ErrIO);
    String rest;
    EXPECT_EQ(in.iterateTo('#', &rest, true), DataBufferIn::reachedEnd);
    EXPECT_EQ(delivered + rest.dataLength(), unsigned(DataBufferIn::bufferSize));
    char c = 0;
    in.get(c);
    EXPECT_EQ(c, 0);
}

TEST_F(DataBufferFileTest, AFailedSeekLengthOrReadLeavesNothingToRead) {
    struct Case {
        const char* name;
        const char* call; // fails once, after skip calls
        int skip;
        bool marked;
        bool binary; // the mark is read as data
    };
    const Case cases[] = {
        {"the length before the mark", "IO::File::GetDataLength", 0, true, false},
        {"the seek to the mark", "IO::File::SetPosition", 0, true, false},
        {"the read of the mark", sim::fileReadCall, 0, true, false},
        // The seek back would leave the start's first bytes passing for a mark.
        {"the seek back", "IO::File::SetPosition", 1, false, false},
        {"the length of the text", "IO::File::GetDataLength", 1, false, false},
        {"the seek back to the mark as data", "IO::File::SetPosition", 2, true, true},
        {"the length after the mark as data", "IO::File::GetDataLength", 2, true, true},
    };
    for (Case const& c : cases) {
        put("faulty", std::string(c.marked ? "\xEF\xBB\xBF" : "") + "<?xml?><a/>");
        DataFile file(path("faulty"), DataFile::readOnly, false);
        sim::failCall(c.call, ErrIO, 1, c.skip);
        DataBufferIn in(&file);
        EXPECT_EQ(in.readMarkAsData(), !c.binary) << c.name;
        EXPECT_TRUE(sim::unfiredFaults().empty()) << c.name;
        sim::clearFaults();
        String out;
        EXPECT_EQ(in.iterateTo('#', &out, true), DataBufferIn::reachedEnd) << c.name;
        EXPECT_EQ(str(out), "") << c.name;
        EXPECT_TRUE(in.failed()) << c.name;
        EXPECT_EQ(in.getLastError(), ErrIO) << c.name;
    }
}

TEST_F(DataBufferFileTest, SkipAndRawBytesAcrossRefills) {
    std::string text;
    for (int i = 0; i < 3 * DataBufferIn::bufferSize; ++i) {
        text.push_back(char(i % 251));
    }
    put("raw", text);
    DataFile file(path("raw"), DataFile::readOnly, false);
    DataBufferIn in(&file);
    in.skip(DataBufferIn::bufferSize + 7);
    char c = 0;
    in.get(c);
    EXPECT_EQ(c, text[std::size_t(DataBufferIn::bufferSize) + 7]);
    in.skip(2 * DataBufferIn::bufferSize - 9);
    in.get(c);
    EXPECT_EQ(c, text.back());
    EXPECT_EQ(in.getState(), 0);
    in.get(c);
    EXPECT_TRUE(in.atEnd());
}

TEST_F(DataBufferFileTest, OutputAppendsToAFile) {
    put("out", "head;");
    {
        DataFile file(path("out"), DataFile::readWrite, false);
        DataBufferOut out(&file);
        out << "n=" << 5;
        out.put(';');
        out.flushBuffer();
        EXPECT_EQ(out.getState(), 0);
        std::string big(100000, 'q');
        out.write(big.data(), int(big.size()));
    }
    std::string written = get("out");
    EXPECT_EQ(written.substr(0, 9), "head;n=5;");
    EXPECT_EQ(written.size(), 9u + 100000u);

    // A new destination file is written at its end as well.
    put("second", "x");
    {
        DataFile first(path("out"), DataFile::readWrite, false);
        DataFile second(path("second"), DataFile::readWrite, false);
        DataBufferOut out(&first);
        out << "1";
        out.setDestination(&second);
        out << "2";
    }
    EXPECT_EQ(get("out").back(), '1');
    EXPECT_EQ(get("second"), "x2");
}

TEST_F(DataBufferFileTest, FailedFileWriteStopsTheStream) {
    put("full", "");
    DataFile file(path("full"), DataFile::readWrite, false);
    {
        DataBufferOut out(&file);
        sim::failWritesAfter(10, ErrIO);
        std::string bytes(DataBufferOut::bufferSize + 100, 'w');
        out.write(bytes.data(), int(bytes.size()));
        EXPECT_EQ(out.getState(), StreamBase::failure);
        EXPECT_EQ(out.getLastError(), ErrIO);
        out << "more";
        out.flushBuffer();
        EXPECT_EQ(out.getState(), StreamBase::failure);
    }
    file.close();
    EXPECT_LE(get("full").size(), 10u);
}
