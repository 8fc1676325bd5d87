#include "DG/FileDialog.hpp"
#include "FTM/FileTypeManager.hpp"
#include "IO/File.hpp"
#include "IO/FileSystem.hpp"
#include "IO/Folder.hpp"
#include "IO/Location.hpp"
#include "IO/Name.hpp"
#include "IO/TreeEnumerator.hpp"
#include "Nodes.h"
#include "sim/FileDialogs.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Each test works in a folder of its own under the sandbox: tests of one executable may run at
// the same time.
class IOTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = sim::sandboxRoot() / "io" / (std::string(info->test_suite_name()) + "." + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { EXPECT_EQ(sim::openFileCount(), 0u); }

    fs::path path(const std::string& name) const { return m_dir / name; }
    IO::Location location(const std::string& name) const { return IO::Location(path(name).c_str()); }
    static void put(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    static std::string get(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void checkSharedLinks(uid_t owner);
    void playNodeRows(bool rootRows);

    fs::path m_dir;
};

const uid_t self = ::geteuid();
// A user other than this process's, whoever runs the tests.
const uid_t other = self != 4242 ? 4242 : 4243;

std::string pathText(const IO::Location& location) {
    std::string text;
    EXPECT_EQ(location.ToPath(&text), NoError);
    return text;
}

TEST(IOLocationTest, PathsAndNames) {
    struct Case {
        const char* text;
        const char* path;
    };
    const Case cases[] = {
        {"/a/b/c", "/a/b/c"}, {"/a//b/./c/", "/a/b/c"}, {"/a/b/../c", "/a/c"}, {"/", "/"}, {"/a/", "/a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pathText(IO::Location(c.text)), c.path) << c.text;
    }
    EXPECT_TRUE(IO::Location("").IsEmpty());
    std::string text;
    EXPECT_EQ(IO::Location().ToPath(&text), ErrParam);
    EXPECT_EQ(pathText(IO::Location("rel/x")), (sim::specialFolder("Current") / "rel/x").string());

    IO::Location location("/a/b/rfs");
    IO::Name name;
    ASSERT_EQ(location.GetLastLocalName(&name), NoError);
    EXPECT_EQ(name.ToUTF8(), "rfs");
    ASSERT_EQ(location.DeleteLastLocalName(), NoError);
    EXPECT_EQ(pathText(location), "/a/b");
    ASSERT_EQ(location.DeleteLastLocalName(), NoError);
    ASSERT_EQ(location.DeleteLastLocalName(), NoError);
    EXPECT_EQ(pathText(location), "/");
    EXPECT_EQ(location.DeleteLastLocalName(), ErrParam);
    EXPECT_EQ(location.GetLastLocalName(&name), ErrParam);

    // A local name names one entry: no separators and no steps up.
    for (const char* bad : {"", ".", "..", "a/b"}) {
        IO::Location folder("/a");
        EXPECT_EQ(folder.AppendToLocal(IO::Name(bad)), ErrParam) << bad;
        EXPECT_EQ(pathText(folder), "/a");
        EXPECT_TRUE(IO::Location(IO::Location("/a"), IO::Name(bad)).IsEmpty()) << bad;
    }
    EXPECT_EQ(pathText(IO::Location(IO::Location("/a"), IO::Name("b c"))), "/a/b c");

    std::string url;
    ASSERT_EQ(IO::Location("/a b/\xC3\xA9%.txt").ToURL(&url), NoError);
    EXPECT_EQ(url, "file:///a%20b/%C3%A9%25.txt");

    sim::failCall("IO::Location::DeleteLastLocalName", ErrIO);
    IO::Location failing("/a/b");
    EXPECT_EQ(failing.DeleteLastLocalName(), ErrIO);
    EXPECT_EQ(pathText(failing), "/a/b");
}

TEST(IOLocationTest, NameExtensions) {
    struct Case {
        const char* name;
        GSErrCode err;
        const char* extension;
    };
    const Case cases[] = {{"notes.txt", NoError, "txt"}, {"a.b.xml", NoError, "xml"},
                          {"a.", NoError, ""},           {"plain", ErrNotFound, ""},
                          {".profile", ErrNotFound, ""}, {"", ErrNotFound, ""}};
    for (const Case& c : cases) {
        IO::Name extension("unchanged");
        EXPECT_EQ(IO::Name(c.name).GetExtension(&extension), c.err) << c.name;
        EXPECT_EQ(extension.ToUTF8(), c.err == NoError ? c.extension : "unchanged") << c.name;
    }
}

TEST(IOLocationTest, Ancestors) {
    struct Case {
        const char* ancestor;
        const char* entry;
        bool expected;
    };
    const Case cases[] = {
        {"/a", "/a/b/c", true}, {"/a", "/a/b", true}, {"/a", "/a", false}, {"/a", "/ab", false},
        {"/a/b", "/a", false},  {"/", "/a", true},    {"/", "/", false},   {"", "/a", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IO::Location(c.ancestor).IsAncestorOf(IO::Location(c.entry)), c.expected)
            << c.ancestor << " " << c.entry;
    }
}

TEST_F(IOTest, CreateAndStatus) {
    IO::File missing(location("none.txt"), IO::File::Fail);
    EXPECT_EQ(missing.GetStatus(), ErrNotFound);
    EXPECT_FALSE(fs::exists(path("none.txt")));

    IO::File made(location("new.txt"), IO::File::Create);
    EXPECT_EQ(made.GetStatus(), NoError);
    EXPECT_TRUE(fs::is_regular_file(path("new.txt")));

    // Creating a file that exists is no error and keeps what it holds.
    put(path("old.txt"), "kept");
    IO::File again(location("old.txt"), IO::File::Create);
    EXPECT_EQ(again.GetStatus(), NoError);
    EXPECT_EQ(get(path("old.txt")), "kept");

    fs::create_directory(path("dir"));
    EXPECT_EQ(IO::File(location("dir"), IO::File::Create).GetStatus(), ErrParam);

    sim::failCreate(ErrPermission);
    IO::File refused(location("refused.txt"), IO::File::Create);
    EXPECT_EQ(refused.GetStatus(), ErrPermission);
    EXPECT_FALSE(fs::exists(path("refused.txt")));

    // A FIFO or a device is a file as a regular one is.
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    const bool device = ::geteuid() == 0;
    if (device) {
        ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    }
    for (const char* node : {"pipe", "null"}) {
        if (!device && std::string(node) == "null") {
            continue;
        }
        EXPECT_EQ(IO::File(location(node), IO::File::Create).GetStatus(), NoError) << node;
        IO::FileSystem::ItemType type = IO::FileSystem::NotFound;
        ASSERT_EQ(IO::fileSystem.GetItemType(location(node), &type), NoError);
        EXPECT_EQ(type, IO::FileSystem::FileItem) << node;
    }

    EXPECT_EQ(IO::File(location("no/such/x.txt"), IO::File::Create).GetStatus(), ErrNotFound);
    // Nothing is made outside the sandbox.
    IO::Location outside((sim::sandboxRoot().parent_path() / "zelvane-outside.txt").c_str());
    EXPECT_EQ(IO::File(outside, IO::File::Create).GetStatus(), ErrPermission);
    if (!device) {
        GTEST_SKIP() << "a character device needs root, to make one";
    }
}

TEST_F(IOTest, ReadWriteAndPosition) {
    IO::File file(location("data.bin"), IO::File::Create);
    EXPECT_EQ(file.WriteBin("x", 1), ErrParam); // not open
    ASSERT_EQ(file.Open(IO::File::ReadWriteMode), NoError);
    EXPECT_EQ(file.Open(IO::File::ReadWriteMode), ErrParam);
    EXPECT_EQ(sim::openFileCount(), 1u);
    ASSERT_EQ(file.WriteBin("hello world", 11), NoError);
    UInt64 value = 0;
    ASSERT_EQ(file.GetPosition(&value), NoError);
    EXPECT_EQ(value, 11u);
    ASSERT_EQ(file.GetDataLength(&value), NoError);
    EXPECT_EQ(value, 11u);

    ASSERT_EQ(file.SetPosition(6), NoError);
    char buffer[16] = {};
    UInt32 read = 0;
    ASSERT_EQ(file.ReadBin(buffer, 16, &read), NoError); // a short read at the end is no error
    EXPECT_EQ(std::string(buffer, read), "world");
    EXPECT_EQ(file.ReadBin(buffer, 4, &read), ErrEOF);
    EXPECT_EQ(read, 0u);

    ASSERT_EQ(file.SetPosition(2), NoError);
    UInt32 skipped = 0;
    ASSERT_EQ(file.Skip(4, &skipped), NoError);
    EXPECT_EQ(skipped, 4u);
    ASSERT_EQ(file.Skip(100, &skipped), NoError);
    EXPECT_EQ(skipped, 5u); // no further than the end
    ASSERT_EQ(file.GetPosition(&value), NoError);
    EXPECT_EQ(value, 11u);

    ASSERT_EQ(file.SetDataLength(5), NoError);
    ASSERT_EQ(file.Flush(), NoError);
    ASSERT_EQ(file.Close(), NoError);
    EXPECT_EQ(sim::openFileCount(), 0u);
    EXPECT_EQ(get(path("data.bin")), "hello");

    // The mode decides what may be done.
    ASSERT_EQ(file.Open(IO::File::ReadMode), NoError);
    EXPECT_EQ(file.WriteBin("x", 1), ErrPermission);
    EXPECT_EQ(file.SetDataLength(0), ErrPermission);
    file.Close();
    ASSERT_EQ(file.Open(IO::File::WriteMode), NoError);
    EXPECT_EQ(file.ReadBin(buffer, 1, &read), ErrPermission);
    file.Close();
    ASSERT_EQ(file.Open(IO::File::WriteEmptyMode), NoError);
    file.Close();
    EXPECT_EQ(get(path("data.bin")), "");
    // A file its owner may not write opens for reading only.
    fs::permissions(path("data.bin"), fs::perms::owner_read);
    EXPECT_EQ(file.Open(IO::File::ReadWriteMode), ErrPermission);
    ASSERT_EQ(file.Open(IO::File::ReadMode), NoError);
    file.Close();
    EXPECT_EQ(file.Open(7), ErrParam);
    EXPECT_EQ(file.Open(IO::File::ReadMode, 0), ErrParam);
    EXPECT_EQ(IO::File(location("none"), IO::File::Fail).Open(IO::File::ReadMode), ErrNotFound);

    // A file object closes itself when it goes.
    {
        IO::File scoped(location("data.bin"), IO::File::Fail);
        ASSERT_EQ(scoped.Open(IO::File::ReadMode), NoError);
        EXPECT_EQ(sim::openFileCount(), 1u);
    }
    EXPECT_EQ(sim::openFileCount(), 0u);
}

TEST_F(IOTest, InjectedFaults) {
    put(path("f.txt"), "abcdef");
    IO::File file(location("f.txt"), IO::File::Fail);

    sim::failOpen(ErrPermission);
    EXPECT_EQ(file.Open(IO::File::ReadWriteMode), ErrPermission);
    EXPECT_FALSE(file.IsOpen());
    ASSERT_EQ(file.Open(IO::File::ReadWriteMode), NoError);

    sim::failRead(ErrIO, 1, 1);
    char buffer[3];
    UInt32 read = 0;
    EXPECT_EQ(file.ReadBin(buffer, 3, &read), NoError);
    EXPECT_EQ(file.ReadBin(buffer, 3, &read), ErrIO);
    EXPECT_EQ(read, 0u);

    // A full disk: the write that passes the limit puts what fits and fails, later ones fail.
    ASSERT_EQ(file.SetPosition(0), NoError);
    sim::failWritesAfter(4, ErrIO);
    EXPECT_EQ(file.WriteBin("12", 2), NoError);
    EXPECT_EQ(file.WriteBin("345", 3), ErrIO);
    EXPECT_EQ(file.WriteBin("6", 1), ErrIO);
    EXPECT_EQ(file.SetDataLength(100), ErrIO);
    sim::failFlush(ErrIO);
    EXPECT_EQ(file.Flush(), ErrIO);
    file.Close();
    EXPECT_EQ(get(path("f.txt")), "1234ef");

    sim::reset(); // lifts the limit
    ASSERT_EQ(file.Open(IO::File::WriteMode), NoError);
    EXPECT_EQ(file.WriteBin("zz", 2), NoError);
    file.Close();
    EXPECT_EQ(get(path("f.txt")), "zz34ef");
    EXPECT_EQ(sim::callCount(sim::fileWriteCall), 1u);
}

TEST_F(IOTest, Folders) {
    GSErrCode err = NoError;
    std::unique_ptr<IO::Folder> missing(IO::Folder::New(location("sub"), IO::Folder::Fail, &err));
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(err, ErrNotFound);
    EXPECT_EQ(missing->GetStatus(), ErrNotFound);

    std::unique_ptr<IO::Folder> made(IO::Folder::New(location("sub"), IO::Folder::Create, &err));
    EXPECT_EQ(err, NoError);
    EXPECT_TRUE(fs::is_directory(path("sub")));
    EXPECT_EQ(missing->GetStatus(), NoError); // the status follows the disk

    std::unique_ptr<IO::Folder> child(IO::Folder::New(*made, IO::Name("child"), IO::Folder::Create, &err));
    EXPECT_EQ(err, NoError);
    EXPECT_TRUE(fs::is_directory(path("sub/child")));
    put(path("sub/a.txt"), "a");
    UInt32 count = 0;
    ASSERT_EQ(made->GetEntryCount(&count), NoError);
    EXPECT_EQ(count, 2u);
    GSTime time = 0;
    ASSERT_EQ(made->GetModificationTime(&time), NoError);
    EXPECT_NE(time, GSTime(0));

    std::unique_ptr<IO::Folder> deep(IO::Folder::New(location("x/y"), IO::Folder::Create, &err));
    EXPECT_EQ(err, ErrNotFound); // only the last level is made
    std::unique_ptr<IO::Folder> file(IO::Folder::New(location("sub/a.txt"), IO::Folder::Create, &err));
    EXPECT_EQ(err, ErrParam);

    sim::failCreate(ErrPermission);
    std::unique_ptr<IO::Folder> refused(IO::Folder::New(location("refused"), IO::Folder::Create, &err));
    EXPECT_EQ(err, ErrPermission);
    EXPECT_FALSE(fs::exists(path("refused")));

    sim::failCall("IO::Folder::New", ErrMemoryFull);
    EXPECT_EQ(IO::Folder::New(location("sub"), IO::Folder::Fail, &err), nullptr);
    EXPECT_EQ(err, ErrMemoryFull);
}

TEST_F(IOTest, RenameAndDelete) {
    put(path("a.txt"), "a");
    put(path("b.txt"), "b");
    fs::create_directories(path("dir/inner"));
    put(path("dir/inner/c.txt"), "c");

    EXPECT_EQ(IO::fileSystem.Rename(location("a.txt"), IO::Name("b.txt"), IO::FileSystem::KeepExisting),
              ErrExists);
    EXPECT_EQ(get(path("b.txt")), "b");
    EXPECT_EQ(IO::fileSystem.Rename(location("a.txt"), IO::Name("b.txt"), IO::FileSystem::ReplaceFile),
              NoError);
    EXPECT_EQ(get(path("b.txt")), "a");
    EXPECT_FALSE(fs::exists(path("a.txt")));
    EXPECT_EQ(IO::fileSystem.Rename(location("b.txt"), IO::Name("dir"), IO::FileSystem::ReplaceFile),
              ErrExists);
    EXPECT_EQ(IO::fileSystem.Rename(location("b.txt"), IO::Name("../up.txt"), IO::FileSystem::ReplaceFile),
              ErrParam);
    EXPECT_EQ(IO::fileSystem.Rename(location("gone"), IO::Name("x"), IO::FileSystem::KeepExisting),
              ErrNotFound);
    EXPECT_EQ(IO::fileSystem.Rename(location("b.txt"), IO::Name("x"), 0), ErrParam);
    sim::failRename(ErrIO);
    EXPECT_EQ(IO::fileSystem.Rename(location("b.txt"), IO::Name("c.txt"), IO::FileSystem::KeepExisting),
              ErrIO);
    EXPECT_TRUE(fs::exists(path("b.txt")));

    EXPECT_EQ(IO::fileSystem.Delete(location("dir"), IO::FileSystem::EmptyOnly, IO::FileSystem::Permanent),
              ErrExists);
    sim::failDelete(ErrPermission);
    EXPECT_EQ(IO::fileSystem.Delete(location("dir")), ErrPermission);
    EXPECT_TRUE(fs::exists(path("dir/inner/c.txt")));
    EXPECT_EQ(IO::fileSystem.Delete(location("dir")), NoError);
    EXPECT_FALSE(fs::exists(path("dir")));
    EXPECT_EQ(IO::fileSystem.Delete(location("dir")), ErrNotFound);
    // A read-only file is renamed and removed as its folder lets, as the system does; a file renamed
    // over it would lose its content, and is refused.
    put(path("read-only.txt"), "r");
    ASSERT_EQ(::chmod(path("read-only.txt").c_str(), 0444), 0);
    EXPECT_EQ(
        IO::fileSystem.Rename(location("b.txt"), IO::Name("read-only.txt"), IO::FileSystem::ReplaceFile),
        ErrPermission);
    EXPECT_EQ(IO::fileSystem.Rename(location("read-only.txt"), IO::Name("renamed.txt")), NoError);
    EXPECT_EQ(IO::fileSystem.Delete(location("renamed.txt")), NoError);
    EXPECT_FALSE(fs::exists(path("renamed.txt")));
    EXPECT_EQ(IO::fileSystem.Delete(location("b.txt"), IO::FileSystem::Recursive, 1), ErrParam);
    EXPECT_EQ(IO::fileSystem.Delete(IO::Location(sim::sandboxRoot().c_str())), ErrPermission);
    EXPECT_TRUE(fs::exists(sim::sandboxRoot()));

    IO::FileSystem::ItemType type = IO::FileSystem::FolderItem;
    ASSERT_EQ(IO::fileSystem.GetItemType(location("b.txt"), &type), NoError);
    EXPECT_EQ(type, IO::FileSystem::FileItem);
    ASSERT_EQ(IO::fileSystem.GetItemType(location("nothing"), &type), NoError);
    EXPECT_EQ(type, IO::FileSystem::NotFound);
}

TEST_F(IOTest, TheUsersOwnLinkInASharedFolderIsFollowed) {
    checkSharedLinks(self);
}

TEST_F(IOTest, AnotherUsersLinkInASharedFolderIsNotFollowed) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to give a link to user " << other;
    }
    checkSharedLinks(other);
}

void IOTest::checkSharedLinks(uid_t owner) {
    // A folder any user may write, holding the owner's link to a file and to a folder of the user's.
    fs::create_directories(path("private/inner"));
    fs::create_directory(path("shared"));
    ASSERT_EQ(::chmod(path("shared").c_str(), 0777), 0);
    fs::create_symlink(path("private/notes.txt"), path("shared/prefs.xml"));
    fs::create_symlink(path("private/inner"), path("shared/folder"));
    for (const char* link : {"prefs.xml", "folder"}) {
        ASSERT_EQ(::lchown(path(std::string("shared/") + link).c_str(), owner, gid_t(-1)), 0);
    }
    put(path("private/notes.txt"), "secret");
    put(path("private/inner/notes.txt"), "secret");
    const GSErrCode refused = owner == self ? NoError : ErrPermission;
    for (const char* named : {"shared/prefs.xml", "shared/folder/notes.txt"}) {
        IO::File file(location(named), IO::File::Fail);
        EXPECT_EQ(file.Open(IO::File::WriteEmptyMode), refused) << named;
        file.Close();
    }
    EXPECT_EQ(IO::File(location("shared/folder/new.txt"), IO::File::Create).GetStatus(), refused);
    GSErrCode err = NoError;
    std::unique_ptr<IO::Folder> made(
        IO::Folder::New(location("shared/folder/sub"), IO::Folder::Create, &err));
    EXPECT_EQ(err, refused);
    EXPECT_EQ(IO::fileSystem.Rename(location("shared/folder/notes.txt"), IO::Name("renamed.txt")), refused);
    for (const char* named : {"renamed.txt", "new.txt", "sub"}) {
        // What stands there: made and renamed through the user's link, the user's file otherwise.
        const std::string entry = owner == self ? named : "notes.txt";
        EXPECT_EQ(IO::fileSystem.Delete(location("shared/folder/" + entry)), refused) << entry;
    }
    // The link itself is removed where it is the user's, what it leads to stays; another user's
    // is kept too.
    EXPECT_EQ(IO::fileSystem.Delete(location("shared/prefs.xml")), refused);
    EXPECT_EQ(fs::is_symlink(path("shared/prefs.xml")), owner != self);

    const std::string kept = owner == self ? "" : "secret";
    EXPECT_EQ(get(path("private/notes.txt")), kept);
    EXPECT_EQ(fs::exists(path("private/inner/notes.txt")), owner != self);
    EXPECT_TRUE(fs::is_empty(path("private/inner")) == (owner == self));
}

TEST_F(IOTest, ThePermissionBitsAndTheOwnerDecideWhatOpens) {
    playNodeRows(false);
}

TEST_F(IOTest, ThePermissionBitsAndTheOwnerDecideWhetherADeviceOrANodeOfAnotherUserOpens) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to make a device or give a node to user " << other;
    }
    playNodeRows(true);
}

