#include "Environment/DataFile.h"
#include "ACAPI/ErrorCodes.hpp"
#include "Environment/Directory.h"
#include "Environment/Memory.h"
#include "Environment/Time.h"
#include "FTM/FileTypeManager.hpp"
#include "FileFixture.h"
#include "IO/File.hpp"
#include "sim/FileDialogs.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace zelvane;

namespace {

class DataFileTest : public FileFixture {
protected:
    // Only the files and folders a test made itself: no temporary file left behind.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (auto const& entry : fs::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The rows of what the rules open: those of another user's file (which only root gives away)
    // with `rootRows`, the others without, each set a test of its own.
    void playOpenRows(bool rootRows);
};

Encoding::Type type(unsigned int value) {
    return Encoding::Type(value);
}

TEST_F(DataFileTest, ConstructionAndCreation) {
    DataFile none;
    EXPECT_FALSE(none.exists());
    EXPECT_FALSE(none.isOpen());
    EXPECT_FALSE(none.open(3));
    EXPECT_FALSE(none.isFolder());

    DataFile missing(text("a.txt"), 3, false);
    EXPECT_EQ(missing.getLastError(), ErrNotFound);
    EXPECT_FALSE(missing.exists());
    DataFile made(text("a.txt"), 3, true);
    EXPECT_EQ(made.getLastError(), 0);
    EXPECT_TRUE(made.exists());
    EXPECT_FALSE(made.isOpen()); // construction never opens
    // Another empty file put at its name since is not the file made: it is kept.
    put(path("b.txt"), "");
    fs::rename(path("b.txt"), path("a.txt"));
    EXPECT_FALSE(made.eraseMade());
    EXPECT_TRUE(fs::exists(path("a.txt")));

    put(path("keep.txt"), "kept");
    DataFile existing(text("keep.txt"), 3, true); // creating a file that exists keeps it
    EXPECT_EQ(existing.getLastError(), 0);
    EXPECT_EQ(get(path("keep.txt")), "kept");

    Directory folder(String(m_dir.c_str()), false);
    DataFile inside(folder, "keep.txt", 0, false);
    EXPECT_TRUE(inside == existing);
    IO::File host(IO::Location(path("keep.txt").c_str()), IO::File::Fail);
    EXPECT_TRUE(DataFile(host, 0) == existing);
    EXPECT_EQ(DataFile(Directory(), "x", 3, true).getLastError(), ErrParam);

    int error = -1;
    std::unique_ptr<DataFile> notes(
        DataFile::create(folder, "notes.", 3, error, "txt", 0x54455854, 0x43574945));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(notes->getName(), "notes.txt"); // one dot between name and extension
    EXPECT_FALSE(notes->isOpen());
    notes.reset(DataFile::create(folder, "bare", 3, error, ""));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->getName(), "bare");
    for (const char* bad : {"...", ""}) {
        error = 0;
        EXPECT_EQ(DataFile::create(folder, bad, 3, error, "txt"), nullptr) << bad;
        EXPECT_EQ(error, int(0x81060067u)) << bad;
    }
    EXPECT_EQ(DataFile::create(folder, "a/b", 3, error, "txt"), nullptr);
    EXPECT_EQ(error, ErrParam);
    sim::failCreate(ErrPermission);
    EXPECT_EQ(DataFile::create(folder, "refused", 3, error, "txt"), nullptr);
    EXPECT_EQ(error, ErrPermission);
    EXPECT_FALSE(fs::exists(path("refused.txt")));

    std::unique_ptr<DataFile> at(DataFile::create(IO::Location(path("at.bin").c_str()), 3));
    ASSERT_NE(at, nullptr);
    EXPECT_TRUE(fs::exists(path("at.bin")));
    EXPECT_EQ(DataFile::create(IO::Location(path("no/at.bin").c_str()), 3), nullptr);

    std::unique_ptr<Directory> parent(made.getParent());
    ASSERT_NE(parent, nullptr);
    EXPECT_TRUE(*parent == folder);
    EXPECT_EQ(none.getParent(), nullptr);
}

