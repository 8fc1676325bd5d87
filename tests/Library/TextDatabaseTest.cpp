#include "Library/TextDatabase.h"
#include "Environment/DataFile.h"
#include "Environment/Memory.h"
#include "sim/Files.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace zelvane;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const TextDatabase& table) {
    Rows rows;
    for (const TextRecord* record : table.getRecords()) {
        std::vector<std::string> fields;
        for (const TextField* field : *record) {
            fields.push_back(field->getExport().data());
        }
        rows.push_back(fields);
    }
    return rows;
}

std::string fileAt(const std::string& name, const std::string& content) {
    std::string path = (sim::specialFolder("Documents") / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text in a host pointer block, imported.
TextDatabase fromPointer(const std::string& text, bool header, const char* delimiter, int size = 0) {
    char* block = allocatePtr(int(text.size()));
    copyMemory(block, text.data(), int(text.size()));
    TextDatabase table;
    EXPECT_TRUE(table.import(block, header, size, delimiter, "\r\n"));
    disposePtr(&block);
    return table;
}

} // namespace

TEST(TextDatabaseTest, SplittingLines) {
    struct Case {
        const char* text;
        const char* delimiter;
        Rows rows;
    };
    const Case cases[] = {
        {"a,b,c\n", ",", {{"a", "b", "c"}}},
        {"a,,c\n", ",", {{"a", "", "c"}}},
        {"x\ty,z\n1,2\n", "", {{"x", "y,z"}, {"1,2"}}}, // a tab anywhere: tabs
        {"a,b\nc\td\n", "", {{"a,b"}, {"c", "d"}}},     // even on a later line
        {"1,2\n3,4", "", {{"1", "2"}, {"3", "4"}}},     // no tab: commas; the last line without an end
        {"\r\n\r\na;b\r\n\n\nc;d\r\n", ";", {{"a", "b"}, {"c", "d"}}},
        {"", ",", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rowsOf(fromPointer(c.text, false, c.delimiter)), c.rows) << c.text;
    }
    TextRecord record;
    EXPECT_FALSE(record.import("a,b", "")); // an empty delimiter never advances
    EXPECT_FALSE(record.import("ab", ","));
    EXPECT_TRUE(record.import("a,b", ","));
    EXPECT_EQ(record.size(), 1u); // text after the last delimiter is no field
}

TEST(TextDatabaseTest, HeadersAndFieldNames) {
    TextDatabase table = fromPointer("\nName,Size\nchair,2\n", true, ",");
    EXPECT_EQ(rowsOf(table), (Rows{{"chair", "2"}}));
    EXPECT_EQ(table.getFieldNameCount(), 2u);
    EXPECT_EQ(table.getFieldIndex("size", false), 1);
    EXPECT_EQ(table.getFieldIndex("size", true), -1);
    EXPECT_EQ(TextDatabase().getFieldIndex("size", false), -1);
    TextDatabase copy(table);
    EXPECT_EQ(copy.getFieldIndex("Name", true), 0);
    std::unique_ptr<TextRecord> fresh(copy.getRecord());
    EXPECT_EQ(fresh->size(), 0u);

    // Only the given part of the block is read; a size past the block is bounded by it.
    EXPECT_EQ(rowsOf(fromPointer("a,b\nc,d\n", false, ",", 4)), (Rows{{"a", "b"}}));
    EXPECT_EQ(rowsOf(fromPointer("a,b\nc,d\n", false, ",", 1000)), (Rows{{"a", "b"}, {"c", "d"}}));
}

TEST(TextDatabaseTest, FilesInPiecesAndLongLines) {
    std::string longValue(40000, 'v');
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "row" + std::to_string(i) + "\tvalue\r\n";
    }
    text += longValue + "\tend"; // longer than a piece, and no line end
    std::string path = fileAt("table.txt", text);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read); // read, never written
    DataFile file(String(path.c_str()), DataFile::readWrite, false);
    TextDatabase table;
    ASSERT_TRUE(table.import(file, false, "", "\r\n"));
    ASSERT_EQ(table.getRecordCount(), 3001u);
    EXPECT_EQ(table.getRecordAt(2999)->front()->getExport(), "row2999");
    EXPECT_EQ(std::string(table.getRecordAt(3000)->front()->getExport().data()), longValue);
    EXPECT_EQ(table.getRecordAt(3001), nullptr);
    // A length that cannot be read is no empty file.
    sim::failCall("IO::File::GetDataLength", ErrIO);
    EXPECT_FALSE(TextDatabase().import(file, false, "", "\r\n"));

    DataFile missing(String((sim::specialFolder("Documents") / "missing.txt").string().c_str()),
                     DataFile::readWrite, false);
    EXPECT_FALSE(TextDatabase().import(missing, false, ",", "\n"));
    // A FIFO is read, as holding nothing, without waiting for a writer.
    std::filesystem::path fifo = sim::specialFolder("Documents") / "table.fifo";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TextDatabase piped;
    EXPECT_TRUE(piped.import(DataFile(String(fifo.c_str()), DataFile::readOnly, false), false, ",", "\n"));
    EXPECT_EQ(piped.getRecordCount(), 0u);
    std::filesystem::remove(fifo);
}

TEST(TextDatabaseTest, ExportsEndEveryLineWithCarriageReturn) {
    TextDatabase table(new TextRecord(String("name")));
    auto* record = new TextRecord();
    record->push_back(new TextField(String("a")));
    record->push_back(new TextField(String("b")));
    table.addRecord(record);
    String text;
    EXPECT_TRUE(table.exportTo(text, ";", "\n"));
    EXPECT_EQ(std::string(text.data()), "name\ra;b\r");

    char** handle = allocateHandle(3);
    copyMemory(*handle, "old", 3);
    ASSERT_TRUE(table.exportTo(handle, ";", "\n"));
    EXPECT_EQ(std::string(*handle, std::size_t(getHandleSize(handle))), "name\ra;b\r");
    disposeHandle(&handle);

    std::string path = fileAt("out.txt", "a much longer old content that must not survive");
    DataFile file(String(path.c_str()), DataFile::readWrite, false);
    ASSERT_TRUE(table.exportTo(file, ";", "\n"));
    file.close();
    EXPECT_EQ(contentOf(path), "name\ra;b\r");

    sim::failWritesAfter(5);
    EXPECT_FALSE(table.exportTo(file, ",", "\n"));
    file.close();
    EXPECT_EQ(contentOf(path), "name\ra;b\r"); // the old file kept whole
}

TEST(TextDatabaseTest, FieldConversions) {
    TextField field(String(" 42 "));
    int number = 0;
    EXPECT_TRUE(field.getData(number));
    EXPECT_EQ(number, 42);
    double real = 0;
    field.setData(1234567.891);
    EXPECT_EQ(field.getExport(), "1.23457e+06");
    EXPECT_TRUE(field.getData(real));
    field.setData(true);
    EXPECT_EQ(field.getExport(), "1");
    field.setData(String("text"));
    unsigned short small = 7;
    EXPECT_FALSE(field.getData(small));
    EXPECT_EQ(small, 7);
    EXPECT_FALSE(field.empty());
}