void IOTest::playNodeRows(bool rootRows) {
    using Kind = NodeKind;
    constexpr Kind File = Kind::File, Fifo = Kind::Fifo, Device = Kind::Device;
    struct Case {
        const char* name;
        Kind kind;
        mode_t mode;
        uid_t owner;
        mode_t folderMode; // 0777: a folder any user may write
        GSErrCode write;   // opened to write, emptied
        GSErrCode read;    // opened to read
    };
    const Case cases[] = {
        {"the user's file", File, 0644, self, 0755, NoError, NoError},
        {"a file made read-only", File, 0444, self, 0755, ErrPermission, NoError},
        {"a file made write-only", File, 0200, self, 0755, NoError, ErrPermission},
        {"a FIFO made read-only", Fifo, 0444, self, 0755, ErrPermission, NoError},
        {"a device made read-only", Device, 0444, self, 0755, ErrPermission, NoError},
        {"another user's private FIFO", Fifo, 0600, other, 0755, ErrPermission, ErrPermission},
        {"another user's file others may read", File, 0644, other, 0755, ErrPermission, NoError},
        {"another user's file all may write, where any user may write", File, 0666, other, 0777,
         ErrPermission, ErrPermission},
        {"another user's FIFO all may write, where any user may write", Fifo, 0666, other, 0777,
         ErrPermission, ErrPermission},
        {"another user's device all may write, where any user may write", Device, 0666, other, 0777,
         ErrPermission, ErrPermission},
    };
    for (const Case& c : cases) {
        if (nodeNeedsRoot(c.kind, c.owner) != rootRows) {
            continue;
        }
        SCOPED_TRACE(c.name);
        fs::remove_all(path("nodes"));
        fs::create_directory(path("nodes"));
        ASSERT_EQ(::chmod(path("nodes").c_str(), c.folderMode), 0);
        const fs::path node = path("nodes/node");
        ASSERT_TRUE(makeNode(node, c.kind, c.mode, c.owner));
        // A FIFO has a reader, so that an open to write may succeed.
        const int reader = c.kind == Fifo ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        IO::File file(IO::Location(node.c_str()), IO::File::Fail);
        EXPECT_EQ(file.Open(IO::File::WriteEmptyMode), c.write);
        file.Close();
        EXPECT_EQ(file.Open(IO::File::ReadMode), c.read);
        file.Close();
        if (reader >= 0) {
            ::close(reader);
        }
        if (c.kind == File) {
            EXPECT_EQ(get(node), c.write == NoError ? "" : "old");
        }
    }
    fs::remove_all(path("nodes"));
}