TEST_F(DataFileTest, OpenKeepsThePosition) {
    put(path("f.txt"), "0123456789");
    DataFile file(text("f.txt"), 0, false);
    ASSERT_TRUE(file.open(0));
    sim::clearCalls();
    EXPECT_TRUE(file.open(0)); // the permission in force: not reopened
    EXPECT_EQ(sim::callCount(sim::fileOpenCall), 0u);
    EXPECT_EQ(file.skip(4), 4u);
    ASSERT_TRUE(file.open(3)); // another permission: reopened at the same position
    EXPECT_EQ(sim::callCount(sim::fileOpenCall), 1u);
    EXPECT_EQ(file.getPosition(), 4u);
    EXPECT_TRUE(file.write(String("ab")));
    EXPECT_TRUE(file.close());
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(get(path("f.txt")), "0123ab6789");

    // A reopen that cannot reach the position is no open: a write would land at the start.
    ASSERT_TRUE(file.open(0));
    EXPECT_EQ(file.skip(4), 4u);
    sim::failCall("IO::File::Skip", ErrIO);
    EXPECT_FALSE(file.open(3));
    EXPECT_EQ(file.getLastError(), ErrIO);
    EXPECT_FALSE(file.isOpen());

    sim::failOpen(ErrPermission, 2);
    EXPECT_FALSE(file.open(0));
    EXPECT_EQ(file.getLastError(), ErrPermission);
    EXPECT_EQ(file.getSize(), 0u);

    // Byte operations open the file themselves, with its permission.
    DataFile reader(text("f.txt"), 0, false);
    EXPECT_EQ(reader.getSize(), 10u);
    EXPECT_TRUE(reader.isOpen());
    EXPECT_FALSE(reader.write(String("x")));
    EXPECT_EQ(reader.getLastError(), ErrPermission);
    EXPECT_EQ(get(path("f.txt")), "0123ab6789");
    EXPECT_EQ(reader.skip(100), 10u);
    EXPECT_EQ(DataFile(text("none"), 0, false).skip(1), 0u);
    reader.close();

    // A reopen reaches the file it had open, or fails: another put at the name meanwhile is not
    // written.
    ASSERT_TRUE(file.open(0));
    put(path("other"), "another file");
    fs::rename(path("other"), path("f.txt"));
    EXPECT_FALSE(file.open(3));
    EXPECT_EQ(file.getLastError(), ErrIO);
    EXPECT_FALSE(file.write(String("x")));
    EXPECT_EQ(get(path("f.txt")), "another file");
    file.close();
    playOpenRows(false);
}

TEST_F(DataFileTest, AnotherUsersFileIsOpenedOnlyAsTheRulesLet) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's file needs root, to give one away";
    }
    playOpenRows(true);
}

void DataFileTest::playOpenRows(bool rootRows) {
    // What the rules open: the permission bits decide, for root too, and another user's entry in
    // a folder others may write is not taken for the player's, but for a file every user changes.
    struct Row {
        const char* name;
        mode_t mode; // or S_IFIFO with its bits
        DataFile::Permission permission;
        bool opened;
        uid_t owner = 0;        // another user's; 0 for the player's
        bool everyUser = false; // the file is one every user changes
    };
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const Row rows[] = {
        {"open to no one", 0000, DataFile::readOnly, false},
        {"read-only, to write", 0444, DataFile::readWrite, false},
        {"read-only, to read", 0444, DataFile::readOnly, true},
        {"another user's", 0644, DataFile::readOnly, false, other},
        {"another user's, changed by every user", 0644, DataFile::readOnly, true, other, true},
        {"another user's FIFO, changed by every user", S_IFIFO | 0666, DataFile::readOnly, false, other,
         true},
    };
    bool linuxOnly = false;
    for (Row const& row : rows) {
        SCOPED_TRACE(row.name);
        if ((row.owner != 0) != rootRows) {
            continue;
        }
#ifndef ZELVANE_FILEIO_LINUX
        // Another user's file, opened by the framework alone, is handed to the host as it is open.
        if (row.owner != 0 && row.opened) {
            linuxOnly = true;
            continue;
        }
#endif
        fs::remove_all(path("open"));
        fs::create_directory(path("open"));
        ASSERT_EQ(::chmod(path("open").c_str(), 0777), 0);
        const fs::path at = path("open/f.txt");
        if (S_ISFIFO(row.mode)) {
            ASSERT_EQ(::mkfifo(at.c_str(), row.mode & 0777), 0);
        } else {
            put(at, "content");
        }
        ASSERT_EQ(::chmod(at.c_str(), row.mode & 07777), 0);
        ASSERT_TRUE(row.owner == 0 || ::chown(at.c_str(), row.owner, row.owner) == 0);
        DataFile opened(String(at.c_str()), row.permission, false);
        opened.setChangedByEveryUser(row.everyUser);
        EXPECT_EQ(opened.open(row.permission), row.opened);
        EXPECT_EQ(opened.getLastError(), row.opened ? NoError : ErrPermission);
        opened.close();
    }
    fs::remove_all(path("open"));
    if (linuxOnly) {
        GTEST_SKIP() << openFileLinkOnLinuxOnly;
    }
}

