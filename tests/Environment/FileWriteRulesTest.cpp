// The rules every writer of a whole file follows, the framework's and the simulated host's alike:
// what a replaced file keeps, which links are followed, which files are kept, and that no write
// waits on a FIFO.
#include "Environment/DataFile.h"
#include "FileFixture.h"
#include "sim/ReplaceFile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
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
    for (Writer const& writer : writers()) {
        for (Row const& row : rows) {
            SCOPED_TRACE(std::string(writer.name) + " over mode " + std::to_string(row.before));
            fs::remove(path("kept"));
            put(path("kept"), "old");
            const bool givenAway = privileged && (row.before & S_IWOTH) != 0;
            ASSERT_TRUE(!givenAway || ::chown(path("kept").c_str(), 1234, 1234) == 0);
            ASSERT_EQ(::chmod(path("kept").c_str(), row.before), 0);
            ASSERT_TRUE(writer.write(path("kept"), "new"));
            EXPECT_EQ(get(path("kept")), "new");
            EXPECT_EQ(modeOf(path("kept")), row.after);
            struct stat info {};
            ASSERT_EQ(::stat(path("kept").c_str(), &info), 0);
            EXPECT_TRUE(!givenAway || (info.st_uid == 1234 && info.st_gid == 1234));
            EXPECT_EQ(hidden(), std::vector<std::string>{});
        }
    }
}

TEST_F(FileWriteRulesTest, ALinkAnotherUserMayHavePutIsNotFollowed) {
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
    const Row rows[] = {
        {"the player's link, where others may write", 0777, player, player, true},
        {"root's link, where others may write", 0777, player, 0, true},
        {"another's link, where only the player may write", 0755, player, 4242, true},
        {"another's link, where others may write", 0777, player, 4242, false},
        {"another's link, in a sticky folder", 01777, player, 4242, false},
        {"another's link, where the group may write", 0775, player, 4242, false},
        {"another's link, in another's folder", 0755, 4242, 4242, false},
    };
    const bool privileged = ::geteuid() == 0;
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
        if (!privileged && (row.folderOwner != player || row.linkOwner != player)) {
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

TEST_F(FileWriteRulesTest, AFileItsUserMayNotWriteIsKeptAndNoWriteWaitsOnAFifo) {
    struct Row {
        const char* name;
        mode_t mode; // of the file, or S_IFIFO for a FIFO
        bool reader; // a FIFO's
        bool written;
        GSErrCode error;       // the framework's
        uid_t owner = 0;       // another user's file; 0 for the player's
        uid_t stickyOwner = 0; // the file lies in a sticky folder of this user's
    };
    const uid_t other = 4242;
    const Row rows[] = {
        {"the player's file", 0644, false, true, NoError},
        {"made read-only", 0444, false, false, ErrPermission},
        {"open to no one", 0000, false, false, ErrPermission},
        {"another user's", 0644, false, false, ErrPermission, other},
        {"another user's that all may write", 0666, false, true, NoError, other},
        {"another user's in a sticky folder of a third's", 0666, false, false, ErrPermission, other,
         other + 1},
        {"a FIFO with a reader", S_IFIFO | 0600, true, true, NoError},
        {"a FIFO without a reader", S_IFIFO | 0600, false, false, ErrIO},
    };
    bool skipped = false;
    for (Writer const& writer : writers()) {
        for (Row const& row : rows) {
            SCOPED_TRACE(std::string(writer.name) + ": " + row.name);
            // A FIFO is written in place, which sim::replaceFile alone never does.
            if (S_ISFIFO(row.mode) && writer.name == std::string("sim::replaceFile")) {
                continue;
            }
            // Only root gives a file or folder to another user.
            if ((row.owner != 0 || row.stickyOwner != 0) && ::geteuid() != 0) {
                skipped = true;
                continue;
            }
            const fs::path folder = row.stickyOwner != 0 ? path("sticky") : m_dir;
            const fs::path file = folder / "prefs.xml";
            fs::create_directories(folder);
            if (row.stickyOwner != 0) {
                ASSERT_EQ(::chown(folder.c_str(), row.stickyOwner, row.stickyOwner), 0);
                ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);
            }
            int reader = -1;
            if (S_ISFIFO(row.mode)) {
                ASSERT_EQ(::mkfifo(file.c_str(), row.mode & 0777), 0);
                reader = row.reader ? ::open(file.c_str(), O_RDONLY | O_NONBLOCK) : -1;
            } else {
                put(file, "old");
                ASSERT_EQ(::chmod(file.c_str(), row.mode), 0);
                ASSERT_TRUE(row.owner == 0 || ::chown(file.c_str(), row.owner, row.owner) == 0);
            }
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
            DataFile framework(name(file), DataFile::readWrite, false);
            const bool written = writer.name == std::string("DataFile::replaceContents")
                                     ? framework.replaceContents(String("new"))
                                     : writer.write(file, "new");
            returned.set_value();
            rescue.join();
            EXPECT_EQ(written, row.written);
            if (S_ISFIFO(row.mode)) {
                char received[8] = {};
                EXPECT_EQ(reader >= 0 ? ::read(reader, received, sizeof received) : 0, row.written ? 3 : 0);
                EXPECT_TRUE(fs::is_fifo(file));
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
            if (writer.name == std::string("DataFile::replaceContents")) {
                EXPECT_EQ(framework.getLastError(), row.error);
                // Erased neither: the file is its user's to keep.
                if (!S_ISFIFO(row.mode)) {
                    EXPECT_EQ(framework.erase(), row.written);
                    EXPECT_EQ(fs::exists(file), !row.written);
                }
            }
            EXPECT_EQ(hidden(), std::vector<std::string>{}) << "no temporary file left";
            fs::remove_all(row.stickyOwner != 0 ? folder : file);
        }
    }
    if (skipped) {
        GTEST_SKIP() << "the rows of another user's file need root, to give one away";
    }
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
