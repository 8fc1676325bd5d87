// The file rules of lib/fileio, one table a rule: whose entries are taken as the player's, which
// bits let the player read or write, which folders let others rename entries, how a whole file is
// written in each kind of folder, and that every use after the walk acts through the folders held.
#include "fileio/Entry.h"
#include "fileio/Faults.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Paths.h"
#include "fileio/ReadWhole.h"
#include "fileio/Rules.h"
#include "fileio/System.h"
#include "fileio/TemporaryFolder.h"
#include "fileio/WriteWhole.h"
#include "sim/Files.h"
#include "sim/Sim.h"
#include "support/FailingAllocation.h"
#include "support/ModeRestored.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using fileio::FileError;
using fileio::Owners;

namespace {

const uid_t self = ::geteuid();
// A user other than this process's, whoever runs the tests.
const uid_t other = self != 4242 ? 4242 : 4243;

struct stat node(mode_t mode, uid_t owner, gid_t group = gid_t(-2)) {
    struct stat info {};
    info.st_mode = mode;
    info.st_uid = owner;
    info.st_gid = group != gid_t(-2) ? group : owner == self ? ::getegid() : gid_t(other);
    return info;
}

// A fault hook that fails nothing, as another library would set.
int anotherHook(fileio::Call, int, std::size_t*) {
    return 0;
}

class FileRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = sim::sandboxRoot() / "rules";
        fs::create_directories(m_dir);
    }
    fs::path path(const std::string& name) const { return m_dir / name; }
    // "folder", made anew, empty, with the mode.
    fs::path freshFolder(mode_t mode) const {
        const fs::path folder = path("folder");
        fs::remove_all(folder);
        fs::create_directory(folder);
        EXPECT_EQ(::chmod(folder.c_str(), mode), 0);
        return folder;
    }
    static void put(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    static std::string get(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static mode_t modeOf(const fs::path& p) {
        struct stat info {};
        return ::lstat(p.c_str(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
    }
    // The names in `folder`, at any depth.
    static std::vector<std::string> namesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            names.push_back(entry.path().lexically_relative(folder).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // A row of a removal: "top" (the player's, private) holds "sub", which holds "file".
    struct RemovalRow {
        const char* name;
        mode_t folder, mode;                              // of "sub" and of "file"
        uid_t owner;                                      // of "file"
        std::error_code renamed, removed, replaced, tree; // "file" renamed and removed; a file
                                                          // renamed over it; "top" removed whole
        bool emptyFolder = false; // "file" is an empty folder, and a folder is renamed over it
    };
    void checkRemoval(const RemovalRow& row);

    // A row of a folder exposed: the folder holding the one looked at.
    struct ExposureRow {
        const char* name;
        mode_t above; // its mode
        uid_t owner;
        bool exposed;
    };
    void checkExposure(const ExposureRow& row);

    // A row of a temporary folder's removal.
    struct TemporaryRow {
        const char* name;
        bool exchanged; // another folder stands under its name at the removal
        bool byChild;   // a child forked from the maker removes it
        bool opened;    // opened to another user, who puts a file in it, and made private again
        bool removed;
    };
    void checkTemporary(const TemporaryRow& row);

    // A row of a sweep of the leftovers of "prefs.xml": an empty folder, or a file, left beside it.
    struct SweepRow {
        const char* name;
        const char* left;
        bool folder;
        mode_t mode;
        uid_t owner;
        bool removed;
    };
    void checkSweep(const SweepRow& row);

    fs::path m_dir;
};

// Why the rows of another user's entry are skipped where the process is not root.
const char* const givesAway = "the rows of another user's entry need root, to give one away";

} // namespace

TEST(FileRulesTableTest, WhoseEntriesAreTakenAndWhatTheirBitsLet) {
    struct Row {
        const char* name;
        struct stat folder, entry;
        Owners owners;
        std::error_code read, written, replaced;
    };
    const std::error_code none;
    const std::error_code notOwned = FileError::notOwned;
    const std::error_code notWritable = FileError::notWritable;
    const std::error_code notReadable = FileError::notReadable;
    const std::error_code notReplaceable = FileError::notReplaceable;
    const Owners player = Owners::player;
    const Row rows[] = {
        {"the player's file in a private folder", node(S_IFDIR | 0755, self), node(S_IFREG | 0644, self),
         player, none, none, none},
        {"the player's file where all may write", node(S_IFDIR | 0777, self), node(S_IFREG | 0600, self),
         player, none, none, none},
        {"root's file where all may write", node(S_IFDIR | 0777, self), node(S_IFREG | 0666, 0), player, none,
         none, none},
        {"another's file in a private folder", node(S_IFDIR | 0755, self), node(S_IFREG | 0666, other),
         player, none, none, none},
        {"another's file where all may write", node(S_IFDIR | 0777, self), node(S_IFREG | 0666, other),
         player, notOwned, notOwned, notOwned},
        {"another's file where the group may write", node(S_IFDIR | 0775, self), node(S_IFREG | 0666, other),
         player, notOwned, notOwned, notOwned},
        {"another's file in another's folder", node(S_IFDIR | 0755, other), node(S_IFREG | 0666, other),
         player, notOwned, notOwned, notOwned},
        {"another's file in a sticky folder", node(S_IFDIR | 01777, self), node(S_IFREG | 0666, other),
         player, notOwned, notOwned, notOwned},
        {"another's file in the shared folder", node(S_IFDIR | 0777, self), node(S_IFREG | 0666, other),
         Owners::anyUser, none, none, none},
        {"another's file in a sticky folder of a third's, shared", node(S_IFDIR | 01777, other + 1),
         node(S_IFREG | 0666, other), Owners::anyUser, none, none, notReplaceable},
        {"another's private file in the shared folder", node(S_IFDIR | 0777, self),
         node(S_IFREG | 0600, other), Owners::anyUser, notReadable, notWritable, notWritable},
        {"another's FIFO in the shared folder", node(S_IFDIR | 0777, self), node(S_IFIFO | 0666, other),
         Owners::anyUser, notOwned, notOwned, notOwned},
        {"another's device where all may write", node(S_IFDIR | 0777, self), node(S_IFCHR | 0666, other),
         player, notOwned, notOwned, notOwned},
        {"another's link where all may write", node(S_IFDIR | 0777, self), node(S_IFLNK | 0777, other),
         player, notOwned, notOwned, notOwned},
        // The bits decide for root too.
        {"a file made read-only", node(S_IFDIR | 0755, self), node(S_IFREG | 0444, self), player, none,
         notWritable, notWritable},
        {"a file open to no one", node(S_IFDIR | 0755, self), node(S_IFREG | 0000, self), player, notReadable,
         notWritable, notWritable},
        {"a FIFO made read-only", node(S_IFDIR | 0755, self), node(S_IFIFO | 0444, self), player, none,
         notWritable, notWritable},
        {"another's private FIFO", node(S_IFDIR | 0755, self), node(S_IFIFO | 0600, other), player,
         notReadable, notWritable, notWritable},
        {"another's file its group may write", node(S_IFDIR | 0755, self),
         node(S_IFREG | 0464, other, ::getegid()), player, none, none, none},
        {"another's file only its group may write, not the player's group", node(S_IFDIR | 0755, self),
         node(S_IFREG | 0460, other, gid_t(other)), player, notReadable, notWritable, notWritable},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fileio::whyNotRead(row.folder, row.entry, row.owners), row.read);
        EXPECT_EQ(fileio::whyNotWritten(row.folder, row.entry, row.owners, false), row.written);
        EXPECT_EQ(fileio::whyNotWritten(row.folder, row.entry, row.owners, true), row.replaced);
    }
}

TEST(FileRulesTableTest, WhichFoldersLetOthersWriteAndRename) {
    struct Row {
        const char* name;
        struct stat folder;
        bool write, rename, players; // players: taken by its name to hold the player's files
    };
    const Row rows[] = {
        {"the player's private folder", node(S_IFDIR | 0755, self), false, false, true},
        {"the player's folder all may write", node(S_IFDIR | 0777, self), true, true, true},
        {"the player's folder its group may write", node(S_IFDIR | 0770, self), true, true, true},
        {"the player's sticky folder", node(S_IFDIR | 01777, self), true, false, true},
        {"root's sticky folder", node(S_IFDIR | 01777, 0), true, false, true},
        {"root's private folder", node(S_IFDIR | 0755, 0), false, false, true},
        {"another's private folder", node(S_IFDIR | 0755, other), true, true, false},
        {"another's sticky folder", node(S_IFDIR | 01777, other), true, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fileio::othersMayWrite(row.folder), row.write);
        EXPECT_EQ(fileio::othersMayRename(row.folder), row.rename);
        EXPECT_EQ(fileio::whyNotPlayersFolder(row.folder),
                  row.players ? std::error_code() : make_error_code(FileError::notPlayersFolder));
    }
}

TEST(FileRulesTableTest, WhatAFailureComesTo) {
    using fileio::Failure;
    struct Row {
        std::error_code error;
        Failure failure;
    };
    const Row rows[] = {
        {{}, Failure::none},
        {std::make_error_code(std::errc::no_such_file_or_directory), Failure::notFound},
        {std::make_error_code(std::errc::not_a_directory), Failure::notFound},
        {std::make_error_code(std::errc::file_exists), Failure::exists},
        {std::make_error_code(std::errc::directory_not_empty), Failure::exists},
        {std::make_error_code(std::errc::permission_denied), Failure::permission},
        {std::make_error_code(std::errc::read_only_file_system), Failure::permission},
        {std::make_error_code(std::errc::filename_too_long), Failure::param},
        {std::make_error_code(std::errc::no_space_on_device), Failure::io},
        {FileError::linkNotFollowed, Failure::permission},
        {FileError::notOwned, Failure::permission},
        {FileError::notWritable, Failure::permission},
        {FileError::notPlayersFolder, Failure::permission},
        {FileError::otherNames, Failure::permission},
        {FileError::exposedWay, Failure::permission},
        {FileError::noReader, Failure::io},
        {FileError::changed, Failure::io},
        {FileError::notAsRead, Failure::io},
        {std::error_code(-7, fileio::injectedCategory()), Failure::injected},
    };
    // The codes a caller answers in, one a failure; an injected failure keeps its own.
    const fileio::FailureCodes codes{100, 101, 102, 103, 104, 105};
    const std::map<Failure, int> coded = {
        {Failure::none, 100},  {Failure::notFound, 101}, {Failure::exists, 102}, {Failure::permission, 103},
        {Failure::param, 104}, {Failure::io, 105},       {Failure::injected, -7}};
    for (const Row& row : rows) {
        EXPECT_EQ(fileio::failureOf(row.error), row.failure) << row.error.message();
        EXPECT_EQ(fileio::codeOf(row.error, codes), coded.at(row.failure)) << row.error.message();
    }
}

TEST_F(FileRulesTest, EveryUseAfterTheWalkActsThroughTheFoldersHeld) {
    // The player's private file, and a file of the same name reached through a shared folder.
    fs::create_directories(path("home"));
    fs::create_directories(path("shared/sub"));
    ASSERT_EQ(::chmod(path("shared").c_str(), 0777), 0);
    put(path("home/prefs.xml"), "private");
    ASSERT_EQ(::chmod(path("home/prefs.xml").c_str(), 0600), 0);
    put(path("shared/sub/prefs.xml"), "shared");
    ASSERT_EQ(::chmod(path("shared/sub/prefs.xml").c_str(), 0600), 0);
    struct Use {
        const char* name;
        std::error_code (*run)(const fileio::Entry&);
        std::vector<std::string> left; // in the folder walked
        const char* content;           // of its file
        mode_t mode;
    };
    const Use uses[] = {
        {"change its mode",
         [](const fileio::Entry& e) { return e.changeMode(0, 0777); },
         {"prefs.xml"},
         "shared",
         0777},
        {"write it whole",
         [](const fileio::Entry& e) { return fileio::writeWhole(e, fileio::textWriter("new")); },
         {"prefs.xml"},
         "new",
         0600},
        {"remove it", [](const fileio::Entry& e) { return e.remove(); }, {}, nullptr, 0},
        {"rename it",
         [](const fileio::Entry& e) { return e.renameTo("renamed.xml", true); },
         {"renamed.xml"},
         "shared",
         0600},
        {"rename it where no entry stands",
         [](const fileio::Entry& e) { return e.renameTo("renamed.xml", false); },
         {"renamed.xml"},
         "shared",
         0600},
    };
    for (const Use& use : uses) {
        SCOPED_TRACE(use.name);
        fs::remove_all(path("moved"));
        fs::remove_all(path("shared/sub"));
        fs::create_directories(path("shared/sub"));
        put(path("shared/sub/prefs.xml"), "shared");
        ASSERT_EQ(::chmod(path("shared/sub/prefs.xml").c_str(), 0600), 0);
        const fileio::Entry entry(path("shared/sub/prefs.xml").string());
        ASSERT_FALSE(entry.error());
        // The folder walked is exchanged for a link to the player's home before the use.
        fs::rename(path("shared/sub"), path("moved"));
        fs::create_directory_symlink("../home", path("shared/sub"));
        EXPECT_FALSE(use.run(entry));
        EXPECT_EQ(get(path("home/prefs.xml")), "private");
        EXPECT_EQ(modeOf(path("home/prefs.xml")), 0600u);
        EXPECT_EQ(namesIn(path("home")), std::vector<std::string>{"prefs.xml"});
        EXPECT_EQ(namesIn(path("moved")), use.left) << "the folder walked is the one used";
        if (!use.left.empty()) {
            EXPECT_EQ(get(path("moved") / use.left[0]), use.content);
            EXPECT_EQ(modeOf(path("moved") / use.left[0]), use.mode);
        }
    }
}

void FileRulesTest::checkRemoval(const RemovalRow& row) {
    SCOPED_TRACE(row.name);
    const fs::path sub = path("top/sub");
    auto make = [&] {
        fs::create_directories(sub);
        row.emptyFolder ? (void)fs::create_directory(sub / "file") : put(sub / "file", "kept");
        ASSERT_EQ(::chmod((sub / "file").c_str(), row.mode), 0);
        ASSERT_EQ(::chown((sub / "file").c_str(), row.owner, gid_t(-1)), 0);
        ASSERT_EQ(::chmod(sub.c_str(), row.folder), 0);
    };
    make();
    const fileio::Entry file((sub / "file").string(), fileio::Entry::keepLink);
    EXPECT_EQ(file.renameTo("renamed", false), row.renamed);
    EXPECT_EQ(fs::exists(sub / "renamed"), !row.renamed);
    fs::remove(sub / "renamed");
    make();
    row.emptyFolder ? (void)fs::create_directory(sub / "new") : put(sub / "new", "new");
    EXPECT_EQ(fileio::Entry((sub / "new").string()).renameTo("file", true), row.replaced);
    EXPECT_EQ(fs::exists(sub / "new"), bool(row.replaced));
    fs::remove(sub / "new");
    make();
    EXPECT_EQ(fileio::Entry((sub / "file").string()).remove(), row.removed);
    EXPECT_EQ(fs::exists(sub / "file"), bool(row.removed));
    make();
    if (!row.emptyFolder) {
        EXPECT_EQ(fileio::makeFolders((sub / "file").string()), std::errc::file_exists)
            << "a file stands there";
    }
    // Another user's entry is kept at any depth, and the folders holding it with it.
    EXPECT_EQ(fileio::Entry(path("top").string()).removeTree(), row.tree);
    EXPECT_EQ(namesIn(m_dir), row.tree ? (std::vector<std::string>{"top", "top/sub", "top/sub/file"})
                                       : std::vector<std::string>{});
    fs::remove_all(path("top"));
}

TEST_F(FileRulesTest, ItsFolderDecidesARenameOrARemovalAndTheRulesKeepOthersEntriesInATree) {
    const std::error_code none;
    const std::error_code notWritable = FileError::notWritable;
    const RemovalRow rows[] = {
        {"the player's file made read-only", 0755, 0444, self, none, none, notWritable, none},
        {"the player's file open to no one", 0755, 0000, self, none, none, notWritable, none},
        {"the player's read-only file where all may write", 0777, 0444, self, none, none, notWritable, none},
        {"the player's empty folder where all may write", 0777, 0755, self, none, none, none, none, true},
    };
    for (const RemovalRow& row : rows) {
        checkRemoval(row);
    }
}

TEST_F(FileRulesTest, ItsFolderDecidesARenameOrARemovalOfAnotherUsersFile) {
    if (self != 0) {
        GTEST_SKIP() << givesAway;
    }
    const std::error_code none;
    const std::error_code notOwned = FileError::notOwned;
    const std::error_code notWritable = FileError::notWritable;
    const RemovalRow rows[] = {
        {"another's file in a private folder", 0755, 0644, other, none, none, notWritable, none},
        {"another's file where all may write", 0777, 0666, other, notOwned, notOwned, notOwned, notOwned},
        {"another's file in a sticky folder", 01777, 0666, other, notOwned, notOwned, notOwned, notOwned},
        {"another's empty folder where all may write", 0777, 0755, other, notOwned, notOwned, notOwned,
         notOwned, true},
        {"another's empty folder in a sticky folder", 01777, 0755, other, notOwned, notOwned, notOwned,
         notOwned, true},
    };
    for (const RemovalRow& row : rows) {
        checkRemoval(row);
    }
}

TEST_F(FileRulesTest, AModeChangeKeepsWhatItIsToKeepAndReachesFilesNoOneMayRead) {
    struct Row {
        mode_t before, kept, added, after;
        bool folder;
        bool openFolder = false; // it lies in a folder all may write
        bool linked = false;     // it has a second name beside it
    };
    const Row rows[] = {
        {0644, 07777, 0600, 0644, false},         {0000, 07777, 0600, 0600, false},
        {0444, 07777, 0600, 0644, false},         {04755, 0, 0777, 0777, false},
        {0777, ~mode_t(022), 0, 0755, true},      {0700, 07777, 0700, 0700, true},
        {0000, 07777, 0600, 0600, false, true},   {0600, 0, 0777, 0777, false, false, true},
        {0600, 0, 0777, 0600, false, true, true},
    };
    fs::create_directories(path("open"));
    ASSERT_EQ(::chmod(path("open").c_str(), 0777), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.before) + (row.folder ? " folder" : " file") +
                     (row.openFolder ? " where all may write" : "") + (row.linked ? " of two names" : ""));
        const fs::path entry = row.openFolder ? path("open/entry") : path("entry");
        fs::remove_all(entry);
        fs::remove(entry.parent_path() / "second");
        row.folder ? (void)fs::create_directory(entry) : put(entry, "x");
        ASSERT_EQ(::chmod(entry.c_str(), row.before), 0);
        if (row.linked) {
            fs::create_hard_link(entry, entry.parent_path() / "second");
        }
        // Without a descriptor that holds a file unread, one the player may not read is changed by
        // its name, only where no other user may put another there.
        std::error_code refusal;
#ifndef ZELVANE_FILEIO_LINUX
        refusal = row.openFolder && ::geteuid() != 0 ? make_error_code(FileError::notReadable) : refusal;
#endif
        // A second name where all may write may be another user's, for a file of the player's.
        refusal = row.openFolder && row.linked ? make_error_code(FileError::otherNames) : refusal;
        const bool refused = bool(refusal);
        mode_t before = 0;
        const std::error_code error = fileio::Entry(entry.string()).changeMode(row.kept, row.added, &before);
        EXPECT_EQ(error, refusal);
        EXPECT_EQ(before, refused ? 0 : row.before);
        EXPECT_EQ(modeOf(entry), refused ? row.before : row.after);
    }
}

