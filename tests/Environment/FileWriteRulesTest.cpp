// The rules every writer of a whole file follows, the framework's and the simulated host's alike:
// what a replaced file keeps, which links are followed, which files are kept, and that no write
// waits on a FIFO.
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "FileFixture.h"
#include "sim/ReplaceFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <grp.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace zelvane;

namespace {

class FileWriteRulesTest : public FileFixture {
protected:
    static String name(fs::path const& p) { return String(p.c_str()); }
    static mode_t modeOf(fs::path const& p) {
        struct stat info {};
        return ::lstat(p.c_str(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
    }
    // The entries of the test's folder whose names start with a dot: temporary files left.
    std::vector<std::string> hidden() const {
        std::vector<std::string> names;
        for (auto const& entry : fs::recursive_directory_iterator(m_dir)) {
            if (entry.path().filename().string()[0] == '.') {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    // How many descriptors of the process are open on the node at p.
    static int openedHere(fs::path const& p) {
        struct stat node {};
        if (::stat(p.c_str(), &node) != 0) {
            return -1;
        }
        int count = 0;
        for (auto const& entry : fs::directory_iterator("/proc/self/fd")) {
            struct stat info {};
            if (::stat(entry.path().c_str(), &info) == 0 && info.st_dev == node.st_dev &&
                info.st_ino == node.st_ino) {
                ++count;
            }
        }
        return count;
    }

    // The framework's writer of a whole file and the simulated host's, each answering whether it
    // wrote.
    struct Writer {
        const char* name;
        std::function<bool(fs::path const&, std::string const&)> write;
    };
    static std::vector<Writer> writers() {
        return {
            {"DataFile::replaceContents",
             [](fs::path const& p, std::string const& text) {
                 return DataFile(name(p), DataFile::readWrite, false).replaceContents(String(text.c_str()));
             }},
            {"sim::replaceFile",
             [](fs::path const& p, std::string const& text) { return !sim::replaceFile(p, text); }},
            {"sim::writeFile",
             [](fs::path const& p, std::string const& text) { return !sim::writeFile(p, text); }},
        };
    }

    // The rows of a table that need root (to give a file, link or folder to another user, or to
    // make a device) are played with `rootRows`, the others without: each set is a test of its own.
    void playLinkRows(bool rootRows);
    void playKeptFileRows(bool rootRows);
};

TEST_F(FileWriteRulesTest, ReplacedContentKeepsTheModeAndOwnerButNoSetIDOrStickyBit) {
    struct Row {
        mode_t before, after;
    };
    const Row rows[] = {{0600, 0600},  {0640, 0640},  {0777, 0777}, {04755, 0755},
                        {02750, 0750}, {06711, 0711}, {01666, 0666}};
    // Where the process may give files away, another user's file that all may write keeps its
    // owner too.
    const bool privileged = ::geteuid() == 0;
    const uid_t other = ::geteuid() == 1234 ? 1235 : 1234;
    for (Writer const& writer : writers()) {
        for (Row const& row : rows) {
            SCOPED_TRACE(std::string(writer.name) + " over mode " + std::to_string(row.before));
            fs::remove(path("kept"));
            put(path("kept"), "old");
            const bool givenAway = privileged && (row.before & S_IWOTH) != 0;
            ASSERT_TRUE(!givenAway || ::chown(path("kept").c_str(), other, other) == 0);
            ASSERT_EQ(::chmod(path("kept").c_str(), row.before), 0);
            ASSERT_TRUE(writer.write(path("kept"), "new"));
            EXPECT_EQ(get(path("kept")), "new");
            EXPECT_EQ(modeOf(path("kept")), row.after);
            struct stat info {};
            ASSERT_EQ(::stat(path("kept").c_str(), &info), 0);
            EXPECT_TRUE(!givenAway || (info.st_uid == other && info.st_gid == other));
            EXPECT_EQ(hidden(), std::vector<std::string>{});
        }
    }
}

void FileWriteRulesTest::playLinkRows(bool rootRows) {
    // The player's private file, and a link to it in a folder: is it read, written, erased or
    // opened to others through the link?
    struct Row {
        const char* name;
        mode_t folder;     // the link's folder's mode
        uid_t folderOwner; // -1: the player
        uid_t linkOwner;   // -1: the player
        bool followed;
    };
    const uid_t player = uid_t(-1);
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const Row rows[] = {
        {"the player's link, where others may write", 0777, player, player, true},
        {"root's link, where others may write", 0777, player, 0, true},
        {"another's link, where only the player may write", 0755, player, other, true},
        {"another's link, where others may write", 0777, player, other, false},
        {"another's link, in a sticky folder", 01777, player, other, false},
        {"another's link, where the group may write", 0775, player, other, false},
        {"another's link, in another's folder", 0755, other, other, false},
    };
    using Operation = bool (*)(DataFile&);
    struct Use {
        const char* name;
        Operation run;
    };
    const Use uses[] = {
        {"read", [](DataFile& f) { return f.open(DataFile::readOnly); }},
        {"replace", [](DataFile& f) { return f.replaceContents(String("planted")); }},
        {"erase", [](DataFile& f) { return f.erase(); }},
        {"open to all", [](DataFile& f) { return f.allowFullAccess(), true; }},
    };
    // The link stands at the file, or at a folder on the way to it.
    struct Place {
        const char* name;
        const char* link;
        const char* target;
        const char* file;
    };
    const Place places[] = {
        {"at the file", "shared/prefs.xml", "../home/private", "shared/prefs.xml"},
        {"at its folder", "shared/Zelvane", "../home", "shared/Zelvane/private"},
    };
    for (Row const& row : rows) {
        // Only root makes a file or a link another user's.
        if ((row.folderOwner != player || row.linkOwner != player) != rootRows) {
            continue;
        }
        for (Place const& place : places) {
            for (Use const& use : uses) {
                SCOPED_TRACE(std::string(row.name) + ", " + place.name + ": " + use.name);
                fs::remove_all(m_dir);
                fs::create_directories(path("shared"));
                fs::create_directories(path("home"));
                const fs::path victim = path("home/private");
                put(victim, "secret");
                ASSERT_EQ(::chmod(victim.c_str(), 0600), 0);
                fs::create_symlink(place.target, path(place.link));
                if (row.linkOwner != player) {
                    ASSERT_EQ(::lchown(path(place.link).c_str(), row.linkOwner, row.linkOwner), 0);
                }
                if (row.folderOwner != player) {
                    ASSERT_EQ(::chown(path("shared").c_str(), row.folderOwner, row.folderOwner), 0);
                }
                ASSERT_EQ(::chmod(path("shared").c_str(), row.folder), 0);
                DataFile file(text(place.file), DataFile::readWrite, false);
                bool done = use.run(file);
                file.close();
                if (std::string(use.name) != "open to all") {
                    EXPECT_EQ(done, row.followed);
                    EXPECT_EQ(file.getLastError(), row.followed ? NoError : ErrPermission);
                }
                EXPECT_TRUE(fs::is_symlink(path(place.link))) << "the link stays";
                const bool changed = row.followed && std::string(use.name) != "read";
                EXPECT_EQ(fs::exists(victim), !changed || std::string(use.name) != "erase");
                if (fs::exists(victim)) {
                    EXPECT_EQ(get(victim),
                              changed && std::string(use.name) == "replace" ? "planted" : "secret");
                    EXPECT_EQ(modeOf(victim),
                              changed && std::string(use.name) == "open to all" ? 0777 : 0600);
                }
                EXPECT_EQ(hidden(), std::vector<std::string>{});
            }
        }
    }
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
}

TEST_F(FileWriteRulesTest, ALinkAnotherUserMayHavePutIsNotFollowed) {
    playLinkRows(false);
}

TEST_F(FileWriteRulesTest, ALinkOrFolderOfAnotherUserIsFollowedOnlyWhereNoOtherMayPutIt) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's link or folder needs root, to give one away";
    }
    playLinkRows(true);
}

void FileWriteRulesTest::playKeptFileRows(bool rootRows) {
    struct Row {
        const char* name;
        mode_t mode; // of the file, or S_IFIFO or S_IFCHR with the node's bits
        bool reader; // a FIFO's
        bool written;
        GSErrCode error;           // the framework's
        uid_t owner = 0;           // another user's file; 0 for the player's
        uid_t stickyOwner = 0;     // the file lies in a sticky folder of this user's
        bool openFolder = false;   // the file lies in a folder all may write
        bool everyUser = false;    // the framework's file is one every user is to change
        bool readerLeaves = false; // the FIFO's reader leaves once the FIFO is open to be written
        bool taken = true;         // the rules take it as the player's: its mode may be changed
    };
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const uid_t third = other + 1 == ::geteuid() ? other + 2 : other + 1;
    const mode_t fifo = S_IFIFO;
    const mode_t device = S_IFCHR;
    const std::vector<Row> rows = {
        {"the player's file", 0644, false, true, NoError},
        {"made read-only", 0444, false, false, ErrPermission},
        {"open to no one", 0000, false, false, ErrPermission},
        {"another user's", 0644, false, false, ErrPermission, other},
        {"another user's that all may write", 0666, false, true, NoError, other},
        {"another user's in a sticky folder of a third's", 0666, false, false, ErrPermission, other, third,
         false, false, false, false},
        {"the player's, in a folder all may write", 0644, false, true, NoError, 0, 0, true},
        {"a FIFO with a reader", fifo | 0600, true, true, NoError},
        {"a FIFO without a reader", fifo | 0600, false, false, ErrIO},
        // Another user's entry in a folder others may write, but for a file every user changes (the
        // framework's alone); a node's permission bits, root held to them; and a reader that leaves
        // (the framework's writer, which can close it between the open and the write).
        {"another user's, in a folder all may write", 0666, false, false, ErrPermission, other, 0, true,
         false, false, false},
        {"another user's, in a folder all may write, changed by every user", 0666, false, true, NoError,
         other, 0, true, true},
        {"a FIFO whose reader leaves before the write", fifo | 0600, true, false, ErrIO, 0, 0, false, false,
         true},
        {"a FIFO made read-only", fifo | 0444, true, false, ErrPermission},
        {"another user's FIFO", fifo | 0600, true, false, ErrPermission, other},
        {"another user's FIFO, in a folder all may write, changed by every user", fifo | 0666, true, false,
         ErrPermission, other, 0, true, true},
        {"a device made read-only", device | 0444, false, false, ErrPermission},
        {"another user's device", device | 0600, false, false, ErrPermission, other},
    };
    bool linuxOnly = false;
    for (Writer const& writer : writers()) {
        const bool framework = writer.name == std::string("DataFile::replaceContents");
        for (Row const& row : rows) {
            SCOPED_TRACE(std::string(writer.name) + ": " + row.name);
            const bool special = S_ISFIFO(row.mode) || S_ISCHR(row.mode);
            // A node is written in place, which sim::replaceFile alone never does; only the
            // framework's file may be one every user changes, and only its writer can close a
            // reader between the open and the write.
            if ((special && writer.name == std::string("sim::replaceFile")) ||
                (!framework && (row.everyUser || row.readerLeaves))) {
                continue;
            }
#ifndef ZELVANE_FILEIO_LINUX
            // The framework's writer writes a node's content to the file that gathers it.
            if (framework && special && (row.written || row.readerLeaves)) {
                linuxOnly = true;
                continue;
            }
#endif
            // Only root gives a file or folder to another user, or makes a device.
            if ((row.owner != 0 || row.stickyOwner != 0 || S_ISCHR(row.mode)) != rootRows) {
                continue;
            }
            const fs::path folder = row.stickyOwner != 0 ? path("sticky")
                                    : row.openFolder     ? path("open")
                                                         : m_dir;
            const fs::path file = folder / "prefs.xml";
            fs::create_directories(folder);
            if (row.stickyOwner != 0) {
                ASSERT_EQ(::chown(folder.c_str(), row.stickyOwner, row.stickyOwner), 0);
                ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);
            }
            if (row.openFolder) {
                ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
            }
            int reader = -1;
            if (special) {
                // A node that discards what it is given, as /dev/null does.
                ASSERT_EQ(::mknod(file.c_str(), row.mode, makedev(1, 3)), 0);
                ASSERT_EQ(::chmod(file.c_str(), row.mode & 07777), 0);
                reader = row.reader ? ::open(file.c_str(), O_RDONLY | O_NONBLOCK) : -1;
            } else {
                put(file, "old");
                ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
            }
            ASSERT_TRUE(row.owner == 0 || ::lchown(file.c_str(), row.owner, row.owner) == 0);
            // A write that waits for a reader is given one after a while and fails the test,
            // instead of hanging it.
            std::promise<void> returned;
            std::thread rescue([&file, waited = returned.get_future()] {
                if (waited.wait_for(std::chrono::seconds(3)) == std::future_status::timeout) {
                    int late = ::open(file.c_str(), O_RDONLY | O_NONBLOCK);
                    char drained[64];
                    while (late >= 0 && ::fcntl(late, F_SETFL, 0) == 0 &&
                           ::read(late, drained, sizeof drained) > 0) {
                    }
                    ::close(late);
                }
            });
            DataFile written(name(file), DataFile::readWrite, false);
            written.setChangedByEveryUser(row.everyUser);
            const bool done = framework ? written.replaceContents([&](DataFile& f) {
                if (row.readerLeaves) {
                    // The FIFO is open to be written before its content is: a reader that leaves
                    // now has the write fail, raising no SIGPIPE.
                    EXPECT_EQ(openedHere(file), 2);
                    ::close(reader);
                    reader = -1;
                }
                return f.write(String("new"));
            })
                                        : writer.write(file, "new");
            returned.set_value();
            rescue.join();
            EXPECT_EQ(done, row.written);
            if (special) {
                char received[8] = {};
                EXPECT_EQ(reader >= 0 ? ::read(reader, received, sizeof received) : 0,
                          row.written && S_ISFIFO(row.mode) ? 3 : 0);
                struct stat info {};
                EXPECT_TRUE(::lstat(file.c_str(), &info) == 0 &&
                            (info.st_mode & S_IFMT) == (row.mode & S_IFMT))
                    << "written in place, never replaced";
                if (reader >= 0) {
                    ::close(reader);
                }
            } else {
                EXPECT_EQ(modeOf(file), row.mode);
                // Read by its owner, whoever runs the test, and then as it was again.
                ASSERT_EQ(::chmod(file.c_str(), row.mode | S_IRUSR), 0);
                EXPECT_EQ(get(file), row.written ? "new" : "old");
                ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
            }
            if (framework) {
                EXPECT_EQ(written.getLastError(), row.error);
                if (!special) {
                    // Its mode is changed only where the rules take it as the player's, through a
                    // descriptor of its own.
                    written.allowFullAccess();
                    EXPECT_EQ(modeOf(file), row.taken ? 0777 : row.mode);
                    ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
                    // Erased neither: the file is its user's to keep.
                    EXPECT_EQ(written.erase(), row.written);
                    EXPECT_EQ(fs::exists(file), !row.written);
                }
            }
            EXPECT_EQ(hidden(), std::vector<std::string>{}) << "no temporary file left";
            fs::remove_all(folder != m_dir ? folder : file);
        }
    }
    if (linuxOnly) {
        GTEST_SKIP() << openFileLinkOnLinuxOnly;
    }
}

TEST_F(FileWriteRulesTest, AFileItsUserMayNotWriteIsKeptAndNoWriteWaitsOnAFifo) {
    playKeptFileRows(false);
}

TEST_F(FileWriteRulesTest, AnotherUsersFileOrADeviceIsWrittenOnlyAsTheRulesLet) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's file or a device needs root, to give one away or make one";
    }
    playKeptFileRows(true);
}

} // namespace

