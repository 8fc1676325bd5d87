#include "Environment/DataBufferIn.h"
#include "Environment/Memory.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zelvane::DataBufferIn;
using zelvane::MemoryBlock;
using zelvane::StreamBase;
using zelvane::String;

namespace {

std::string str(String const& text) {
    return std::string(text.data(), text.dataLength());
}

} // namespace

TEST(DataBufferInTest, Sources) {
    EXPECT_EQ(DataBufferIn().getState(), 0);
    EXPECT_EQ(DataBufferIn().getRowPosition(), 1);
    EXPECT_EQ(DataBufferIn().getSourceEncoding(), 99u);

    String text("text");
    MemoryBlock block("block", 5);
    char* pointer = zelvane::allocatePtr(3);
    pointer[0] = 'p';
    pointer[1] = 't';
    pointer[2] = 'r';
    char const bytes[] = "bytes";
    struct Case {
        const char* name;
        DataBufferIn* in;
        std::string expected;
    };
    DataBufferIn fromText(text);
    DataBufferIn fromBlock(block);
    DataBufferIn fromPointer(pointer, 99);
    DataBufferIn fromBytes(bytes, 5, 99);
    DataBufferIn fromNothing(bytes, 0, 99);
    DataBufferIn fromNull(nullptr, 4, 99);
    MemoryBlock empty;
    DataBufferIn fromEmptyBlock(empty);
    DataBufferIn fromNullFile(static_cast<zelvane::DataFile const*>(nullptr));
    Case cases[] = {{"String", &fromText, "text"},        {"MemoryBlock", &fromBlock, "block"},
                    {"pointer", &fromPointer, "ptr"},     {"bytes", &fromBytes, "bytes"},
                    {"no length", &fromNothing, ""},      {"null data", &fromNull, ""},
                    {"empty block", &fromEmptyBlock, ""}, {"null file", &fromNullFile, ""}};
    for (Case& c : cases) {
        String out;
        EXPECT_EQ(c.in->iterateTo('\n', &out, true), DataBufferIn::reachedEnd) << c.name;
        EXPECT_EQ(str(out), c.expected) << c.name;
        EXPECT_TRUE(c.in->atEnd()) << c.name;
        EXPECT_EQ(c.in->getSourceEncoding(), 99u) << c.name;
    }
    EXPECT_EQ(fromText.getCapacity(), DataBufferIn::bufferSize);
    zelvane::disposePtr(&pointer);
}

TEST(DataBufferInTest, Tokens) {
    {
        String text("42");
        DataBufferIn in(text);
        int value = -1;
        in >> value;
        EXPECT_EQ(value, 42);
        EXPECT_EQ(in.getState(), StreamBase::endOfData);
    }
    {
        String text("4x");
        DataBufferIn in(text);
        int value = -1;
        in >> value;
        EXPECT_EQ(value, 4); // trailing characters are accepted
    }
    {
        String text(" 7");
        DataBufferIn in(text);
        int value = -1;
        in >> value;
        EXPECT_EQ(value, 0); // white space is not skipped: the token is empty
        EXPECT_EQ(in.getState(), StreamBase::failure);
        int next = 5;
        in >> next;
        EXPECT_EQ(next, 5); // a failed stream leaves targets alone
    }
    {
        String text("1 2");
        DataBufferIn in(text);
        int first = 0;
        int second = -1;
        in >> first >> second;
        EXPECT_EQ(first, 1);
        EXPECT_EQ(second, 0);
        EXPECT_TRUE(in.failed());
    }
    {
        String text("abc 12");
        DataBufferIn in(text);
        unsigned int value = 0;
        in >> value;
        EXPECT_EQ(value, 12u);
    }
    {
        String text("-2.5e1\t70000 65535 7");
        DataBufferIn in(text);
        double d = 0;
        short s = 0;
        unsigned short us = 0;
        char c = 0;
        in >> d;
        in.get(c);
        in >> s;
        in.get(c);
        in >> us;
        EXPECT_EQ(d, -25.0);
        EXPECT_EQ(s, short(70000 - 65536)); // 16 bits of the integer
        EXPECT_EQ(us, 65535);
        EXPECT_EQ(in.getState(), 0);
    }
}