TEST_F(DataFileTest, ReadAppendsExactlyTheBytesRead) {
    put(path("f.txt"), "hello world");
    DataFile file(text("f.txt"), 0, false);
    String content("> ");
    unsigned int length = 5;
    ASSERT_TRUE(file.read(content, length));
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(content, "> hello");
    length = 100; // more than is left: the rest, and the count of it
    ASSERT_TRUE(file.read(content, length));
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(content, "> hello world");
    EXPECT_EQ(content.dataLength(), 13u);
    length = 3; // nothing left
    EXPECT_FALSE(file.read(content, length));
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(content, "> hello world");

    file.setPosition(0);
    sim::failRead(ErrIO);
    length = 4;
    String untouched("x");
    EXPECT_FALSE(file.read(untouched, length));
    EXPECT_EQ(file.getLastError(), ErrIO);
    EXPECT_EQ(untouched, "x");
    EXPECT_EQ(length, 0u);

    // A file bigger than one piece reads whole.
    std::string big(DataFile::defBufferSize * 2 + 5, 'z');
    big[DataFile::defBufferSize] = 'y';
    put(path("big.txt"), big);
    DataFile bigFile(text("big.txt"), 0, false);
    String all;
    length = 0xFFFFFFFF;
    ASSERT_TRUE(bigFile.read(all, length));
    EXPECT_EQ(length, big.size());
    EXPECT_EQ(std::string(all.data(), all.dataLength()), big);

    // Into a host pointer block: a length of 0 reads the size of the block.
    char* block = allocatePtr(4);
    file.setPosition(6);
    length = 0;
    ASSERT_TRUE(file.read(block, length));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(std::string(block, 4), "worl");
    disposePtr(&block);
    char* empty = nullptr;
    length = 0;
    EXPECT_TRUE(file.read(empty, length));
}

TEST_F(DataFileTest, Writes) {
    DataFile file(text("w.bin"), 3, true);
    EXPECT_TRUE(file.write(String()));
    EXPECT_FALSE(file.isOpen()); // an empty text writes nothing
    EXPECT_TRUE(file.write(String("caf\xC3\xA9")));
    char raw[] = "xyz";
    EXPECT_TRUE(file.write(raw, 2));
    char* block = allocatePtr(3);
    copyMemory(block, "123", 3);
    EXPECT_TRUE(file.write(block, 0)); // the size of the block
    disposePtr(&block);
    EXPECT_TRUE(file.flush());
    EXPECT_EQ(file.getSize(), 10u);
    EXPECT_EQ(file.getPosition(), 10u);
    EXPECT_TRUE(file.setSize(4));
    EXPECT_TRUE(file.close());
    EXPECT_EQ(get(path("w.bin")), "caf\xC3");
    EXPECT_TRUE(file.flush()); // closed: nothing pending
    EXPECT_FALSE(DataFile().flush());

    // A full disk: the failed write is reported.
    sim::failWritesAfter(2);
    EXPECT_FALSE(file.write(String("abcdef")));
    EXPECT_EQ(file.getLastError(), ErrIO);
    file.close();

    EXPECT_TRUE(file.erase());
    EXPECT_FALSE(fs::exists(path("w.bin")));
    EXPECT_FALSE(file.erase());
    EXPECT_EQ(file.getLastError(), ErrNotFound);
    // A folder that took the file's name is not removed with what it holds.
    fs::create_directory(path("w.bin"));
    put(path("w.bin") / "inside", "x");
    EXPECT_FALSE(file.erase());
    EXPECT_EQ(get(path("w.bin") / "inside"), "x");
    // The file a link names goes and the link stays; a FIFO stays as it is.
    put(path("named"), "x");
    fs::create_symlink("named", path("link"));
    EXPECT_TRUE(DataFile(text("link"), 3, false).erase());
    EXPECT_TRUE(fs::is_symlink(path("link")));
    EXPECT_FALSE(fs::exists(path("named")));
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    EXPECT_TRUE(DataFile(text("pipe"), 3, false).erase());
    EXPECT_TRUE(fs::is_fifo(path("pipe")));
}

