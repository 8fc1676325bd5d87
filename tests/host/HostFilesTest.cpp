// The simulated host's own file helpers (sim/ReplaceFile.h, sim/ReadFile.h) over the file layer:
// which links they follow and which nodes they read or write.
#include "Nodes.h"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/WriteWhole.h"
#include "sim/ReadFile.h"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"
#include "sim/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const uid_t self = ::geteuid();
// A user other than this process's, whoever runs the tests.
const uid_t other = self != 4242 ? 4242 : 4243;

gid_t groupOf(uid_t user) {
    return user == self ? ::getegid() : gid_t(user);
}

std::string contentOf(const fs::path& file) {
    std::string text;
    sim::readFile(file, text);
    return text;
}

// The rows that give a link or its folder to another user, which need root, or the others.
void playLinkRows(bool rootRows) {
    const fs::path base = sim::specialFolder("Temp") / "links";
    struct Case {
        const char* name;
        mode_t folderMode; // of the folder holding the links
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const Case cases[] = {
        {"the user's link in a folder any user may write", 0777, self, self, true},
        {"another user's link in a folder only the user may write", 0755, self, other, true},
        {"another user's link in a folder any user may write", 0777, self, other, false},
        {"another user's link in a sticky folder", 01777, self, other, false},
        {"another user's link in a folder its group may write", 0775, self, other, false},
        {"another user's link in a folder of theirs", 0755, other, other, false},
    };
    for (const Case& c : cases) {
        if ((c.folderOwner != self || c.linkOwner != self) != rootRows) {
            continue;
        }
        SCOPED_TRACE(c.name);
        fs::remove_all(base);
        fs::create_directories(base / "private" / "inner");
        std::ofstream(base / "private" / "notes.txt") << "secret";
        std::ofstream(base / "private" / "inner" / "notes.txt") << "secret";
        const fs::path shared = base / "shared";
        fs::create_directory(shared);
        // A link to a file, and one to a folder on the way to a file.
        fs::create_symlink(base / "private" / "notes.txt", shared / "prefs.xml");
        fs::create_symlink(base / "private" / "inner", shared / "folder");
        for (const char* link : {"prefs.xml", "folder"}) {
            ASSERT_EQ(::lchown((shared / link).c_str(), c.linkOwner, groupOf(c.linkOwner)), 0);
        }
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, groupOf(c.folderOwner)), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);

        for (const fs::path& named : {shared / "prefs.xml", shared / "folder" / "notes.txt"}) {
            SCOPED_TRACE(named.string());
            std::string text;
            std::error_code error;
            sim::followedPath(named, error);
            if (!c.followed) {
                const std::error_code refused = fileio::FileError::linkNotFollowed;
                fileio::WriteOptions mustBeNew;
                mustBeNew.mustBeNew = true;
                EXPECT_EQ(error, refused);
                EXPECT_EQ(sim::readFile(named, text), refused);
                EXPECT_EQ(sim::writeFile(named, "written"), refused);
                EXPECT_EQ(fileio::writeWhole(fileio::Entry((shared / "folder" / "new.txt").string()),
                                             fileio::textWriter("made"), mustBeNew),
                          refused);
                EXPECT_EQ(sim::notAFile(named), "");
                continue;
            }
            EXPECT_FALSE(error) << error.message();
            EXPECT_FALSE(sim::readFile(named, text));
            EXPECT_EQ(text, "secret");
            EXPECT_FALSE(sim::writeFile(named, "written"));
        }
        const std::string kept = c.followed ? "written" : "secret";
        EXPECT_EQ(contentOf(base / "private" / "notes.txt"), kept);
        EXPECT_EQ(contentOf(base / "private" / "inner" / "notes.txt"), kept);
        EXPECT_FALSE(fs::exists(base / "private" / "inner" / "new.txt"));
        EXPECT_TRUE(fs::is_symlink(shared / "prefs.xml"));
    }
    fs::remove_all(base);
}