TEST_F(FileWriteRulesTest, ATemporaryFileIsItsOwnersAloneFromItsMaking) {
    // Another user who opened a temporary file before its mode was set could read what is written
    // into it: each one is looked at as it is made, with a umask that would open it to all.
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, m_dir.c_str(), IN_CREATE), 0);
    const int folder = ::open(m_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<std::pair<std::string, mode_t>> seen;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        alignas(inotify_event) char events[4096];
        while (!done) {
            pollfd ready{watch, POLLIN, 0};
            if (::poll(&ready, 1, 20) <= 0) {
                continue;
            }
            const ssize_t got = ::read(watch, events, sizeof events);
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                struct stat info {};
                if (event->len > 0 && event->name[0] == '.' &&
                    ::fstatat(folder, event->name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
                    seen.emplace_back(event->name, info.st_mode & 0777);
                }
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    });
    put(path("private.xml"), "old");
    ASSERT_EQ(::chmod(path("private.xml").c_str(), 0600), 0);
    const mode_t mask = ::umask(0);
    for (Writer const& writer : writers()) {
        for (int i = 0; i < 20; ++i) {
            EXPECT_TRUE(writer.write(path("private.xml"), "new")) << writer.name;
        }
    }
    ::umask(mask);
    done = true;
    watcher.join();
    ::close(folder);
    ::close(watch);
    for (auto const& [name, mode] : seen) {
        EXPECT_EQ(mode, 0600u) << name;
    }
    EXPECT_EQ(modeOf(path("private.xml")), 0600u);
}