TEST_F(DataFileTest, CopiesInPieces) {
    std::string data(40000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = char('a' + i % 26);
    }
    put(path("source.bin"), data);
    DataFile source(text("source.bin"), 0, false);
    DataFile target(text("target.bin"), 3, true);
    sim::clearCalls();
    ASSERT_TRUE(target.write(source));
    std::vector<Int64> pieces;
    for (sim::CallRecord const& call : sim::calls()) {
        if (call.name == sim::fileReadCall) {
            pieces.push_back(call.code);
        }
    }
    EXPECT_EQ(pieces, (std::vector<Int64>{16384, 16384, 7232}));
    source.close();
    target.close();
    EXPECT_EQ(get(path("target.bin")), data);

    // From the source's position: the rest of it.
    DataFile rest(text("rest.bin"), 3, true);
    source.setPosition(39990);
    ASSERT_TRUE(rest.write(source));
    source.close();
    rest.close();
    EXPECT_EQ(get(path("rest.bin")), data.substr(39990));

    DataFile failing(text("failing.bin"), 3, true);
    source.setPosition(0);
    sim::failRead(ErrIO, 1, 1);
    EXPECT_FALSE(failing.write(source));
    EXPECT_EQ(failing.getLastError(), ErrIO);
    sim::failWritesAfter(100);
    source.setPosition(0);
    EXPECT_FALSE(failing.write(source));
    EXPECT_FALSE(failing.write(DataFile(text("none"), 0, false)));
    EXPECT_EQ(failing.getLastError(), ErrNotFound);
    source.close();
    failing.close();
}

TEST_F(DataFileTest, Encodings) {
    struct Case {
        std::string bytes;
        unsigned int position;
        bool skipMark;
        unsigned int expected;
        unsigned int after;
    };
    const unsigned int big = DataFile::bigEndianFlag;
    const Case cases[] = {
        {"", 0, true, 0, 0},
        {"A", 1, true, 0, 1},
        {"AB", 1, true, 0, 1},
        {"\xEF\xBB\xBF"
         "A",
         0, true, 99, 3},
        {"\xEF\xBB\xBF"
         "A",
         0, false, 99, 0},
        {"\xEF\xBB\xBF", 0, true, 99, 3},
        {"ABC", 0, true, 99, 0},
        {"ABCD", 2, true, 99, 2},
        {std::string("\xFF\xFE"
                     "A\0",
                     4),
         0, true, 100, 2},
        {std::string("\xFE\xFF\0A", 4), 0, true, 100 | big, 2},
        {std::string("\xFF\xFE\0\0A\0\0\0", 8), 0, true, 101, 4},
        {std::string("\0\0\xFE\xFF\0\0\0A", 8), 0, true, 101 | big, 4},
        {std::string("\0\0\xFE\xFF\0\0\0A", 8), 6, true, 101 | big, 6},
        {std::string("\xFF\xFE\0", 3), 0, true, 100, 2},
    };
    int n = 0;
    for (Case const& c : cases) {
        std::string name = "enc" + std::to_string(n++);
        put(path(name), c.bytes);
        DataFile file(text(name), 0, false);
        if (c.position > 0) {
            file.setPosition(c.position);
        }
        EXPECT_EQ(unsigned(file.getEncoding(c.skipMark)), c.expected) << name;
        EXPECT_EQ(file.getPosition(), c.after) << name;
        file.close();
    }
    EXPECT_TRUE(DataFile::isBigEndian(type(100 | big)));
    EXPECT_FALSE(DataFile::isBigEndian(type(100)));
    EXPECT_EQ(unsigned(DataFile::withoutByteOrder(type(101 | big))), 101u);

    // A start that cannot be read (the seek or the read failing) is UTF-8 without a mark: the
    // position stays, no byte of the text is skipped, and the error is left for the caller.
    for (const char* call : {"IO::File::SetPosition", "IO::File::ReadBin"}) {
        put(path("fails"), "ABCDEF");
        DataFile failing(text("fails"), 0, false);
        failing.open(0);
        sim::failCall(call, ErrIO);
        EXPECT_EQ(unsigned(failing.getEncoding(true)), 99u) << call;
        EXPECT_EQ(failing.getPosition(), 0u) << call;
        EXPECT_EQ(failing.getLastError(), ErrIO) << call;
        char bytes[6] = {};
        char* const buffer = bytes;
        unsigned int length = 6;
        EXPECT_TRUE(failing.read(buffer, length)) << call;
        EXPECT_EQ(std::string(bytes, length), "ABCDEF") << call;
        failing.close();
    }
}

TEST_F(DataFileTest, ByteOrderMarksRoundTrip) {
    const unsigned int big = DataFile::bigEndianFlag;
    struct Case {
        unsigned int type;
        std::string mark;
    };
    const Case cases[] = {{99, "\xEF\xBB\xBF"},
                          {100, "\xFF\xFE"},
                          {101, std::string("\xFF\xFE\0\0", 4)},
                          {100 | big, "\xFE\xFF"},
                          {101 | big, std::string("\0\0\xFE\xFF", 4)}};
    for (Case const& c : cases) {
        std::string name = "mark" + std::to_string(c.type);
        DataFile file(text(name), 3, true);
        file.setEncoding(type(c.type));
        EXPECT_EQ(file.getPosition(), c.mark.size());
        file.write(String("0123456789"));
        EXPECT_EQ(unsigned(file.getEncoding(false)), c.type);
        file.close();
        EXPECT_EQ(get(path(name)).substr(0, c.mark.size()), c.mark);
    }

    // Written over the start, and the position moves on by the mark.
    put(path("positioned"), "0123456789ABCDEF");
    DataFile file(text("positioned"), 3, false);
    file.setPosition(10);
    file.setEncoding(type(100));
    EXPECT_EQ(file.getPosition(), 12u);
    file.setEncoding(type(5)); // not a Unicode form: nothing written
    file.close();
    EXPECT_EQ(get(path("positioned")), "\xFF\xFE"
                                       "23456789ABCDEF");
}