TEST_F(IOTest, AFileHandedOverAsAnOpenDescriptorIsOpened) {
    // As the framework hands the host a file it opened: by a link of /proc to its descriptor.
    const fs::path outside = sim::sandboxRoot().parent_path() / ("outside-" + m_dir.filename().string());
    put(path("handed.txt"), "inside");
    put(outside, "outside");
    int pipe[2] = {-1, -1};
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    struct Case {
        const char* name;
        int fd;
        GSErrCode write; // the sandbox's rule: only what lies in it is written
        const char* text;
    };
    const int inside = ::open(path("handed.txt").c_str(), O_RDONLY | O_CLOEXEC);
    const int beyond = ::open(outside.c_str(), O_RDONLY | O_CLOEXEC);
    const Case cases[] = {
        {"a file in the sandbox", inside, NoError, "inside"},
        {"a file outside it", beyond, ErrPermission, "outside"},
        {"a pipe, which lies in no folder", pipe[1], ErrPermission, nullptr},
    };
    for (const Case& c : cases) {
        for (const std::string& named :
             {"/dev/fd/" + std::to_string(c.fd), "/proc/self/fd/" + std::to_string(c.fd)}) {
            SCOPED_TRACE(std::string(c.name) + " as " + named);
            IO::File file(IO::Location(named.c_str()), IO::File::Fail);
            EXPECT_EQ(file.GetStatus(), NoError);
            if (c.text != nullptr) {
                ASSERT_EQ(file.Open(IO::File::ReadMode), NoError);
                char buffer[16] = {};
                UInt32 read = 0;
                EXPECT_EQ(file.ReadBin(buffer, sizeof buffer, &read), NoError);
                EXPECT_EQ(std::string(buffer, read), c.text);
                file.Close();
            }
            EXPECT_EQ(file.Open(IO::File::WriteMode), c.write);
            if (c.write == NoError) {
                EXPECT_EQ(file.WriteBin("handed", 6), NoError);
                file.Close();
                EXPECT_EQ(get(path("handed.txt")), "handed");
                put(path("handed.txt"), "inside");
            }
            file.Close();
        }
    }
    ::close(inside);
    ::close(beyond);
    ::close(pipe[0]);
    ::close(pipe[1]);
    EXPECT_EQ(get(outside), "outside");
    fs::remove(outside);
}