TEST(DataBufferInTest, Booleans) {
    struct Case {
        const char* text;
        bool words;
        bool expected;
        bool fails;
    };
    const Case cases[] = {
        {"1", false, true, false},   {"0", false, false, false},    {"true", false, false, true},
        {"true", true, true, false}, {"false", true, false, false}, {"1", true, false, true},
        {"TRUE", true, false, true}, {"", false, false, true},
    };
    for (const Case& c : cases) {
        String text(c.text);
        DataBufferIn in(text);
        in.setFlags(c.words ? StreamBase::booleanText : 0);
        bool value = !c.expected;
        in >> value;
        EXPECT_EQ(value, c.expected) << c.text;
        EXPECT_EQ(in.failed(), c.fails) << c.text;
    }
}

TEST(DataBufferInTest, LinesEndInAnyConvention) {
    {
        String text("ab\r\ncd");
        DataBufferIn in(text);
        String line;
        EXPECT_EQ(in.getLine(line, false), DataBufferIn::foundDelimiter);
        EXPECT_EQ(str(line), "ab\r"); // the CR belongs to the started match
        char c = 0;
        in.get(c);
        EXPECT_EQ(c, 'c');
    }
    {
        String text("ab\r\ncd");
        DataBufferIn in(text);
        String line;
        in.getLine(line, true);
        EXPECT_EQ(str(line), "ab\r\n");
    }
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> lines;
        int rows;
    };
    const Case cases[] = {
        {"lone LF", "ab\ncd\nef", {"ab\n", "cd\n", "ef"}, 3},
        {"lone CR", "ab\rcd\ref", {"ab\r", "cd\r", "ef"}, 3},
        {"empty lines", "a\n\nb", {"a\n", "\n", "b"}, 3},
        {"empty CR lines", "a\r\r\rb", {"a\r", "\r", "\r", "b"}, 4},
        {"LF CR is one line end but two rows", "a\n\rb", {"a\n", "b"}, 3},
        {"mixed", "a\r\nb\nc", {"a\r", "b\n", "c"}, 3},
        {"ending in a line end", "a\n", {"a\n"}, 2},
    };
    for (const Case& c : cases) {
        String text(c.text);
        DataBufferIn in(text);
        std::vector<std::string> lines;
        while (!in.atEnd()) {
            String line;
            in.getLine(line, false);
            if (!line.empty() || !in.atEnd()) {
                lines.push_back(str(line));
            }
        }
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(in.getRowPosition(), c.rows) << c.name;
    }
}

TEST(DataBufferInTest, RowsAndColumns) {
    String text("a\r\nb\nc");
    DataBufferIn in(text);
    in.iterateTo('#', nullptr, true);
    EXPECT_EQ(in.getRowPosition(), 3);
    EXPECT_EQ(in.getColPosition(), 1);

    String second("ab\ncde fg");
    DataBufferIn columns(second);
    String word;
    columns.iterateTo(' ', &word, false);
    EXPECT_EQ(str(word), "ab\ncde");
    EXPECT_EQ(columns.getRowPosition(), 2);
    EXPECT_EQ(columns.getColPosition(), 3);
    // The delimiter left unread is not counted, so reading it again counts it once.
    columns.iterateTo(' ', nullptr, true);
    EXPECT_EQ(columns.getColPosition(), 4);
}

TEST(DataBufferInTest, Scans) {
    struct Case {
        const char* name;
        const char* delimiters;
        bool consume;
        bool include;
        bool sequence;
        int result;
        std::string out;
        char next; // the next raw byte, 0 at the end
    };
    const Case cases[] = {
        {"stops at any delimiter", ",;", false, false, false, 1, "ab", ';'},
        {"consumes it", ",;", true, false, false, 1, "ab", 'c'},
        {"includes it", ",;", false, true, false, 1, "ab;", ';'},
        {"includes and consumes", ",;", true, true, false, 1, "ab;", 'c'},
        {"runs to the end", "#", true, false, false, 2, "ab;cd=>ef", 0},
        {"sequence in either order", "=>", true, false, true, 1, "ab;cd=", 'e'},
        {"sequence included", ">=", true, true, true, 1, "ab;cd=>", 'e'},
        {"broken sequence", ";x", true, false, true, 1, "ab;", 'c'},
        {"multibyte delimiter", "\xC3\xA9", true, false, false, 2, "ab;cd=>ef", 0},
    };
    for (const Case& c : cases) {
        String text("ab;cd=>ef");
        DataBufferIn in(text);
        String out("");
        EXPECT_EQ(in.iterateTo(String(c.delimiters), &out, c.consume, c.include, c.sequence), c.result)
            << c.name;
        EXPECT_EQ(str(out), c.out) << c.name;
        char next = 0;
        in.get(next);
        EXPECT_EQ(next, c.next) << c.name;
    }

    String text("x\xC3\xA9y\xE2\x82\xACz");
    DataBufferIn in(text);
    String out("kept:");
    EXPECT_EQ(in.iterateTo(String("\xE2\x82\xAC"), &out, true), DataBufferIn::foundDelimiter);
    EXPECT_EQ(str(out), "kept:x\xC3\xA9y");
    EXPECT_EQ(in.getColPosition(), 4);
    String rest;
    in.getString(rest, 10);
    EXPECT_EQ(str(rest), "z");
}