TEST_F(DataFileTest, ReplaceContents) {
    put(path("prefs.xml"), "old content");
    DataFile file(text("prefs.xml"), 3, false);
    ASSERT_TRUE(file.replaceContents(String("new content")));
    EXPECT_EQ(get(path("prefs.xml")), "new content");
    EXPECT_EQ(entries(), std::vector<std::string>{"prefs.xml"});
    EXPECT_EQ(file.getSize(), 11u); // the object names the new file
    file.close();

    // Every failing step leaves the old file whole and no temporary file behind.
    struct Step {
        const char* name;
        void (*arm)();
        GSErrCode err;
    };
    const Step steps[] = {
        {"create", [] { sim::failCreate(ErrPermission); }, ErrPermission},
        {"open", [] { sim::failOpen(ErrIO); }, ErrIO},
        {"write", [] { sim::failWritesAfter(5); }, ErrIO},
        {"flush", [] { sim::failFlush(ErrIO); }, ErrIO},
        {"rename", [] { sim::failRename(ErrPermission); }, ErrPermission},
    };
    for (Step const& step : steps) {
        sim::reset();
        step.arm();
        EXPECT_FALSE(file.replaceContents(String("a longer replacement"))) << step.name;
        EXPECT_EQ(file.getLastError(), step.err) << step.name;
        EXPECT_EQ(get(path("prefs.xml")), "new content") << step.name;
        EXPECT_EQ(entries(), std::vector<std::string>{"prefs.xml"}) << step.name;
    }
    sim::reset();

    // The writer decides too: a refusal or an exception keeps the old file.
    EXPECT_FALSE(file.replaceContents([](DataFile& f) { return f.write(String("part")) && false; }));
    EXPECT_FALSE(file.replaceContents([](DataFile&) -> bool { throw std::runtime_error("writer failed"); }));
    EXPECT_EQ(get(path("prefs.xml")), "new content");
    EXPECT_EQ(entries(), std::vector<std::string>{"prefs.xml"});
    // A temporary file swapped for a link meanwhile goes as the link, not the file it names. The
    // writer's data file is on the temporary file's descriptor, which names it.
    put(path("theirs"), "kept");
    EXPECT_FALSE(file.replaceContents([this](DataFile& f) {
        const fs::path made = fs::read_symlink(f.getPathName().data());
        f.close();
        fs::remove(made);
        fs::create_symlink(path("theirs"), made);
        return false;
    }));
    EXPECT_EQ(get(path("theirs")), "kept");
    EXPECT_EQ(entries(), (std::vector<std::string>{"prefs.xml", "theirs"}));
    fs::remove(path("theirs"));
    // Where others may rename entries, the temporary file lies in a folder of the player's made
    // for it, and is renamed into place from that folder's descriptor: the folder moved away and
    // a file put under its old name meanwhile are neither renamed over the file nor removed.
    fs::create_directory(path("pub"));
    ASSERT_EQ(::chmod(path("pub").c_str(), 0777), 0);
    put(path("pub/prefs.xml"), "old");
    fs::path planted;
    EXPECT_TRUE(DataFile(text("pub/prefs.xml"), 3, false).replaceContents([&](DataFile& f) {
        const fs::path own = fs::read_symlink(f.getPathName().data()).parent_path();
        struct stat info {};
        EXPECT_EQ(own.parent_path(), path("pub"));
        EXPECT_TRUE(::lstat(own.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                    (info.st_mode & 0777) == 0700 && info.st_uid == ::geteuid());
        fs::rename(own, path("pub/moved"));
        fs::create_directory(own);
        planted = own / "prefs.xml";
        put(planted, "planted");
        return f.write(String("new"));
    }));
    EXPECT_EQ(get(path("pub/prefs.xml")), "new");
    EXPECT_EQ(get(planted), "planted");
    EXPECT_TRUE(fs::is_empty(path("pub/moved")));
    fs::remove_all(path("pub"));

    // An empty content and a file that did not exist yet.
    DataFile fresh(text("fresh.txt"), 3, false);
    ASSERT_TRUE(fresh.replaceContents([](DataFile&) { return true; }));
    EXPECT_TRUE(fs::exists(path("fresh.txt")));
    EXPECT_EQ(get(path("fresh.txt")), "");
    // An open file is closed first and then reads the new content.
    file.getSize();
    ASSERT_TRUE(file.isOpen());
    ASSERT_TRUE(file.replaceContents(String("third")));
    String content;
    unsigned int length = 100;
    ASSERT_TRUE(file.read(content, length));
    EXPECT_EQ(content, "third");
    file.close();

    EXPECT_FALSE(DataFile().replaceContents(String("x")));

    // A file that must be new is made only where there is none.
    auto write = [](DataFile& f) { return f.write(String("made")); };
    DataFile made(text("made.txt"), 3, false);
    ASSERT_TRUE(made.makeContents(write));
    EXPECT_EQ(get(path("made.txt")), "made");
    put(path("made.txt"), "theirs");
    EXPECT_FALSE(made.makeContents(write));
    EXPECT_EQ(made.getLastError(), ErrExists);
    EXPECT_EQ(get(path("made.txt")), "theirs");
}

TEST_F(DataFileTest, ReplaceKeepsTheLinksAndNodesOfTheFile) {
    // A link stays, and the file it names takes the content beside itself.
    struct Link {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links; // name, what it names
        const char* target;                                     // the file written, made when missing
    };
    const Link links[] = {
        {"to a file beside it", {{"link", "target"}}, "target"},
        {"to another folder", {{"link", "sub/target"}}, "sub/target"},
        {"by its full path", {{"link", nullptr}}, "sub/target"},
        {"through another link", {{"link", "hop"}, {"hop", "sub/target"}}, "sub/target"},
        {"to no file yet", {{"link", "sub/new"}}, "sub/new"},
    };
    for (Link const& c : links) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir);
        fs::create_directories(path("sub"));
        put(path("target"), "old");
        put(path("sub/target"), "old");
        for (auto const& link : c.links) {
            fs::create_symlink(link.second != nullptr ? fs::path(link.second) : path(c.target),
                               path(link.first));
        }
        DataFile file(text("link"), 3, false);
        ASSERT_TRUE(file.replaceContents(String("new")));
        EXPECT_EQ(get(path(c.target)), "new");
        for (auto const& link : c.links) {
            EXPECT_TRUE(fs::is_symlink(path(link.first)));
        }
        for (auto const& entry : fs::recursive_directory_iterator(m_dir)) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary file left";
        }
    }

    // A FIFO and a device are written as they stand, never replaced by a plain file.