TEST_F(IOTest, AFifoIsOpenedWithoutWaitingForItsOtherEnd) {
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    // Run apart, so that an open that waits ends with the alarm rather than never.
    EXPECT_EXIT(
        {
            ::alarm(10);
            IO::File pipe(location("pipe"), IO::File::Fail);
            // With no reader, an open to write fails; to read, it opens and finds nothing.
            const GSErrCode write = pipe.Open(IO::File::WriteMode);
            const GSErrCode read = pipe.Open(IO::File::ReadMode);
            char buffer[4];
            UInt32 count = 0;
            const GSErrCode got = pipe.ReadBin(buffer, sizeof buffer, &count);
            pipe.Close();
            // Opened to read and write, the process is its only writer: a read finds nothing.
            const GSErrCode both = pipe.Open(IO::File::ReadWriteMode);
            const GSErrCode empty = pipe.ReadBin(buffer, sizeof buffer, &count);
            pipe.Close();
            // A reader that leaves fails the write, and ends nothing with SIGPIPE.
            const int reader = ::open(path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
            const GSErrCode opened = pipe.Open(IO::File::WriteMode);
            ::close(reader);
            const GSErrCode left = pipe.WriteBin("x", 1);
            pipe.Close();
            std::exit(write == ErrIO && read == NoError && got == ErrEOF && both == NoError &&
                              empty == ErrIO && opened == NoError && left == ErrIO
                          ? 0
                          : 1);
        },
        ::testing::ExitedWithCode(0), "");
    fs::remove(path("pipe"));
}

TEST(IOFileSystemTest, SpecialLocations) {
    struct Case {
        UInt32 id;
        const char* folder;
    };
    const Case cases[] = {{IO::FileSystem::HomeFolder, "Home"},
                          {IO::FileSystem::CurrentFolder, "Current"},
                          {IO::FileSystem::LocalDataFolder, "LocalData"},
                          {IO::FileSystem::UserPreferencesFolder, "Preferences"},
                          {IO::FileSystem::SharedDataFolder, "SharedData"},
                          {IO::FileSystem::TemporaryFolder, "Temp"},
                          {IO::FileSystem::DocumentsFolder, "Documents"}};
    for (const Case& c : cases) {
        IO::Location location;
        ASSERT_EQ(IO::fileSystem.GetSpecialLocation(c.id, &location), NoError) << c.folder;
        EXPECT_EQ(pathText(location), (sim::sandboxRoot() / c.folder).string());
        EXPECT_TRUE(fs::is_directory(sim::sandboxRoot() / c.folder));
    }
    IO::Location location;
    EXPECT_EQ(IO::fileSystem.GetSpecialLocation(99, &location), ErrParam);
}

class Recorder : public IO::TreeEnumerator {
public:
    std::vector<std::string> events;
    bool descend = true;
    bool followLinks = false;
    std::string stopAt;
    std::string skip;

protected:
    bool EntryFound(const IO::Name& name, bool isFolder) override {
        events.push_back("entry " + name.ToUTF8() + (isFolder ? "/" : ""));
        return name.ToUTF8() != skip;
    }
    bool FileFound(const IO::Name& name) override {
        IO::Location parent;
        GetCurrentFolder().GetLocation(&parent);
        IO::Name last;
        parent.GetLastLocalName(&last);
        events.push_back("file " + last.ToUTF8() + "/" + name.ToUTF8());
        if (name.ToUTF8() == stopAt) {
            Stop();
        }
        return true;
    }
    bool FolderFound(const IO::Name& name) override {
        events.push_back("folder " + name.ToUTF8());
        return descend;
    }
    bool LinkFound(const IO::Name& name) override {
        events.push_back("link " + name.ToUTF8());
        return followLinks;
    }
    void FolderEntered(const IO::Name& name, const IO::Folder&) override {
        events.push_back("enter " + name.ToUTF8());
    }
    void FolderExited(const IO::Name& name, const IO::Folder&) override {
        events.push_back("exit " + name.ToUTF8());
    }
};

TEST_F(IOTest, TreeWalk) {
    fs::create_directories(path("root/b"));
    put(path("root/c.txt"), "c");
    put(path("root/a.txt"), "a");
    put(path("root/b/d.txt"), "d");
    IO::Folder root(location("root"), IO::Folder::Fail);

    Recorder all;
    ASSERT_EQ(all.Enumerate(root), NoError);
    EXPECT_EQ(all.events, (std::vector<std::string>{"entry a.txt", "file root/a.txt", "entry b/", "folder b",
                                                    "enter b", "entry d.txt", "file b/d.txt", "exit b",
                                                    "entry c.txt", "file root/c.txt"}));

    Recorder flat;
    flat.descend = false;
    flat.skip = "c.txt";
    ASSERT_EQ(flat.Enumerate(root), NoError);
    EXPECT_EQ(flat.events, (std::vector<std::string>{"entry a.txt", "file root/a.txt", "entry b/", "folder b",
                                                     "entry c.txt"}));

    Recorder stopped;
    stopped.stopAt = "d.txt";
    ASSERT_EQ(stopped.Enumerate(root), NoError);
    EXPECT_EQ(stopped.events.back(), "exit b"); // nothing after the stop but leaving the folder
    EXPECT_EQ(stopped.events.size(), 8u);

    // Links: passed over unless followed; a link back up the tree is not followed again.
    fs::create_directory_symlink(path("root"), path("root/b/loop"));
    fs::create_symlink(path("root/a.txt"), path("root/b/e.txt"));
    Recorder links;
    links.followLinks = true;
    ASSERT_EQ(links.Enumerate(root), NoError);
    std::vector<std::string> inB(links.events.begin() + 5, links.events.begin() + 13);
    EXPECT_EQ(inB, (std::vector<std::string>{"entry d.txt", "file b/d.txt", "entry e.txt", "link e.txt",
                                             "file b/e.txt", "entry loop/", "link loop", "exit b"}));

    IO::Folder missing(location("none"), IO::Folder::Fail);
    Recorder none;
    EXPECT_EQ(none.Enumerate(missing), ErrNotFound);
    EXPECT_TRUE(none.events.empty());
}

TEST_F(IOTest, FileDialogs) {
    FTM::FileTypeManager manager("zelvaneManager");
    FTM::FileType text{"Text", "txt", 0x3F3F3F3F, 0x54455854};
    EXPECT_EQ(manager.FindType(text), FTM::UnknownType);
    FTM::TypeID id = manager.AddType(text);
    ASSERT_NE(id, FTM::UnknownType);
    EXPECT_EQ(manager.AddType(FTM::FileType{"Other", "TXT", 0, 0}), id); // by extension
    EXPECT_EQ(FTM::FileTypeManager("zelvaneManager").FindType(FTM::FileType{"", "txt", 0, 0}), id);
    EXPECT_EQ(FTM::FileTypeManager("another").FindType(text), FTM::UnknownType);
    EXPECT_EQ(manager.AddType(FTM::FileType{"None", "", 0, 0}), FTM::UnknownType);
    FTM::TypeID xml = manager.AddType(FTM::FileType{"XML", "xml", 0, 0});
    ASSERT_NE(FTM::FileTypeManager::GetType(xml), nullptr);
    EXPECT_EQ(FTM::FileTypeManager::GetType(xml)->extension, "xml");

    sim::queueFileDialogCancel();
    sim::queueFileDialogChoice(path("out.xml"), 1);
    DG::FileDialog save(DG::FileDialog::Save);
    save.SetTitle("Export");
    save.SetFolder(location(""));
    EXPECT_EQ(save.AddFilter(id, "Text (*.txt)"), 0);
    EXPECT_EQ(save.AddFilter(xml, "XML (*.xml)"), 1);
    EXPECT_EQ(save.AddFilter(12345, "bad"), -1);
    save.SelectFilter(1);
    save.SelectFilter(5);
    EXPECT_FALSE(save.Invoke());
    ASSERT_TRUE(save.Invoke());
    EXPECT_EQ(pathText(save.GetSelectedFile()), path("out.xml").string());
    EXPECT_EQ(save.GetSelectedFilter(), 1u);
    DG::FileDialog open(DG::FileDialog::OpenFile);
    EXPECT_FALSE(open.Invoke()); // nothing scripted: cancelled

    const std::vector<sim::FileDialogRecord>& shown = sim::fileDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].type, DG::FileDialog::Save);
    EXPECT_EQ(shown[0].title, "Export");
    EXPECT_EQ(shown[0].filters, (std::vector<std::string>{"Text (*.txt)", "XML (*.xml)"}));
    EXPECT_EQ(shown[0].folder, m_dir.string());
    EXPECT_EQ(shown[0].preselected, 1u);
    EXPECT_TRUE(shown[0].scripted);
    EXPECT_FALSE(shown[0].confirmed);
    EXPECT_TRUE(shown[1].confirmed);
    EXPECT_FALSE(shown[2].scripted);
    EXPECT_EQ(shown[2].type, DG::FileDialog::OpenFile);
}

} // namespace
