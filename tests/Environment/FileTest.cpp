#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/FileList.h"
#include "FileFixture.h"
#include "IO/Location.hpp"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace zelvane;

namespace {

class FileTest : public FileFixture {};

TEST_F(FileTest, Names) {
    put(path("notes.txt"), "x");
    fs::create_directories(path("folder.d/rfs"));
    DataFile file(text("notes.txt"), DataFile::readOnly, false);
    Directory folder(text("folder.d"), false);
    Directory resource(text("folder.d/rfs"), false);

    EXPECT_EQ(file.getName(), "notes.txt");
    EXPECT_EQ(file.getExtension(), "txt");
    EXPECT_EQ(folder.getName(), "folder.d");
    EXPECT_EQ(folder.getExtension(), "d");
    EXPECT_EQ(resource.getName(), "folder.d"); // "rfs" stands for the entry before it
    EXPECT_EQ(DataFile(text("plain"), 0, false).getExtension(), "");
    for (File const* entry : {static_cast<File const*>(&file), static_cast<File const*>(&folder)}) {
        EXPECT_EQ(entry->getVolumeName(), "");
    }

    EXPECT_EQ(file.getPathName(), text("notes.txt"));
    EXPECT_EQ(folder.getPathName(), String((m_dir.string() + "/folder.d/").c_str()));
    EXPECT_EQ(Directory(String("/"), false).getPathName(), "/");
    String url = folder.getURL();
    EXPECT_EQ(url.substr(0, 7), "file://");
    EXPECT_EQ(url.substr(url.size() - 9), "folder.d/");

    // Entries that name nothing describe themselves as empty.
    DataFile none;
    Directory nowhere;
    EXPECT_EQ(none.getName(), "");
    EXPECT_EQ(none.getPathName(), "");
    EXPECT_EQ(nowhere.getURL(), "");

    sim::failCall("IO::Location::DeleteLastLocalName", ErrIO);
    EXPECT_EQ(resource.getName(), ""); // the step back to the name before "rfs" failed
}

TEST_F(FileTest, RenameAndLocation) {
    put(path("a.txt"), "a");
    put(path("b.txt"), "b");
    DataFile file(text("a.txt"), DataFile::readWrite, false);

    // An entry of that name is kept, a read-only one too; a read-only file is renamed as its folder
    // lets.
    for (const mode_t mode : {0644, 0444}) {
        ASSERT_EQ(::chmod(path("b.txt").c_str(), mode), 0);
        EXPECT_FALSE(file.setName("b.txt"));
        EXPECT_EQ(file.getLastError(), ErrExists);
        EXPECT_EQ(get(path("b.txt")), "b");
    }
    ASSERT_EQ(::chmod(path("a.txt").c_str(), 0444), 0);
    EXPECT_FALSE(file.setName("../c.txt"));
    EXPECT_EQ(file.getLastError(), ErrParam);

    ASSERT_TRUE(file.setName("c.txt"));
    EXPECT_EQ(file.getLastError(), 0);
    EXPECT_FALSE(fs::exists(path("a.txt")));
    EXPECT_EQ(get(path("c.txt")), "a");
    EXPECT_EQ(file.getName(), "c.txt"); // the object follows the entry
    EXPECT_TRUE(file.exists());

    sim::failRename(ErrPermission);
    EXPECT_FALSE(file.setName("d.txt"));
    EXPECT_EQ(file.getLastError(), ErrPermission);
    EXPECT_TRUE(fs::exists(path("c.txt")));

    EXPECT_EQ(file.setPathName(text("b.txt")), 0);
    EXPECT_EQ(file.getName(), "b.txt");
    EXPECT_EQ(file.setPathName(text("missing")), ErrNotFound);
    EXPECT_FALSE(file.exists());
}

TEST_F(FileTest, EqualityAndAccess) {
    put(path("a.txt"), "a");
    DataFile a(text("a.txt"), 0, false);
    DataFile same(text("./a.txt"), 3, false);
    DataFile other(text("b.txt"), 0, false);
    Directory folder(String(m_dir.c_str()), false);
    EXPECT_TRUE(static_cast<File const&>(a) == same);
    EXPECT_FALSE(static_cast<File const&>(a) == other);
    EXPECT_TRUE(a == same);
    EXPECT_FALSE(static_cast<File const&>(folder) == a);

    // Full access opens the entry to everyone, a folder keeping its sticky and set-group-ID bits, a
    // file dropping its set-ID bits; the owner's access gives its owner full access and keeps what
    // its group and others had. A FIFO or a device is left as it is.
    struct Access {
        const char* name;
        mode_t kind;
        mode_t before, full, owner;
    };
    const Access rows[] = {
        {"a file its owner may only read", S_IFREG, 0400, 0777, 0600},
        {"a file all may read", S_IFREG, 0444, 0777, 0644},
        {"a folder its owner may only list", S_IFDIR, 0500, 0777, 0700},
        {"a folder all may list", S_IFDIR, 0555, 0777, 0755},
        {"a sticky folder", S_IFDIR, 01755, 01777, 01755},
        {"a set-group-ID folder", S_IFDIR, 02755, 02777, 02755},
        {"a sticky set-group-ID folder", S_IFDIR, 03755, 03777, 03755},
        {"a set-ID file", S_IFREG, 06755, 0777, 06755},
        {"a FIFO", S_IFIFO, 0600, 0600, 0600},
    };
    for (Access const& row : rows) {
        for (bool full : {true, false}) {
            SCOPED_TRACE(std::string(row.name) + (full ? ": full access" : ": the owner's access"));
            fs::remove_all(path("entry"));
            if (row.kind == S_IFDIR) {
                fs::create_directory(path("entry"));
            } else if (row.kind == S_IFIFO) {
                ASSERT_EQ(::mkfifo(path("entry").c_str(), 0600), 0);
            } else {
                put(path("entry"), "x");
            }
            ASSERT_EQ(::chmod(path("entry").c_str(), row.before), 0);
            std::unique_ptr<File> entry(row.kind == S_IFDIR
                                            ? static_cast<File*>(new Directory(text("entry"), false))
                                            : new DataFile(text("entry"), 0, false));
            full ? entry->allowFullAccess() : entry->allowOwnerAccess();
            struct stat info {};
            ASSERT_EQ(::lstat(path("entry").c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, full ? row.full : row.owner);
        }
    }
    fs::remove_all(path("entry"));
}

FileList listOf(std::initializer_list<File*> files) {
    FileList list;
    for (File* file : files) {
        list.push_back(file);
    }
    return list;
}

TEST_F(FileTest, ListEquality) {
    auto a = [&] { return new DataFile(text("a"), 0, false); };
    auto b = [&] { return new DataFile(text("b"), 0, false); };
    auto c = [&] { return new Directory(text("c"), false); };

    EXPECT_TRUE(FileList() == FileList());
    EXPECT_TRUE(listOf({a(), b(), c()}) == listOf({c(), a(), b()})); // order is not compared
    EXPECT_FALSE(listOf({a(), b()}) == listOf({a(), b(), c()}));
    EXPECT_FALSE(listOf({a(), b()}) == listOf({a(), c()}));
    // Repetitions are not compared: every file of the first list is somewhere in the second.
    EXPECT_TRUE(listOf({a(), a()}) == listOf({a(), b()}));
    EXPECT_TRUE(listOf({a(), nullptr}) == listOf({nullptr, a()}));
    EXPECT_FALSE(listOf({a(), nullptr}) == listOf({a(), b()}));
    FileList self = listOf({a()});
    EXPECT_TRUE(self == self);

    FileList list = listOf({a(), c()});
    DataFile probe(text("a"), 3, false);
    EXPECT_TRUE(list.hasFile(probe));
    EXPECT_FALSE(list.hasFile(DataFile(text("b"), 3, false)));

    // Copies are deep: the copy's entries are its own.
    FileList copy(list);
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_NE(copy[0], list[0]);
    EXPECT_TRUE(copy == list);
    EXPECT_TRUE(copy[1]->isFolder());
}

TEST_F(FileTest, ListContainsWhatLiesInItsFolders) {
    fs::create_directories(path("lib/sub"));
    fs::create_directories(path("libx"));
    put(path("lib/sub/part.gsm"), "p");
    put(path("libx/other.gsm"), "o");
    put(path("lib.gsm"), "f");
    FileList list = listOf({new Directory(text("lib"), false), new DataFile(text("lib.gsm"), 0, false)});

    EXPECT_TRUE(list.contains(DataFile(text("lib/sub/part.gsm"), 0, false)));
    EXPECT_TRUE(list.contains(Directory(text("lib/sub"), false)));
    EXPECT_FALSE(list.contains(Directory(text("lib"), false))); // a folder does not hold itself
    EXPECT_FALSE(list.contains(DataFile(text("libx/other.gsm"), 0, false)));
    EXPECT_FALSE(list.contains(DataFile(text("lib.gsm/x"), 0, false))); // files hold nothing
    EXPECT_FALSE(list.contains(DataFile()));
    EXPECT_FALSE(FileList().contains(DataFile(text("lib/sub/part.gsm"), 0, false)));
}

} // namespace