#ifndef ZELVANE_FILEIO_LINUX
    GTEST_SKIP() << openFileLinkOnLinuxOnly;
#endif
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    int reader = ::open(path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    DataFile pipe(text("pipe"), 3, false);
    EXPECT_TRUE(pipe.replaceContents(String("to the reader")));
    char received[32] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 13);
    ::close(reader);
    EXPECT_EQ(std::string(received), "to the reader");
    EXPECT_TRUE(fs::is_fifo(path("pipe")));
}

TEST_F(DataFileTest, ReplaceWritesADeviceAsItStands) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a character device needs root, to make one";
    }
#ifndef ZELVANE_FILEIO_LINUX
    GTEST_SKIP() << openFileLinkOnLinuxOnly;
#endif
    ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    DataFile device(text("null"), 3, false);
    EXPECT_TRUE(device.replaceContents(String("discarded")));
    EXPECT_TRUE(fs::is_character_file(path("null")));
    EXPECT_EQ(entries(), (std::vector<std::string>{"null"}));
}

TEST_F(DataFileTest, ReplaceIsNotStoppedByLeftoversAndSweepsThem) {
    put(path("prefs.xml"), "old");
    DataFile file(text("prefs.xml"), 3, false);
    // A clean-up that fails again and again: each failed replace leaves its temporary file, and
    // no sweep can delete them either.
    sim::failDelete(ErrPermission, -1);
    for (int i = 0; i < 105; ++i) {
        sim::failRename(ErrPermission);
        EXPECT_FALSE(file.replaceContents(String("new"))) << i;
    }
    EXPECT_EQ(entries().size(), 106u) << "the leftovers are there";
    // They never stand in the way of a replace.
    ASSERT_TRUE(file.replaceContents(String("newer")));
    EXPECT_EQ(get(path("prefs.xml")), "newer");
    sim::clearFaults();

    // Leftovers of the names of earlier versions, and entries that are no temporary of this file.
    const char* const kept[] = {".other.xml.0a1b.tmp", ".prefs.xml.tmp", ".prefs.xml.zz.tmp",
                                ".prefs.xml.tmp1x", "prefs.xml.0a1b.tmp"};
    for (const char* name : kept) {
        put(path(name), "x");
    }
    put(path(".prefs.xml.tmp99"), "x");
    put(path(".prefs.xml.tmp0"), "x");
    // The folder a write made for its temporary file (named so, 0700) goes with what it holds,
    // empty or not; any other folder of a leftover's name, and one that holds anything else (a
    // folder, a FIFO, a link, another user's file), is someone's, and stays with all it holds.
    auto folder = [this](const char* name, mode_t mode, const char* holding) {
        fs::create_directory(path(name));
        EXPECT_EQ(::chmod(path(name).c_str(), mode), 0);
        const fs::path held = path(name) / "prefs.xml";
        const std::string kind = holding != nullptr ? holding : "";
        if (kind == "file") {
            put(held, "x");
        } else if (kind == "folder") {
            fs::create_directory(held);
        } else if (kind == "fifo") {
            EXPECT_EQ(::mkfifo(held.c_str(), 0600), 0);
        } else if (kind == "link") {
            fs::create_symlink(path("prefs.xml"), held);
        }
    };
    folder(".prefs.xml.00000000000000ff.tmp", 0700, "file");
    folder(".prefs.xml.00000000000000fd.tmp", 0700, nullptr);
    std::vector<std::string> keptFolders = {".prefs.xml.00000000000000fa.tmp",
                                            ".prefs.xml.00000000000000fb.tmp",
                                            ".prefs.xml.00000000000000fc.tmp",
                                            ".prefs.xml.0000000000000b0b.tmp",
                                            ".prefs.xml.00ff.tmp",
                                            ".prefs.xml.tmp7"};
    folder(".prefs.xml.00000000000000fa.tmp", 0700, "fifo");
    folder(".prefs.xml.00000000000000fb.tmp", 0700, "link");
    folder(".prefs.xml.00000000000000fc.tmp", 0755, "file");
    folder(".prefs.xml.0000000000000b0b.tmp", 0700, "folder");
    folder(".prefs.xml.00ff.tmp", 0700, "file");
    folder(".prefs.xml.tmp7", 0755, "file");
    put(path(".prefs.xml.tmp7/notes.txt"), "notes");

    ASSERT_TRUE(file.replaceContents(String("new")));
    EXPECT_EQ(get(path("prefs.xml")), "new");
    std::vector<std::string> expected(std::begin(kept), std::end(kept));
    expected.insert(expected.end(), std::begin(keptFolders), std::end(keptFolders));
    EXPECT_EQ(get(path(".prefs.xml.tmp7/notes.txt")), "notes");
    expected.push_back("prefs.xml");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

TEST_F(DataFileTest, ASweepKeepsAnotherUsersLeftovers) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's leftovers need root, to give one away";
    }
    // Another user's may be that user's replace under way, in a folder others may write.
    const uid_t other = 4242;
    put(path("prefs.xml"), "old");
    put(path(".prefs.xml.0a1c.tmp"), "x");
    fs::create_directory(path(".prefs.xml.00000000000000fe.tmp"));
    ASSERT_EQ(::chmod(path(".prefs.xml.00000000000000fe.tmp").c_str(), 0700), 0);
    ASSERT_EQ(::chown(path(".prefs.xml.0a1c.tmp").c_str(), other, other), 0);
    ASSERT_EQ(::chown(path(".prefs.xml.00000000000000fe.tmp").c_str(), other, other), 0);
    // The player's own leftover folder holding another user's file keeps it, and so is kept.
    fs::create_directory(path(".prefs.xml.00000000000000f9.tmp"));
    ASSERT_EQ(::chmod(path(".prefs.xml.00000000000000f9.tmp").c_str(), 0700), 0);
    put(path(".prefs.xml.00000000000000f9.tmp/prefs.xml"), "x");
    ASSERT_EQ(::chown(path(".prefs.xml.00000000000000f9.tmp/prefs.xml").c_str(), other, other), 0);
    DataFile file(text("prefs.xml"), 3, false);
    ASSERT_TRUE(file.replaceContents(String("new")));
    EXPECT_EQ(get(path("prefs.xml")), "new");
    EXPECT_EQ(entries(),
              (std::vector<std::string>{".prefs.xml.00000000000000f9.tmp", ".prefs.xml.00000000000000fe.tmp",
                                        ".prefs.xml.0a1c.tmp", "prefs.xml"}));
    EXPECT_EQ(get(path(".prefs.xml.00000000000000f9.tmp/prefs.xml")), "x");
}