TEST(DataBufferInTest, TruncatedAndUndecodableUTF8) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string decoded;
        int result;
        unsigned char stuck; // the byte the stream stopped at
    };
    const Case cases[] = {
        {"truncated two-byte", "ab\xC3", "ab", 4, 0xC3},
        {"truncated three-byte", "ab\xE2\x82", "ab", 4, 0xE2},
        {"truncated four-byte", "ab\xF0\x9F\x98", "ab", 4, 0xF0},
        {"stray continuation", "ab\x80xyz", "ab", 4, 0x80},
        {"broken sequence", "ab\xE2\x41\x42", "ab", 4, 0xE2},
        {"invalid lead", "ab\xFFxyz", "ab", 4, 0xFF},
    };
    for (const Case& c : cases) {
        // A copy of exactly the bytes, so reading past them would be caught.
        MemoryBlock block(c.bytes.data(), int(c.bytes.size()));
        DataBufferIn in(block);
        String out;
        EXPECT_EQ(in.iterateTo('#', &out, true), c.result) << c.name;
        EXPECT_EQ(str(out), c.decoded) << c.name;
        String more;
        in.getString(more, 5);
        EXPECT_TRUE(more.empty()) << c.name;
        char raw = 0;
        in.get(raw);
        EXPECT_EQ(static_cast<unsigned char>(raw), c.stuck) << c.name;
    }
}

TEST(DataBufferInTest, RawBytes) {
    char const bytes[] = {'a', '\0', 'b', 'c', 'd', 'e'};
    DataBufferIn in(bytes, 6, 99);
    char c = 'x';
    in.get(c);
    EXPECT_EQ(c, 'a');
    in.get(c);
    EXPECT_EQ(c, '\0');
    in.skip(0);
    in.skip(-3);
    in.skip(2);
    in.get(c);
    EXPECT_EQ(c, 'd');
    in.skip(10);
    EXPECT_TRUE(in.atEnd());
    c = 'x';
    in.get(c);
    EXPECT_EQ(c, 'x');
}

TEST(DataBufferInTest, GetStringCountsCharacters) {
    String text("\xC3\xA9t\xC3\xA9\r\nx");
    DataBufferIn in(text);
    String out("<");
    in.getString(out, 2);
    EXPECT_EQ(str(out), "<\xC3\xA9t");
    in.getString(out, 100);
    EXPECT_EQ(str(out), "<\xC3\xA9t\xC3\xA9\r\nx");
    EXPECT_EQ(in.getRowPosition(), 2);
    EXPECT_TRUE(in.atEnd());
}

TEST(DataBufferInTest, ConvertsIntoTheTargetEncoding) {
    String text("caf\xC3\xA9 \xE2\x82\xAC");
    DataBufferIn in(text, 11); // Windows Western
    String out;
    in.getString(out, 10);
    EXPECT_EQ(str(out), "caf\xE9 \x80");
}