namespace {

// The entries an inotify descriptor reports made in the open folder `folder` since it was last
// read, each with its status as it stands now (a mode of -1 for one gone).
struct Made {
    std::string name;
    mode_t mode;
    uid_t owner;
};
void readMade(int watch, int folder, std::vector<Made>& made) {
    alignas(inotify_event) char events[4096];
    for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            struct stat info {};
            if (event->len > 0) {
                const bool there = ::fstatat(folder, event->name, &info, AT_SYMLINK_NOFOLLOW) == 0;
                made.push_back({event->name, there ? info.st_mode : mode_t(-1), info.st_uid});
            }
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace

TEST_F(FileWriteRulesTest, WhereOthersMayRenameEntriesTheTemporaryFileLiesInAFolderOfThePlayersOwn) {
    // An export into a folder of the player's that every user may write: another user could
    // rename a temporary file made there and put one of theirs under its name.
    const fs::path pub = path("pub");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct Row {
        const char* name;
        const char* before; // the file's content, null for none
        bool mustBeNew;
        mode_t after;
    };
    const Row rows[] = {
        {"over a file", "old", false, 0640},
        {"a new file", nullptr, false, 0666 & ~mask},
        {"a file that must be new", nullptr, true, 0666 & ~mask},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(pub);
        fs::create_directory(pub);
        ASSERT_EQ(::chmod(pub.c_str(), 0777), 0);
        if (row.before != nullptr) {
            put(pub / "export.txt", row.before);
            ASSERT_EQ(::chmod((pub / "export.txt").c_str(), row.after), 0);
        }
        const int folder = ::open(pub.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(folder, 0);
        ASSERT_GE(::inotify_add_watch(watch, pub.c_str(), IN_CREATE), 0);
        std::vector<Made> made;
        fs::path temporary;
        // Looked at while the temporary file is written, when all that was made for it stands.
        auto write = [&](DataFile& f) {
            readMade(watch, folder, made);
            temporary = fs::read_symlink(f.getPathName().data());
            return f.write(String("exported"));
        };
        DataFile file(name(pub / "export.txt"), DataFile::readWrite, false);
        ASSERT_TRUE(row.mustBeNew ? file.makeContents(write) : file.replaceContents(write));
        readMade(watch, folder, made);
        ::close(watch);
        ::close(folder);
#ifndef ZELVANE_FILEIO_LINUX
        // Without a rename that refuses to replace, a file that must be new is put in place by a
        // second link, made under the file's own name.
        if (row.mustBeNew && !made.empty() && made.back().name == "export.txt") {
            made.pop_back();
        }
#endif
        ASSERT_EQ(made.size(), 1u) << "one entry made in the folder";
        EXPECT_TRUE(S_ISDIR(made[0].mode));
        EXPECT_EQ(made[0].mode & 07777, 0700u);
        EXPECT_EQ(made[0].owner, ::geteuid());
        EXPECT_EQ(temporary.parent_path(), pub / made[0].name) << "the temporary file lies in it";
        EXPECT_EQ(get(pub / "export.txt"), "exported");
        EXPECT_EQ(modeOf(pub / "export.txt"), row.after);
        std::vector<std::string> left;
        for (auto const& entry : fs::directory_iterator(pub)) {
            left.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(left, std::vector<std::string>{"export.txt"});
    }
    fs::remove_all(pub);
}

TEST_F(FileWriteRulesTest, AnotherUserRacingForTheTemporaryFileNeverHasItsFileTakenForThePlayers) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's process needs root, to become that user";
    }
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const fs::path pub = path("pub");
    fs::create_directory(pub);
    ASSERT_EQ(::chmod(pub.c_str(), 0777), 0);
    put(pub / "export.txt", "player's first");
    const int folder = ::open(pub.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(folder, 0);
    ASSERT_GE(::inotify_add_watch(watch, pub.c_str(), IN_CREATE), 0);
    int go[2];
    int ready[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other user: every entry made for the player's write is renamed away, and a file of
        // theirs, or a folder of theirs holding one under the file's name, is put in its place. Only
        // system calls from here, in a process forked from one that may have threads.
        ::close(go[1]);
        ::close(ready[0]);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(other, other, other) != 0 ||
            ::setresuid(other, other, other) != 0) {
            ::_exit(2);
        }
        ::write(ready[1], "r", 1);
        const char prefix[] = ".export.txt.";
        alignas(inotify_event) char events[4096];
        for (int attempt = 0; attempt < 1000;) {
            pollfd waiting[2] = {{watch, POLLIN, 0}, {go[0], POLLIN, 0}};
            if (::poll(waiting, 2, 2000) <= 0 || waiting[1].revents != 0) {
                break;
            }
            const ssize_t got = ::read(watch, events, sizeof events);
            for (ssize_t at = 0; at < got; ++attempt) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                if (event->len == 0 || ::strncmp(event->name, prefix, sizeof prefix - 1) != 0) {
                    continue;
                }
                char moved[] = "moved-0000";
                for (int digit = 9, left = attempt; digit > 5; --digit, left /= 10) {
                    moved[digit] = char('0' + left % 10);
                }
                ::renameat(folder, event->name, folder, moved);
                const int theirs = ::openat(folder, "theirs", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                ::write(theirs, "theirs", 6);
                ::close(theirs);
                if (attempt % 2 == 0) {
                    ::renameat(folder, "theirs", folder, event->name);
                } else if (::mkdirat(folder, event->name, 0777) == 0) {
                    const int inside = ::openat(folder, event->name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                    ::renameat(folder, "theirs", inside, "export.txt");
                    ::close(inside);
                }
            }
        }
        ::_exit(0);
    }
    ::close(go[0]);
    ::close(ready[1]);
    char started = 0;
    ASSERT_EQ(::read(ready[0], &started, 1), 1) << "the other user's process did not start";
    std::string last = "player's first";
    for (int i = 0; i < 40; ++i) {
        const std::string content = "player's " + std::to_string(i);
        DataFile file(name(pub / "export.txt"), DataFile::readWrite, false);
        // A write may fail, where the other user put a folder under the name of the one made
        // for it before it was taken; it never writes anything else.
        if (file.replaceContents(String(content.c_str()))) {
            last = content;
        }
        struct stat info {};
        ASSERT_EQ(::lstat((pub / "export.txt").c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, ::geteuid()) << "the player's file stays the player's";
        EXPECT_EQ(get(pub / "export.txt"), last);
    }
    ::close(go[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(ready[0]);
    ::close(watch);
    ::close(folder);
    // The other user may have won every race; with no one racing, the write goes through.
    DataFile alone(name(pub / "export.txt"), DataFile::readWrite, false);
    EXPECT_TRUE(alone.replaceContents(String("player's last")));
    EXPECT_EQ(get(pub / "export.txt"), "player's last");
    // Each of the other user's files holds what that user wrote into it.
    for (auto const& entry : fs::recursive_directory_iterator(pub)) {
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == other) {
            EXPECT_EQ(get(entry.path()), "theirs") << entry.path();
        }
    }
    fs::remove_all(pub);
}

TEST_F(FileWriteRulesTest, AFolderTakenForThePlayersFilesIsAskedAgainWhereEachUseHoldsIt) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's folder needs root, to give one away";
    }
    const uid_t other = 4242;
    // The player's folder, taken by its name where all may write, and exchanged after the look for
    // another user's folder open to all, holding a file and a folder of the player's.
    struct Use {
        const char* name;
        bool taken; // the folder is taken for the player's files after the look
        std::function<bool(Directory const& folder)> run;
        const char* made; // where the use was let through, what it made in the other user's folder
    };
    auto written = [](Directory const& folder, bool fresh) {
        DataFile file(folder, String("file.xml"), DataFile::readWrite, false);
        auto write = [](DataFile& target) { return target.write(String("new")); };
        const bool done = fresh ? file.makeContents(write) : file.replaceContents(write);
        EXPECT_EQ(file.isFolderRefused(), !done);
        return done;
    };
    const std::vector<Use> uses = {
        {"a file replaced", true, [&](Directory const& folder) { return written(folder, false); }, nullptr},
        {"a file made", true, [&](Directory const& folder) { return written(folder, true); }, nullptr},
        {"an empty file made", true,
         [](Directory const& folder) {
             DataFile file(folder, String("empty.xml"), DataFile::readWrite, true);
             EXPECT_EQ(file.getLastError(), file.exists() ? NoError : ErrPermission);
             return file.exists();
         },
         nullptr},
        {"the player's file read", true,
         [](Directory const& folder) {
             DataFile file(folder, String("mine.xml"), DataFile::readOnly, false);
             const bool read = file.open(DataFile::readOnly);
             file.close();
             return read;
         },
         nullptr},
        {"a folder made", true,
         [](Directory const& folder) {
             Directory made(folder, String("made"), true);
             EXPECT_EQ(made.isFolderRefused(), !made.exists());
             return made.exists();
         },
         nullptr},
        {"a file written in the player's folder in it", true,
         [](Directory const& folder) {
             Directory sub(folder, String("sub"), false);
             return DataFile(sub, String("file.xml"), DataFile::readWrite, false)
                 .replaceContents(String("new"));
         },
         nullptr},
        {"a file made beside a file, in the folder it names as its own", true,
         [](Directory const& folder) {
             DataFile file(folder, String("mine.xml"), DataFile::readOnly, false);
             const std::unique_ptr<Directory> parent(file.getParent());
             return DataFile(*parent, String("beside.xml"), DataFile::readWrite, true).exists();
         },
         nullptr},
        {"the player's file erased", true,
         [](Directory const& folder) {
             return DataFile(folder, String("mine.xml"), DataFile::readWrite, false).erase();
         },
         nullptr},
        {"the player's file renamed", true,
         [](Directory const& folder) {
             DataFile file(folder, String("mine.xml"), DataFile::readWrite, false);
             const bool renamed = file.setName(String("renamed.xml"));
             EXPECT_EQ(file.isFolderRefused(), !renamed);
             return renamed;
         },
         nullptr},
        {"the player's file given every user's access", true,
         [&](Directory const& folder) {
             DataFile(folder, String("mine.xml"), DataFile::readWrite, false).allowFullAccess();
             return (fs::status(path("prefs/taken/mine.xml")).permissions() & fs::perms::others_write) !=
                    fs::perms::none;
         },
         nullptr},
        // A folder not taken for the player's files is whoever's the system lets it be.
        {"a file replaced, the folder not taken", false,
         [&](Directory const& folder) { return written(folder, false); }, "file.xml"},
    };
    for (Use const& use : uses) {
        SCOPED_TRACE(use.name);
        fs::remove_all(path("prefs"));
        fs::create_directories(path("prefs/taken"));
        fs::permissions(path("prefs"), fs::perms::all);
        Directory folder(text("prefs/taken"), false);
        ASSERT_FALSE(folder.whyNotPlayers()) << "the look finds the player's folder";
        if (use.taken) {
            folder.takeForPlayer();
        }
        fs::rename(path("prefs/taken"), path("prefs/moved"));
        fs::create_directories(path("prefs/taken/sub"));
        put(path("prefs/taken/mine.xml"), "mine");
        fs::permissions(path("prefs/taken/mine.xml"), fs::perms(0644));
        ASSERT_EQ(::chown(path("prefs/taken").c_str(), other, other), 0);
        fs::permissions(path("prefs/taken"), fs::perms::all);
        EXPECT_EQ(use.run(folder), use.made != nullptr);
        std::vector<std::string> theirs;
        for (auto const& entry : fs::recursive_directory_iterator(path("prefs/taken"))) {
            theirs.push_back(entry.path().lexically_relative(path("prefs/taken")).string());
        }
        std::sort(theirs.begin(), theirs.end());
        std::vector<std::string> before = {"mine.xml", "sub"};
        if (use.made != nullptr) {
            before.push_back(use.made);
            std::sort(before.begin(), before.end());
        }
        EXPECT_EQ(theirs, before) << "nothing of the player's lands in the other user's folder";
        EXPECT_TRUE(fs::is_empty(path("prefs/moved")));
    }
    fs::remove_all(path("prefs"));
}