TEST_F(DataFileTest, FileDialogs) {
    std::vector<String> descriptions{"Text", "Table", "Orphan"};
    std::vector<String> extensions{"txt", "csv"};
    IO::Location folder(m_dir.c_str());

    sim::queueFileDialogChoice(path("chosen.csv"), 1);
    int selected = 1;
    std::unique_ptr<DataFile> saved(
        DataFile::promptSave("Export", descriptions, selected, &folder, extensions, {}, 3, "ignored"));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(fs::exists(path("chosen.csv")));
    EXPECT_EQ(saved->getName(), "chosen.csv");

    sim::queueFileDialogCancel();
    selected = 7; // out of range: nothing pre-selected
    EXPECT_EQ(DataFile::promptOpen("Import", descriptions, selected, nullptr, extensions, {}, 0), nullptr);
    EXPECT_EQ(selected, 7);

    sim::queueFileDialogChoice(path("chosen.csv"), 0);
    std::unique_ptr<DataFile> opened(DataFile::promptOpen("Open", "Table", &folder, "csv", 0, 0));
    ASSERT_NE(opened, nullptr);

    const std::vector<sim::FileDialogRecord>& shown = sim::fileDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].type, 4);
    EXPECT_EQ(shown[0].title, "Export");
    EXPECT_EQ(shown[0].filters, (std::vector<std::string>{"Text (*.txt)", "Table (*.csv)"}));
    EXPECT_EQ(shown[0].folder, m_dir.string());
    EXPECT_EQ(shown[0].preselected, 1u);
    EXPECT_EQ(shown[1].type, 0);
    EXPECT_EQ(shown[1].folder, "");
    EXPECT_EQ(shown[1].preselected, 0u);
    EXPECT_EQ(shown[2].filters, (std::vector<std::string>{"Table (*.csv)"}));

    FTM::FileTypeManager manager("zelvaneManager");
    FTM::TypeID csv = manager.FindType(FTM::FileType{"", "csv", 0, 0});
    ASSERT_NE(csv, FTM::UnknownType);
    EXPECT_EQ(FTM::FileTypeManager::GetType(csv)->macType, 0x3F3F3F3Fu);
    EXPECT_EQ(FTM::FileTypeManager::GetType(csv)->macCreator, 0x54455854u);

    // The library-part save dialog hands the host the negated flag and fills the location.
    IO::Location where(m_dir.c_str());
    sim::queueFileDialogChoice(path("part.gsm"));
    std::unique_ptr<DataFile> part(DataFile::promptObjectSave(&where, true, 3));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->getName(), "part.gsm");
    EXPECT_TRUE(fs::exists(path("part.gsm")));
    EXPECT_TRUE(where == IO::Location(path("part.gsm").c_str()));
    sim::queueFileDialogCancel();
    EXPECT_EQ(DataFile::promptObjectSave(nullptr, false, 3), nullptr);
    sim::queueFileDialogChoice(path("failed.gsm"));
    sim::failCall("ACAPI_Interface:SLPD", APIERR_GENERAL);
    EXPECT_EQ(DataFile::promptObjectSave(nullptr, false, 3), nullptr);
    EXPECT_FALSE(fs::exists(path("failed.gsm")));
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[3].type, int(MakeGSType("SLPD")));
    EXPECT_FALSE(shown[3].option);
    EXPECT_EQ(shown[3].folder, m_dir.string());
    EXPECT_TRUE(shown[4].option);
    EXPECT_EQ(shown[4].folder, "");
}

TEST_F(DataFileTest, CopiesAndTimes) {
    put(path("t.txt"), "0123456789");
    DataFile file(text("t.txt"), 0, false);
    file.skip(3);
    DataFile copy(file);
    EXPECT_TRUE(copy == file);
    EXPECT_FALSE(copy.isOpen()); // a copy opens its own host file when it needs to
    EXPECT_EQ(copy.getPosition(), 0u);
    std::unique_ptr<DataFile> clone(file.clone());
    EXPECT_TRUE(*clone == file);
    DataFile assigned(text("other"), 3, false);
    assigned = file;
    EXPECT_TRUE(assigned == file);
    EXPECT_EQ(assigned.getLastError(), 0);
    assigned = DataFile();
    EXPECT_FALSE(assigned.exists());

    EXPECT_FALSE(file.getModificationTime() == Time(false));
    EXPECT_TRUE(DataFile(text("none"), 0, false).getModificationTime() == Time(false));
    EXPECT_TRUE(DataFile().getModificationTime() == Time(false));

    EXPECT_EQ(file.setLocation(IO::Location(path("none").c_str())), ErrNotFound);
    EXPECT_FALSE(file.isOpen());
    file.close();
    copy.close();
    clone->close();
}

} // namespace