// The rows of a device or of another user's node, which need root to be made, or the others.
void playNodeRows(bool rootRows) {
    const fs::path base = sim::specialFolder("Temp") / "nodes";
    using Kind = NodeKind;
    constexpr Kind File = Kind::File, Fifo = Kind::Fifo, Device = Kind::Device;
    struct Case {
        const char* name;
        Kind kind;
        mode_t mode;
        uid_t owner;
        mode_t folderMode; // 0777: a folder any user may write
        std::error_code refused;
    };
    const std::error_code none;
    const std::error_code notWritable = fileio::FileError::notWritable;
    const std::error_code notOwned = fileio::FileError::notOwned;
    const Case cases[] = {
        {"the user's FIFO", Fifo, 0600, self, 0755, none},
        {"a FIFO made read-only", Fifo, 0444, self, 0755, notWritable},
        {"the user's device", Device, 0666, self, 0755, none},
        {"a device made read-only", Device, 0444, self, 0755, notWritable},
        {"another user's private FIFO", Fifo, 0600, other, 0755, notWritable},
        {"another user's file all may write", File, 0666, other, 0755, none},
        {"another user's file all may write, where any user may write", File, 0666, other, 0777, notOwned},
        {"another user's FIFO all may write, where any user may write", Fifo, 0666, other, 0777, notOwned},
        {"another user's device all may write, where any user may write", Device, 0666, other, 0777,
         notOwned},
    };
    for (const Case& c : cases) {
        if (nodeNeedsRoot(c.kind, c.owner) != rootRows) {
            continue;
        }
        SCOPED_TRACE(c.name);
        fs::remove_all(base);
        fs::create_directories(base);
        ASSERT_EQ(::chmod(base.c_str(), c.folderMode), 0);
        const fs::path node = base / "node";
        ASSERT_TRUE(makeNode(node, c.kind, c.mode, c.owner));
        // A FIFO has a reader, which takes what is written.
        const int reader = c.kind == Fifo ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        auto refusedAs = [&c](const std::error_code& error) {
            return c.refused ? error == fileio::FileError(c.refused.value()) : !error;
        };

        const std::error_code written = sim::writeFile(node, "new");
        EXPECT_TRUE(refusedAs(written)) << written.message();
        std::error_code opened;
        fileio::openInPlace(fileio::Entry(node.string()), fileio::Owners::player, opened);
        if (c.kind == File) {
            // Read and replaced under the same rule; opened in place never.
            std::string text;
            EXPECT_TRUE(refusedAs(sim::readFile(node, text)));
            EXPECT_EQ(text, c.refused ? "" : "new");
            EXPECT_EQ(opened, std::errc::invalid_argument);
        } else {
            EXPECT_TRUE(refusedAs(opened)) << opened.message();
            // Never replaced by a file.
            EXPECT_EQ(sim::replaceFile(node, "replaced"), std::errc::invalid_argument);
            EXPECT_EQ(sim::notAFile(node), c.kind == Fifo ? "a FIFO" : "a device");
        }
        char received[8] = {};
        if (reader >= 0) {
            EXPECT_EQ(std::max(::read(reader, received, sizeof received), ssize_t(0)), c.refused ? 0 : 3);
            ::close(reader);
        }
        struct stat after {};
        ASSERT_EQ(::lstat(node.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & S_IFMT, c.kind == File ? S_IFREG : c.kind == Fifo ? S_IFIFO : S_IFCHR);
        EXPECT_EQ(after.st_uid, c.owner);
    }
    fs::remove_all(base);
}

} // namespace

TEST(HostFilesTest, ALinkIsFollowedOnlyWhereNoOtherUserMayHaveMadeIt) {
    playLinkRows(false);
}

TEST(HostFilesTest, ALinkOfAnotherUserIsFollowedOnlyWhereNoOtherUserMayWriteItsFolder) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to give a link or folder to user " << other;
    }
    playLinkRows(true);
}

TEST(HostFilesTest, ThePermissionBitsDecideForTheUsersOwnFifo) {
    playNodeRows(false);
}

TEST(HostFilesTest, ThePermissionBitsAndTheOwnerDecideForADeviceOrANodeOfAnotherUser) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to make a device or give a node to user " << other;
    }
    playNodeRows(true);
}

TEST(HostFilesTest, AnOpenPipeNamedThroughProcIsWrittenInPlace) {
    // As /dev/stdout names standard output through /proc when it is a pipe.
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
    const fs::path named = "/proc/self/fd/" + std::to_string(ends[1]);
    struct stat info {};
    EXPECT_TRUE(fileio::Entry(named).status(info));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_FALSE(sim::writeFile(named, "piped"));
    char received[8] = {};
    EXPECT_EQ(::read(ends[0], received, sizeof received), 5);
    EXPECT_EQ(std::string(received, 5), "piped");
    ::close(ends[0]);
    ::close(ends[1]);
}

// The folder is the player's: the message says it is kept for the other user's entries it holds.
TEST(HostFilesTest, ATemporaryFolderKeptForAnotherUsersEntriesSaysSo) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to give an entry to user " << other;
    }
    sim::TemporaryFolder folder(sim::specialFolder("Temp"), "kept-");
    const fs::path theirs = folder.path() / "theirs.txt";
    ::chmod(folder.path().c_str(), 0777);
    ASSERT_TRUE(makeNode(theirs, NodeKind::File, 0644, other));
    EXPECT_EQ(folder.remove(), "the temporary folder \"" + folder.path().string() +
                                   "\" is kept: it holds another user's entries, which are not removed");
    EXPECT_TRUE(fs::exists(theirs));
    fs::remove_all(folder.path());
}