TEST_F(FileRulesTest, AModeChangeByAUserOtherThanRootReachesOnlyWhatTheSystemLetsIt) {
    if (self != 0) {
        GTEST_SKIP() << "its rows need root, to give a file away and to change as another user";
    }
    // "entry", of `owner`'s, in "folder" (root's), changed by `changer` through the folder held.
    struct Row {
        const char* name;
        mode_t folder, before, kept, added, after;
        uid_t owner, changer;
        Owners owners;
        std::error_code error;
    };
    // Root reads any file: an unreadable one is another user's, whose mode only its owner changes.
    // Where the system holds no file unread, only the player's own is changed, by its name.
#ifdef ZELVANE_FILEIO_LINUX
    const std::error_code notTheirs = std::make_error_code(std::errc::operation_not_permitted);
#else
    const std::error_code notTheirs = FileError::notReadable;
#endif
    const Row rows[] = {
        {"its owner's file no one may read", 0755, 0000, 07777, 0600, 0600, other, other, Owners::player, {}},
        {"another's shared file, unreadable, in a sticky folder", 01777, 0600, 0, 0777, 0600, other,
         other + 1, Owners::anyUser, notTheirs},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path folder = path("folder");
        fs::remove_all(folder);
        fs::create_directory(folder);
        put(folder / "entry", "x");
        ASSERT_EQ(::chmod((folder / "entry").c_str(), row.before), 0);
        ASSERT_EQ(::chown((folder / "entry").c_str(), row.owner, row.owner), 0);
        ASSERT_EQ(::chmod(folder.c_str(), row.folder), 0);
        // Through the folder held, which the user may search though the folders above it are the
        // test's own.
        const fileio::Descriptor held(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        ASSERT_TRUE(held);
        const pid_t child = ::fork();
        if (child == 0) {
            _exit(::setgid(row.changer) == 0 && ::setuid(row.changer) == 0 &&
                          fileio::Entry(held.get(), "entry")
                                  .changeMode(row.kept, row.added, nullptr, row.owners) == row.error
                      ? 0
                      : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "not answered " << row.error.message();
        EXPECT_EQ(modeOf(folder / "entry"), row.after);
    }
}

TEST_F(FileRulesTest, AWholeFileIsMadeWhereNoOtherUserCanExchangeIt) {
    struct Row {
        const char* name;
        mode_t folder;
        const char* before; // the old file's content, or null for none
        mode_t mode;        // the old file's
        bool mustBeNew;
        std::error_code error;
        bool inOwnFolder; // the new file is written inside a folder of the player's own
        mode_t after;
    };
    const mode_t fresh = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return 0666 & ~mask;
    }();
    const std::error_code none;
    const Row rows[] = {
        {"a new file in a private folder", 0755, nullptr, 0, false, none, false, fresh},
        {"a file in a private folder", 0755, "old", 0640, false, none, false, 0640},
        {"a set-ID file", 0755, "old", 06755, false, none, false, 0755},
        {"a file where all may write", 0777, "old", 0600, false, none, true, 0600},
        {"a file where the group may write", 0770, "old", 0600, false, none, true, 0600},
        {"a file in a sticky folder", 01777, "old", 0644, false, none, false, 0644},
        {"a new file where all may write", 0777, nullptr, 0, true, none, true, fresh},
        {"a file that must be new", 0755, "old", 0644, true, std::make_error_code(std::errc::file_exists),
         false, 0644},
        {"a file made read-only", 0777, "old", 0444, false, FileError::notWritable, false, 0444},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path folder = freshFolder(row.folder);
        const fs::path file = folder / "prefs.xml";
        if (row.before != nullptr) {
            put(file, row.before);
            ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
        }
        std::string madeIn;
        const std::error_code error = fileio::writeWhole(
            fileio::Entry(file.string()),
            [&madeIn](int fd) {
                // Where the new file lies while it is written, and that it is its owner's alone.
                char named[4096] = {};
                const std::string link = "/proc/self/fd/" + std::to_string(fd);
                const ssize_t n = ::readlink(link.c_str(), named, sizeof named - 1);
                madeIn = n > 0 ? fs::path(std::string(named, std::size_t(n))).parent_path().string() : "";
                struct stat info {};
                EXPECT_EQ(::fstat(fd, &info), 0);
                EXPECT_EQ(info.st_mode & 0777, 0600u);
                return fileio::writeAll(fd, "new", 3);
            },
            fileio::WriteOptions{Owners::player, row.mustBeNew, true});
        EXPECT_EQ(error, row.error);
        if (!row.error) {
            EXPECT_EQ(madeIn == folder.string(), !row.inOwnFolder) << madeIn;
            EXPECT_EQ(fs::path(madeIn).parent_path() == folder, row.inOwnFolder) << madeIn;
        }
        EXPECT_EQ(get(file), row.error ? std::string(row.before != nullptr ? row.before : "") : "new");
        EXPECT_EQ(modeOf(file), row.after);
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{"prefs.xml"}) << "nothing is left";
    }
}

TEST_F(FileRulesTest, AFileReadIsWrittenOverOnlyWhileItIsTheFileRead) {
    // "prefs.xml" held "old" when it was read (`read`); `before` acts after the read and before the
    // write, `during` while the new file is written, before its rename.
    using Step = void (*)(const fs::path& file, struct stat& read);
    struct Row {
        const char* name;
        mode_t folder;
        Step before, during;
        const char* after; // what stands at the name afterwards, or null for nothing
        std::error_code error;
    };
    const Step none = [](const fs::path&, struct stat&) {};
    const Step appended = [](const fs::path& file, struct stat&) {
        std::ofstream(file, std::ios::app) << "+";
    };
    const Step exchanged = [](const fs::path& file, struct stat&) {
        put(file.string() + ".other", "other");
        fs::rename(file.string() + ".other", file);
    };
    const Step removed = [](const fs::path& file, struct stat&) { fs::remove(file); };
    // Rewritten to the same size and its modification time set back, a second after the read: only
    // its change time tells.
    const Step disguised = [](const fs::path& file, struct stat& read) {
        read.st_ctim.tv_sec -= 1;
        put(file, "new");
        const struct timespec times[2] = {read.st_atim, read.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    };
    const std::error_code notAsRead = FileError::notAsRead;
    const Row rows[] = {
        {"the file read, unchanged", 0755, none, none, "new", {}},
        {"the file read, where all may write", 0777, none, none, "new", {}},
        {"changed before the write", 0755, appended, none, "old+", notAsRead},
        {"another file put at its name before the write", 0755, exchanged, none, "other", notAsRead},
        {"removed before the write", 0755, removed, none, nullptr, notAsRead},
        {"rewritten, its times set back", 0755, disguised, none, "new", notAsRead},
        {"changed while the new file is written", 0755, none, appended, "old+", notAsRead},
        {"exchanged while the new file is written, where all may write", 0777, none, exchanged, "other",
         notAsRead},
        {"removed while the new file is written", 0755, none, removed, nullptr, notAsRead},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path folder = freshFolder(row.folder);
        const fs::path file = folder / "prefs.xml";
        put(file, "old");
        struct stat read {};
        ASSERT_EQ(::stat(file.c_str(), &read), 0);
        row.before(file, read);
        fileio::WriteOptions options;
        options.asRead = &read;
        const std::error_code error = fileio::writeWhole(
            fileio::Entry(file.string()),
            [&](int fd) {
                row.during(file, read);
                return fileio::writeAll(fd, "new", 3);
            },
            options);
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(fs::exists(file), row.after != nullptr);
        if (row.after != nullptr) {
            EXPECT_EQ(get(file), row.after);
        }
        EXPECT_EQ(namesIn(folder).size(), row.after != nullptr ? 1u : 0u) << "nothing is left beside it";
    }
}

TEST_F(FileRulesTest, AFailedWholeWriteLeavesTheOldFileAndNothingElse) {
    struct Row {
        const char* name;
        mode_t folder;
        void (*arm)();
        GSErrCode code;       // the injected failure's
        bool hostsOwn;        // made within the host's own file work, which the injection does not reach
        bool outside;         // the file lies outside the sandbox, where the host changes nothing
        bool throws = false;  // the writer throws, as an allocation that fails does
        bool starved = false; // and the clean-up after it finds no memory either
    };
    const Row rows[] = {
        {"the new file cannot be made", 0755, [] { sim::failCreate(ErrPermission); }, ErrPermission, false,
         false},
        {"its folder cannot be made", 0777, [] { sim::failCreate(ErrIO); }, ErrIO, false, false},
        {"the rename fails", 0755, [] { sim::failRename(ErrPermission); }, ErrPermission, false, false},
        {"the rename fails where all may write", 0777, [] { sim::failRename(ErrIO); }, ErrIO, false, false},
        {"the rename fails in the host's own work", 0755, [] { sim::failRename(ErrIO); }, ErrIO, true, false},
        // As a second copy of the host's library does as it loads and unloads: the host's hook stays.
        {"the rename fails, another hook set and taken back before", 0755,
         [] {
             fileio::setFaultHook(anotherHook);
             fileio::takeBackFaultHook(anotherHook);
             sim::failRename(ErrIO);
         },
         ErrIO, false, false},
        {"outside the sandbox", 0755, [] {}, ErrPermission, false, true},
        {"outside the sandbox, in the host's own work", 0755, [] {}, ErrPermission, true, true},
        {"the writer throws", 0755, [] {}, NoError, false, false, true},
        {"the writer throws where all may write", 0777, [] {}, NoError, false, false, true},
        {"the writer throws and no memory is left", 0777, [] {}, NoError, false, false, true, true},
    };
    const fs::path outside = sim::sandboxRoot().parent_path() / ("outside-" + std::to_string(::getpid()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path folder = row.outside ? outside : path("folder");
        fs::remove_all(folder);
        fs::create_directory(folder);
        ASSERT_EQ(::chmod(folder.c_str(), row.folder), 0);
        put(folder / "prefs.xml", "old");
        sim::reset();
        row.arm();
        std::error_code error;
        {
            std::optional<sim::OwnFileCalls> own;
            if (row.hostsOwn) {
                own.emplace();
            }
            const fileio::Entry entry((folder / "prefs.xml").string());
            if (row.throws) {
                EXPECT_THROW(fileio::writeWhole(entry,
                                                [&row](int) -> std::error_code {
                                                    if (row.starved) {
                                                        testing_support::failAllocationAfter(0);
                                                    }
                                                    throw std::bad_alloc();
                                                }),
                             std::bad_alloc);
                EXPECT_EQ(testing_support::disarmAllocationFailure(), row.starved)
                    << "the clean-up met no failure of its own";
            } else {
                error = fileio::writeWhole(entry, fileio::textWriter("new"));
            }
        }
        if (row.throws) {
            EXPECT_EQ(get(folder / "prefs.xml"), "old");
        } else if (row.hostsOwn) {
            EXPECT_FALSE(error);
            EXPECT_EQ(get(folder / "prefs.xml"), "new");
        } else {
            EXPECT_EQ(fileio::failureOf(error), fileio::Failure::injected);
            EXPECT_EQ(error.value(), row.code);
            EXPECT_EQ(get(folder / "prefs.xml"), "old");
        }
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{"prefs.xml"});
        sim::clearFaults();
        fs::remove_all(outside);
    }
}

TEST_F(FileRulesTest, AReaderThatLeavesFailsTheWriteWithoutSignal) {
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    ::close(ends[0]);
    EXPECT_EQ(fileio::writeAll(ends[1], "lost", 4), std::errc::broken_pipe);
    ::close(ends[1]);
    // Nothing is left pending, and the signal mask is as it was.
    sigset_t pending, mask;
    ASSERT_EQ(::sigpending(&pending), 0);
    EXPECT_EQ(::sigismember(&pending, SIGPIPE), 0);
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, nullptr, &mask), 0);
    EXPECT_EQ(::sigismember(&mask, SIGPIPE), 0);

    // The same for a FIFO whose reader leaves, written whole in place.
    const fs::path fifo = path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    std::string large(1 << 20, 'x'); // more than the FIFO holds: the write waits on its reader
    const std::error_code error = fileio::writeWhole(fileio::Entry(fifo.string()), [&](int fd) {
        ::close(reader); // the reader leaves once the FIFO is open
        return fileio::writeAll(fd, large.data(), large.size());
    });
    EXPECT_EQ(error, std::errc::broken_pipe);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(namesIn(m_dir), std::vector<std::string>{"fifo"});
}

