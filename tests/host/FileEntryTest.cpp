#include "sim/FileEntry.h"
#include "sim/ReadFile.h"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

TEST(FileEntryTest, ALinkIsFollowedOnlyWhereNoOtherUserMayHaveMadeIt) {
    const fs::path base = sim::specialFolder("Temp") / "links";
    const uid_t self = ::geteuid();
    const uid_t other = 4242;
    auto groupOf = [self](uid_t user) { return user == self ? ::getegid() : gid_t(user); };
    auto contentOf = [](const fs::path& file) {
        std::string text;
        sim::readFile(file, text);
        return text;
    };
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
        if (self != 0 && (c.folderOwner != self || c.linkOwner != self)) {
            continue; // only root gives a link or a folder to another user
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
                EXPECT_EQ(error, sim::FileError::linkNotFollowed);
                EXPECT_EQ(sim::readFile(named, text), sim::FileError::linkNotFollowed);
                EXPECT_EQ(sim::writeFile(named, "written"), sim::FileError::linkNotFollowed);
                EXPECT_EQ(sim::makeNewFile(shared / "folder" / "new.txt", "made"),
                          sim::FileError::linkNotFollowed);
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

TEST(FileEntryTest, AnOpenPipeNamedThroughProcIsWrittenInPlace) {
    // As /dev/stdout names standard output through /proc when it is a pipe.
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
    const fs::path named = "/proc/self/fd/" + std::to_string(ends[1]);
    struct stat info {};
    EXPECT_TRUE(sim::FileEntry(named).status(info));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_FALSE(sim::writeFile(named, "piped"));
    char received[8] = {};
    EXPECT_EQ(::read(ends[0], received, sizeof received), 5);
    EXPECT_EQ(std::string(received, 5), "piped");
    ::close(ends[0]);
    ::close(ends[1]);
}