TEST(DataBufferInTest, CodePageSources) {
    struct Case {
        const char* name;
        unsigned int code;
        std::string bytes;
        std::string decoded;
        int result;
    };
    const Case cases[] = {
        {"Windows Western", 11, "caf\xE9\x80", "caf\xC3\xA9\xE2\x82\xAC", DataBufferIn::reachedEnd},
        {"Shift-JIS", 32, "\x82\xA0\xB1x", "\xE3\x81\x82\xEF\xBD\xB1x", DataBufferIn::reachedEnd},
        {"Shift-JIS cut after a lead byte", 32, "ab\x82", "ab", DataBufferIn::undecodable},
        {"Shift-JIS unmapped byte", 32,
         "ab\xA0"
         "zz",
         "ab", DataBufferIn::undecodable},
        {"GBK", 34, "\xC4\xE3!", "\xE4\xBD\xA0!", DataBufferIn::reachedEnd},
    };
    for (const Case& c : cases) {
        MemoryBlock block(c.bytes.data(), int(c.bytes.size()));
        DataBufferIn in(block);
        in.setSourceEncoding(c.code);
        String out;
        EXPECT_EQ(in.iterateTo('#', &out, true), c.result) << c.name;
        EXPECT_EQ(str(out), c.decoded) << c.name;
    }

    // Bytes already in the target code page pass as they are.
    std::string latin("caf\xE9");
    DataBufferIn same(latin.data(), int(latin.size()), 11);
    same.setSourceEncoding(11);
    String out;
    same.getString(out, 10);
    EXPECT_EQ(str(out), latin);
}

TEST(DataBufferInTest, LongCodePageTextsReadByCharacters) {
    // Each line as its code page holds it and in UTF-8. Trail bytes of Shift-JIS and GBK below 0x80
    // look like the ASCII delimiters and letters, and are never taken for them.
    struct Case {
        const char* name;
        unsigned int code;
        std::string line;
        std::string decoded;
        char delimiter;
    };
    const Case cases[] = {
        {"Windows Western", 11, "Caf\xE9 \x80 4,50\r\n", "Caf\xC3\xA9 \xE2\x82\xAC 4,50\r\n", '\n'},
        {"Shift-JIS trail byte 0x5C", 32, "\x83\x5C\\x\x81\x40@\n", "\xE3\x82\xBD\\x\xE3\x80\x80@\n", '\\'},
        {"Shift-JIS trail byte 0x40", 32, "\x83\x40@\n", "\xE3\x82\xA1@\n", '@'},
        {"GBK trail byte 0x5C", 34, "\x81\x5C\\\n", "\xE4\xB9\x97\\\n", '\\'},
    };
    for (const Case& c : cases) {
        std::string text;
        std::string decoded;
        for (int i = 0; i < 3000; ++i) {
            text += c.line;
            decoded += c.decoded;
        }
        DataBufferIn in(text.data(), int(text.size()), 99);
        in.setSourceEncoding(c.code);
        std::string read;
        int lines = 0;
        for (;;) {
            String piece;
            int result = in.iterateTo(String(std::string(1, c.delimiter).c_str()), &piece, true, true, false);
            read += str(piece);
            if (result != DataBufferIn::foundDelimiter) {
                EXPECT_EQ(result, DataBufferIn::reachedEnd) << c.name;
                break;
            }
            ++lines;
        }
        EXPECT_TRUE(read == decoded) << c.name << ": " << read.substr(0, 40);
        EXPECT_EQ(lines, 3000) << c.name;
    }
}

TEST(DataBufferInTest, ChangingTheSourceCodePageChangesTheConversion) {
    // 0xA5 is the yen sign in Windows Western, A with ogonek in Windows Central European.
    std::string text(200, '\xA5');
    DataBufferIn in(text.data(), int(text.size()), 99);
    in.setSourceEncoding(11);
    String out;
    in.getString(out, 100);
    in.setSourceEncoding(12);
    in.getString(out, 100);
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        expected += "\xC2\xA5";
    }
    for (int i = 0; i < 100; ++i) {
        expected += "\xC4\x84";
    }
    EXPECT_EQ(str(out), expected);
    // Into a code page, through a code page.
    DataBufferIn back(text.data(), int(text.size()), 12);
    back.setSourceEncoding(11);
    String same;
    back.getString(same, 2);
    EXPECT_EQ(str(same), "??") << "the yen sign has no place in Windows Central European";
}

TEST(DataBufferInTest, SetSourceStartsAfresh) {
    String first("a\nb c");
    String second("z");
    DataBufferIn in(first);
    int value = 0;
    in >> value;
    in.iterateTo(' ', nullptr, true);
    ASSERT_TRUE(in.failed());
    in.setSource(second, 99);
    EXPECT_EQ(in.getState(), 0);
    EXPECT_EQ(in.getRowPosition(), 1);
    EXPECT_EQ(in.getColPosition(), 0);
    String out;
    in.getString(out, 1);
    EXPECT_EQ(str(out), "z");
}