namespace {

// A pipe's switch of the test's own, one a node, as the one open file that every descriptor of
// the node shares.
std::map<ino_t, int> quietSwitches;
int quietSwitch(int fd, int quiet) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? std::exchange(quietSwitches[info.st_ino], quiet) : -1;
}
int quietOf(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? quietSwitches[info.st_ino] : -1;
}

} // namespace

TEST_F(FileRulesTest, APipeIsSetBackAsItWasOnlyByTheLastWriteHoldingItQuiet) {
    using fileio::internal::QuietPipeHold;
    for (const int before : {0, 1}) {
        SCOPED_TRACE(before != 0 ? "quiet before" : "not quiet before");
        int ends[2] = {-1, -1};
        int others[2] = {-1, -1};
        ASSERT_EQ(::pipe(ends), 0);
        const fileio::Descriptor read(ends[0]), write(ends[1]), second(::dup(ends[1]));
        ASSERT_EQ(::pipe(others), 0);
        const fileio::Descriptor otherRead(others[0]), otherWrite(others[1]);
        quietSwitches.clear();
        ASSERT_EQ(quietSwitch(write.get(), before), 0);
        // Two threads' writes overlap, each through a descriptor of its own.
        std::optional<QuietPipeHold> first, last;
        first.emplace(write.get(), quietSwitch);
        last.emplace(second.get(), quietSwitch);
        EXPECT_EQ(quietOf(write.get()), 1);
        {
            const QuietPipeHold other(otherWrite.get(), quietSwitch);
            EXPECT_EQ(quietOf(otherWrite.get()), 1);
        }
        EXPECT_EQ(quietOf(otherWrite.get()), 0) << "a write to another pipe sets that one back";
        first.reset();
        EXPECT_EQ(quietOf(write.get()), 1) << "the first write to end leaves it quiet";
        last.reset();
        EXPECT_EQ(quietOf(write.get()), before);
    }
}

TEST_F(FileRulesTest, ANodeIsWrittenInPlaceAtItsReadersPace) {
    // A FIFO whose reader reads only once its buffer is full: the write waits for it, as any
    // writer's does, rather than fail. Its content is gathered in a file of no name, never in its
    // folder, which takes no new file here, and nothing is left where TMPDIR says either.
    const fs::path fifo = path("fifo");
    const fs::path tmp = path("tmp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(tmp);
    // TMPDIR and the folder's mode as they were, given back however the test ends.
    class Restored {
    public:
        explicit Restored(const fs::path& folder) : m_folder(folder), m_mode(modeOf(folder)) {
            if (const char* tmpdir = std::getenv("TMPDIR")) {
                m_tmpdir = tmpdir;
            }
        }
        Restored(const Restored&) = delete;
        Restored& operator=(const Restored&) = delete;
        ~Restored() {
            EXPECT_EQ(::chmod(m_folder.c_str(), m_mode), 0);
            m_tmpdir ? ::setenv("TMPDIR", m_tmpdir->c_str(), 1) : ::unsetenv("TMPDIR");
        }

    private:
        fs::path m_folder;
        mode_t m_mode;
        std::optional<std::string> m_tmpdir;
    };
    std::optional<Restored> restored;
    restored.emplace(m_dir);
    ::setenv("TMPDIR", tmp.c_str(), 1);
    ASSERT_EQ(::chmod(m_dir.c_str(), 0555), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const std::string large(1 << 20, 'x');
    std::size_t received = 0;
    std::atomic<bool> returned{false}; // a write that fails early leaves the reader no wait
    std::thread slow([&] {
        for (int queued = 0; ::ioctl(reader, FIONREAD, &queued) == 0 && queued < 65536 && !returned;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::fcntl(reader, F_SETFL, 0);
        char buffer[65536];
        for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) {
            received += std::size_t(n);
        }
    });
    EXPECT_FALSE(fileio::writeWhole(fileio::Entry(fifo.string()), fileio::textWriter(large)));
    returned = true;
    slow.join();
    ::close(reader);
    restored.reset();
    EXPECT_EQ(received, large.size());
    EXPECT_EQ(namesIn(m_dir), (std::vector<std::string>{"fifo", "tmp"}));
#ifndef ZELVANE_FILEIO_LINUX
    GTEST_SKIP() << "a link of /proc names an open file only to Linux's own calls";
#endif

    // A pipe the process holds, named through /proc, whose folder takes no new file.
    int ends[2] = {-1, -1};
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    EXPECT_FALSE(fileio::writeWhole(fileio::Entry("/proc/self/fd/" + std::to_string(ends[1])),
                                    fileio::textWriter("piped")));
    char piped[8] = {};
    EXPECT_EQ(::read(ends[0], piped, sizeof piped), 5);
    EXPECT_EQ(std::string(piped, 5), "piped");
    ::close(ends[0]);
    ::close(ends[1]);

    // A file the process holds open, named through /proc, is written at its end.
    put(path("held"), "kept ");
    const int held = ::open(path("held").c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    const std::string named = "/proc/self/fd/" + std::to_string(held);
    EXPECT_FALSE(fileio::writeWhole(fileio::Entry(named), fileio::textWriter("added")));
    ::close(held);
    EXPECT_EQ(get(path("held")), "kept added");
    EXPECT_EQ(namesIn(m_dir), (std::vector<std::string>{"fifo", "held", "tmp"}));
}

TEST_F(FileRulesTest, ARenameThatMustNotReplaceTakesOnlyANameWhereNoEntryStands) {
    struct Row {
        bool folder;          // the entry renamed is a folder, else a file
        const char* standing; // what stands at the new name: "file", "folder" (empty) or null
    };
    const Row rows[] = {{false, nullptr}, {false, "file"}, {false, "folder"},
                        {true, nullptr},  {true, "file"},  {true, "folder"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.folder ? "a folder" : "a file") + " over " +
                     (row.standing != nullptr ? row.standing : "nothing"));
        fs::remove_all(path("from"));
        fs::remove_all(path("to"));
        row.folder ? (void)fs::create_directory(path("from")) : put(path("from"), "from");
        const std::string standing = row.standing != nullptr ? row.standing : "";
        standing == "folder" ? (void)fs::create_directory(path("to"))
        : standing == "file" ? put(path("to"), "to")
                             : void();
        const std::error_code error =
            fileio::Entry(path("from").string(), fileio::Entry::keepLink).renameTo("to", false);
        EXPECT_EQ(error,
                  row.standing != nullptr ? std::make_error_code(std::errc::file_exists) : std::error_code())
            << error.message();
        EXPECT_EQ(fs::exists(path("from")), row.standing != nullptr);
        EXPECT_EQ(fs::is_directory(path("to")), row.standing != nullptr ? standing == "folder" : row.folder);
        EXPECT_EQ(namesIn(m_dir).size(), row.standing != nullptr ? 2u : 1u);
    }
}

void FileRulesTest::checkTemporary(const TemporaryRow& row) {
    SCOPED_TRACE(row.name);
    const fileio::Descriptor parent(::open(m_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(parent);
    std::error_code error;
    fileio::TemporaryFolder made(parent.get(), "made-", "", error);
    ASSERT_FALSE(error) << error.message();
    const fs::path inside = m_dir / made.name();
    EXPECT_EQ(modeOf(inside), 0700u);
    put(inside / "inside", "x");
    fs::create_directory(inside / "deeper");
    fs::create_symlink(path("kept"), inside / "deeper" / "link");
    put(path("kept"), "kept");
    if (row.opened) {
        ASSERT_EQ(::chmod(inside.c_str(), 0777), 0);
        put(inside / "deeper" / "theirs", "theirs");
        ASSERT_EQ(::chown((inside / "deeper" / "theirs").c_str(), other, other), 0);
        ASSERT_EQ(::chmod(inside.c_str(), 0700), 0);
    }
    if (row.exchanged) {
        fs::rename(inside, path("away"));
        fs::create_directory(inside);
        put(inside / "theirs", "theirs");
    }
    if (row.byChild) {
        const pid_t child = ::fork();
        if (child == 0) {
            _exit(made.remove() == FileError::notMaker ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child refused";
    } else {
        EXPECT_EQ(!made.remove(), row.removed);
    }
    EXPECT_EQ(get(path("kept")), "kept") << "a link is removed, never followed";
    EXPECT_EQ(fs::exists(inside), !row.removed);
    if (row.exchanged) {
        EXPECT_EQ(get(inside / "theirs"), "theirs");
        EXPECT_TRUE(fs::is_empty(path("away"))) << "what was made is emptied through its descriptor";
    }
    if (row.opened) {
        // Private again is no sign that it always was: the other user's file stays theirs.
        EXPECT_EQ(namesIn(inside), (std::vector<std::string>{"deeper", "deeper/theirs"}));
    }
    fs::remove_all(inside);
    fs::remove_all(path("away"));
    fs::remove(path("kept"));
}

TEST_F(FileRulesTest, AFileWhoseOldNameCannotGoIsNotRenamedWithoutReplacing) {
    // "file" lies in a folder the player may search but not write, and is renamed into another:
    // the new name is not left beside the old, and the failure is answered.
    fs::create_directories(path("from"));
    fs::create_directories(path("to"));
    put(path("from/file"), "kept");
    for (const char* made : {"from", "from/file", "to"}) {
        ASSERT_EQ(::chown(path(made).c_str(), self != 0 ? self : other, gid_t(-1)), 0);
    }
    const testing_support::ModeRestored restored(path("from"));
    ASSERT_EQ(::chmod(path("from").c_str(), 0555), 0);
    const fileio::Descriptor from(::open(path("from").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const fileio::Descriptor to(::open(path("to").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(from && to);
    // Root may remove any entry: as root, it is renamed by the folders' owner.
    const pid_t child = ::fork();
    if (child == 0) {
        _exit((self != 0 || (::setgid(other) == 0 && ::setuid(other) == 0)) &&
                      fileio::internal::renameWithoutReplacing(from.get(), "file", to.get(), "file", false) ==
                          std::errc::permission_denied
                  ? 0
                  : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "not refused for the old name";
    EXPECT_EQ(namesIn(path("from")), std::vector<std::string>{"file"});
    EXPECT_EQ(namesIn(path("to")), std::vector<std::string>{});
}

TEST_F(FileRulesTest, ATemporaryFolderIsRemovedThroughWhatWasMadeByItsMaker) {
    const TemporaryRow rows[] = {
        {"by its maker", false, false, false, true},
        {"exchanged for another folder", true, false, false, false},
        {"by a child of its maker", false, true, false, false},
    };
    for (const TemporaryRow& row : rows) {
        checkTemporary(row);
    }
}

TEST_F(FileRulesTest, ATemporaryFolderKeepsWhatAnotherUserPutThere) {
    if (self != 0) {
        GTEST_SKIP() << givesAway;
    }
    checkTemporary({"opened to another user and made private again", false, false, true, false});
}

void FileRulesTest::checkSweep(const SweepRow& row) {
    SCOPED_TRACE(row.name);
    const fs::path folder = path("swept");
    fs::remove_all(folder);
    fs::create_directory(folder);
    put(folder / "prefs.xml", "kept");
    const fs::path left = folder / row.left;
    row.folder ? (void)fs::create_directory(left) : put(left, "left");
    ASSERT_EQ(::chmod(left.c_str(), row.mode), 0);
    ASSERT_EQ(::chown(left.c_str(), row.owner, gid_t(-1)), 0);
    fileio::removeLeftovers(fileio::Entry((folder / "prefs.xml").string()));
    EXPECT_EQ(fs::exists(left), !row.removed);
    EXPECT_EQ(get(folder / "prefs.xml"), "kept");
    fs::remove_all(folder);
}

TEST_F(FileRulesTest, ASweepRemovesOnlyWhatAWriteOfThePlayersLeft) {
    // A folder goes only as writeWhole makes its own: private, named with sixteen hexadecimal digits.
    const SweepRow rows[] = {
        {"the player's file", ".prefs.xml.0a1b.tmp", false, 0600, self, true},
        {"the player's folder", ".prefs.xml.00000000000000ff.tmp", true, 0700, self, true},
        {"the player's folder others may read", ".prefs.xml.00000000000000ff.tmp", true, 0755, self, false},
        {"a folder of fifteen digits", ".prefs.xml.0000000000000ff.tmp", true, 0700, self, false},
        {"a folder of seventeen digits", ".prefs.xml.000000000000000ff.tmp", true, 0700, self, false},
        {"a folder of sixteen characters not all digits", ".prefs.xml.00000000000000fg.tmp", true, 0700, self,
         false},
    };
    for (const SweepRow& row : rows) {
        checkSweep(row);
    }
}

TEST_F(FileRulesTest, ASweepKeepsAnotherUsersLeftovers) {
    if (self != 0) {
        GTEST_SKIP() << givesAway;
    }
    // Another user's, in a folder others may write, may be their own write under way.
    for (const SweepRow& row :
         {SweepRow{"another's file", ".prefs.xml.0a1b.tmp", false, 0600, other, false},
          SweepRow{"another's folder", ".prefs.xml.00000000000000ff.tmp", true, 0700, other, false}}) {
        checkSweep(row);
    }
}

void FileRulesTest::checkExposure(const ExposureRow& row) {
    SCOPED_TRACE(row.name);
    const fs::path above = path("above");
    fs::remove_all(above);
    fs::create_directories(above / "folder");
    ASSERT_EQ(::chown(above.c_str(), row.owner, row.owner == self ? ::getegid() : row.owner), 0);
    ASSERT_EQ(::chmod(above.c_str(), row.above), 0);
    const fileio::Exposure exposure = fileio::othersMayRenameIn((above / "folder").string());
    EXPECT_EQ(bool(exposure), row.exposed) << exposure.why;
    EXPECT_EQ(exposure.folder, row.exposed ? above.string() : "");
    ASSERT_EQ(::chmod(above.c_str(), 0755), 0);
    fs::remove_all(above);
}

TEST_F(FileRulesTest, AFolderIsExposedWhereAnotherUserMayRenameEntriesAboveIt) {
    if (fileio::othersMayRenameIn(m_dir.string())) {
        GTEST_SKIP() << "another user may rename entries above " << m_dir;
    }
    const ExposureRow rows[] = {
        {"private", 0755, self, false},
        {"sticky", 01777, self, false},
        {"all may write", 0777, self, true},
        {"the group may write", 0775, self, true},
    };
    for (const ExposureRow& row : rows) {
        checkExposure(row);
    }
    // A folder that cannot be reached is exposed, saying why.
    EXPECT_TRUE(fileio::othersMayRenameIn(path("missing").string()));
}

TEST_F(FileRulesTest, AFolderIsExposedWhereAnotherUserOwnsAFolderAboveIt) {
    if (self != 0) {
        GTEST_SKIP() << givesAway;
    }
    if (fileio::othersMayRenameIn(m_dir.string())) {
        GTEST_SKIP() << "another user may rename entries above " << m_dir;
    }
    for (const ExposureRow& row :
         {ExposureRow{"another's", 0755, other, true}, ExposureRow{"root's", 0755, 0, false}}) {
        checkExposure(row);
    }
}

TEST_F(FileRulesTest, AWalkFromAFolderHeldFollowsItsLinksAsAPathsWalkDoes) {
    fs::create_directories(path("top/open/y"));
    fs::create_directory_symlink("open", path("top/lnk"));
    fs::create_directory_symlink(path("top/open").string(), path("top/far"));
    const fileio::Descriptor top(::open(path("top").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(top);
    struct Row {
        const char* path;
        const char* shown; // path(), "" for the path of the folder given
        const char* name;
        const char* holder; // the folder holding the entry, below the test's folder
    };
    const std::string far = path("top/open/y").string();
    const Row rows[] = {
        {"open/y", "open/y", "y", "top/open"},   {"lnk/y/file", "open/y/file", "file", "top/open/y"},
        {"far/y", far.c_str(), "y", "top/open"}, {"open/../lnk/y", "open/y", "y", "top/open"},
        {"lnk", "open", "open", "top"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const fileio::Entry entry(top.get(), row.path, fileio::Entry::follow);
        ASSERT_FALSE(entry.error());
        EXPECT_EQ(entry.path(), row.shown);
        EXPECT_EQ(entry.name(), row.name);
        struct stat held {};
        struct stat expected {};
        ASSERT_TRUE(entry.folderStatus(held));
        ASSERT_EQ(::stat(path(row.holder).c_str(), &expected), 0);
        EXPECT_TRUE(fileio::sameNode(held, expected));
    }
    // Folders are made where the links lead, one walk holding each.
    std::error_code error;
    const fileio::Descriptor made =
        fileio::makeFolders(top.get(), "lnk/y/z/w", fileio::Entry::Folders::players, error);
    EXPECT_FALSE(error) << error.message();
    EXPECT_TRUE(made && fs::is_directory(path("top/open/y/z/w")));
    EXPECT_EQ(fileio::makeFolders(path("top/lnk/y/z").string(), fileio::Entry::Folders::players),
              std::error_code());
}

// Folders made for the player's files: each name walked under the rules, and each folder it leads to
// asked, as it is held, to be the player's; a make that fails leaves nothing made.
TEST_F(FileRulesTest, FoldersMadeForThePlayersFilesAskTheWayAndEachFolderHeld) {
    if (self != 0) {
        GTEST_SKIP() << givesAway;
    }
    struct Row {
        const char* name;
        std::function<void()> arrange; // in "base", the player's private folder
        const char* path;              // made below "base"
        std::error_code error;
        const char* made;      // what stands at the end below "base", "" for what was there
        std::string refusedAt; // the folder not taken, as the walk met it below "base"
    };
    auto theirs = [&] {
        fs::create_directory(path("base/theirs"));
        ASSERT_EQ(::chown(path("base/theirs").c_str(), other, other), 0);
    };
    const Row rows[] = {
        // The walk of the name passes: its folder is the player's. The folder held, the last, is
        // another's.
        {"another's folder at the name", theirs, "theirs", FileError::notPlayersFolder, "", "theirs"},
        // The folder held is the player's; the walk meets another's on its way.
        {"the player's link to the player's folder in another's, where all may write",
         [&] {
             fs::create_directories(path("base/open/theirs/mine"));
             ASSERT_EQ(::chmod(path("base/open").c_str(), 0777), 0);
             ASSERT_EQ(::chown(path("base/open/theirs").c_str(), other, other), 0);
             fs::create_directory_symlink("open/theirs/mine", path("base/lnk"));
         },
         "lnk/sub", FileError::notPlayersFolder, "", "open/theirs"},
        // The player's link leads to another's folder: that folder is named, not the link.
        {"the player's link to another's folder",
         [&] {
             theirs();
             fs::create_directory_symlink("theirs", path("base/lnk"));
         },
         "lnk/sub", FileError::notPlayersFolder, "", "theirs"},
        {"the player's link by its absolute name to another's folder",
         [&] {
             theirs();
             fs::create_directory_symlink(path("base/theirs"), path("base/lnk"));
         },
         "lnk/sub", FileError::notPlayersFolder, "", path("base/theirs").string()},
        // Named below the folder the link led to, where the walk went on.
        {"another's folder in the one the player's link leads to",
         [&] {
             fs::create_directories(path("base/real/theirs"));
             ASSERT_EQ(::chown(path("base/real/theirs").c_str(), other, other), 0);
             fs::create_directory_symlink("real", path("base/lnk"));
         },
         "lnk/theirs/sub", FileError::notPlayersFolder, "", "real/theirs"},
        {"a make that fails", [] { sim::failCreate(ErrIO); }, "new/sub",
         std::error_code(ErrIO, fileio::injectedCategory()), "", ""},
        {"the player's folders", [] {}, "new/sub", std::error_code(), "new/sub", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(path("base"));
        fs::create_directory(path("base"));
        ASSERT_EQ(::chmod(path("base").c_str(), 0755), 0);
        row.arrange();
        const std::vector<std::string> before = namesIn(path("base"));
        std::error_code error;
        std::string refused = "left";
        const fileio::Descriptor base(::open(path("base").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const fileio::Descriptor made =
            fileio::makeFolders(base.get(), row.path, fileio::Entry::Folders::players, error, &refused);
        sim::clearFaults();
        EXPECT_EQ(error, row.error) << error.message();
        EXPECT_EQ(bool(made), !row.error);
        EXPECT_EQ(refused, row.refusedAt);
        std::vector<std::string> after = before;
        if (*row.made != '\0') {
            after.push_back(fs::path(row.made).parent_path().string());
            after.push_back(row.made);
            std::sort(after.begin(), after.end());
        }
        EXPECT_EQ(namesIn(path("base")), after) << "nothing made where it is refused";
    }
    // A folder made by its name for the player's files: another user's entry of any kind standing
    // there holds none of them; the player's own that is no folder stands in the way.
    for (const uid_t owner : {other, self}) {
        fs::remove_all(path("base"));
        fs::create_directory(path("base"));
        put(path("base/entry"), "x");
        ASSERT_EQ(::chown(path("base/entry").c_str(), owner, owner), 0);
        const fileio::Entry entry(path("base/entry").string(), fileio::Entry::follow,
                                  fileio::Entry::Folders::players);
        EXPECT_EQ(entry.makeFolder(), owner == self ? std::make_error_code(std::errc::file_exists)
                                                    : make_error_code(FileError::notPlayersFolder));
    }
    fs::remove_all(path("base"));
}

// A walk that keeps its path to the next use: each folder it looks a name up in closed to other
// users' renames, as it holds it.
TEST_F(FileRulesTest, AWalkKeptForItsNextUseRefusesAWayOthersMayChange) {
    struct Row {
        const char* name;
        mode_t open;           // of "way/open", which "way/lnk" leads through to "way/open/mine"
        bool theirs;           // "way/open/mine" lies in another's folder "way/open/theirs" instead
        const char* refusedAt; // the folder refused, null for none
    };
    const Row rows[] = {
        {"closed to others", 0755, false, nullptr},
        {"sticky, open to all", 01777, false, nullptr},
        {"open to all", 0777, false, "way/open"},
        {"in another's folder", 0755, true, "way/open/theirs"},
    };
    bool skipped = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.theirs && self != 0) {
            skipped = true;
            continue;
        }
        fs::remove_all(path("way"));
        const fs::path mine = row.theirs ? path("way/open/theirs/mine") : path("way/open/mine");
        fs::create_directories(mine);
        ASSERT_EQ(::chmod(path("way").c_str(), 0755), 0);
        ASSERT_EQ(::chmod(path("way/open").c_str(), row.open), 0);
        if (row.theirs) {
            ASSERT_EQ(::chown(path("way/open/theirs").c_str(), other, other), 0);
        }
        fs::create_directory_symlink(mine.lexically_relative(path("way")), path("way/lnk"));
        const fileio::Descriptor way(::open(path("way").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const fileio::Entry entry(way.get(), "lnk/file", fileio::Entry::follow,
                                  fileio::Entry::Folders::unexposed);
        if (row.refusedAt == nullptr) {
            EXPECT_FALSE(entry.error()) << entry.error().message();
            EXPECT_EQ(entry.path(), mine.lexically_relative(path("way")).string() + "/file");
        } else {
            EXPECT_EQ(entry.error(), FileError::exposedWay);
            EXPECT_EQ(entry.path(), fs::path(row.refusedAt).lexically_relative("way").string());
        }
        // A walk that is not kept for its next use goes through.
        EXPECT_FALSE(fileio::Entry(way.get(), "lnk/file", fileio::Entry::follow).error());
    }
    fs::remove_all(path("way"));
    if (skipped) {
        GTEST_SKIP() << givesAway;
    }
}

TEST_F(FileRulesTest, AFolderTakenToHoldThePlayersFilesIsThePlayersAsTheWalkHoldsIt) {
    if (self != 0) {
        GTEST_SKIP() << givesAway;
    }
    struct Row {
        const char* name;
        mode_t base;                   // the player's folder holding the rest
        uid_t middle;                  // owner of "base/mid", on the way to "taken"
        uid_t taken;                   // owner of the folder taken, 0777
        bool linked;                   // "taken" is reached through the player's link in "base"
        std::error_code written, made; // a file written in "taken"; "taken" and a folder in it made
        const char* refusedAt;         // the folder the file's walk refuses, which it names
        bool itsFolder;                // that folder is the one holding the file, not one on its way
    };
    const std::error_code none;
    const std::error_code refused = FileError::notPlayersFolder;
    const Row rows[] = {
        {"the player's folders, all may write in them", 0777, self, self, false, none, none, nullptr, false},
        {"another's folder in the player's private folder", 0755, self, other, false, refused, refused,
         "base/mid/taken", true},
        {"another's folder where all may write", 0777, self, other, false, refused, refused, "base/mid/taken",
         true},
        {"the player's folder in another's, where all may write", 0777, other, self, false, refused, refused,
         "base/mid", false},
        // Another's folder no one else could have put there is entered, but holds no folder made.
        {"the player's folder in another's, in a private folder", 0755, other, self, false, none, refused,
         nullptr, false},
        {"another's folder through the player's link", 0755, self, other, true, refused, refused,
         "elsewhere/taken", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(path("base"));
        fs::remove_all(path("elsewhere"));
        fs::create_directories(path("base/mid/taken"));
        fs::create_directories(path("elsewhere/taken"));
        const fs::path real = row.linked ? path("elsewhere/taken") : path("base/mid/taken");
        ASSERT_EQ(::chown(real.c_str(), row.taken, gid_t(-1)), 0);
        ASSERT_EQ(::chmod(real.c_str(), 0777), 0);
        ASSERT_EQ(::chown(path("base/mid").c_str(), row.middle, gid_t(-1)), 0);
        ASSERT_EQ(::chmod(path("base/mid").c_str(), 0777), 0);
        ASSERT_EQ(::chmod(path("base").c_str(), row.base), 0);
        if (row.linked) {
            fs::create_directory_symlink(real, path("base/lnk"));
        }
        const std::string taken = row.linked ? "base/lnk" : "base/mid/taken";
        const auto players = fileio::Entry::Folders::players;
        const fileio::Entry file(path(taken + "/file").string(), fileio::Entry::follow, players);
        EXPECT_EQ(fileio::writeWhole(file, fileio::textWriter("new")), row.written);
        EXPECT_EQ(file.path(),
                  path(row.refusedAt != nullptr ? row.refusedAt : "base/mid/taken/file").string());
        EXPECT_EQ(file.refusedItsFolder(), row.itsFolder);
        EXPECT_EQ(fs::exists(real / "file"), !row.written) << "the player's file lands where it is refused";
        EXPECT_EQ(fileio::Entry(path(taken).string(), fileio::Entry::follow, players).makeFolder(), row.made);
        EXPECT_EQ(fileio::makeFolders(path(taken + "/sub").string(), players), row.made);
        EXPECT_EQ(fs::exists(real / "sub"), !row.made);
        const fileio::Descriptor base(::open(path("base").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        EXPECT_EQ(
            fileio::Entry(base.get(), taken.substr(5) + "/file", fileio::Entry::follow, players).error(),
            row.written);
        // Whose folders a walk takes is asked only where the caller says they are to be the player's.
        EXPECT_FALSE(fileio::Entry(path(taken + "/file").string()).error());
    }
    fs::remove_all(path("base"));
    fs::remove_all(path("elsewhere"));
}
