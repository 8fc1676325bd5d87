// The rules every writer of a whole file follows, the framework's and the simulated host's alike:
// what a replaced file keeps, which links are followed, which files are kept, and that no write
// waits on a FIFO.
#include "Environment/DataFile.h"
#include "FileFixture.h"
#include "sim/ReplaceFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
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
};

TEST_F(FileWriteRulesTest, ReplacedContentKeepsTheModeAndOwnerButNoSetIDOrStickyBit) {
    using Write = std::function<bool(fs::path const&, std::string const&)>;
    struct Writer {
        const char* name;
        Write write;
    };
    const Writer writers[] = {
        {"DataFile::replaceContents",
         [](fs::path const& p, std::string const& text) {
             return DataFile(name(p), DataFile::readWrite, false).replaceContents(String(text.c_str()));
         }},
        {"sim::replaceFile",
         [](fs::path const& p, std::string const& text) { return !sim::replaceFile(p, text); }},
        {"sim::writeFile",
         [](fs::path const& p, std::string const& text) { return !sim::writeFile(p, text); }},
    };
    struct Row {
        mode_t before, after;
    };
    const Row rows[] = {{0600, 0600},  {0640, 0640},  {0777, 0777}, {04755, 0755},
                        {02750, 0750}, {06711, 0711}, {01666, 0666}};
    // Where the process may give files away, the owner stays too.
    const bool privileged = ::geteuid() == 0;
    for (Writer const& writer : writers) {
        for (Row const& row : rows) {
            SCOPED_TRACE(std::string(writer.name) + " over mode " + std::to_string(row.before));
            put(path("kept"), "old");
            ASSERT_TRUE(!privileged || ::chown(path("kept").c_str(), 1234, 1234) == 0);
            ASSERT_EQ(::chmod(path("kept").c_str(), row.before), 0);
            ASSERT_TRUE(writer.write(path("kept"), "new"));
            EXPECT_EQ(get(path("kept")), "new");
            EXPECT_EQ(modeOf(path("kept")), row.after);
            struct stat info {};
            ASSERT_EQ(::stat(path("kept").c_str(), &info), 0);
            EXPECT_TRUE(!privileged || (info.st_uid == 1234 && info.st_gid == 1234));
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
    for (Row const& row : rows) {
        // Only root makes a file or a link another user's.
        if (!privileged && (row.folderOwner != player || row.linkOwner != player)) {
            continue;
        }
        for (Use const& use : uses) {
            SCOPED_TRACE(std::string(row.name) + ": " + use.name);
            fs::remove_all(m_dir);
            fs::create_directories(path("shared"));
            put(path("private"), "secret");
            ASSERT_EQ(::chmod(path("private").c_str(), 0600), 0);
            fs::create_symlink("../private", path("shared/prefs.xml"));
            if (row.linkOwner != player) {
                ASSERT_EQ(::lchown(path("shared/prefs.xml").c_str(), row.linkOwner, row.linkOwner), 0);
            }
            if (row.folderOwner != player) {
                ASSERT_EQ(::chown(path("shared").c_str(), row.folderOwner, row.folderOwner), 0);
            }
            ASSERT_EQ(::chmod(path("shared").c_str(), row.folder), 0);
            DataFile file(text("shared/prefs.xml"), DataFile::readWrite, false);
            bool done = use.run(file);
            file.close();
            if (std::string(use.name) != "open to all") {
                EXPECT_EQ(done, row.followed);
                EXPECT_EQ(file.getLastError(), row.followed ? NoError : ErrPermission);
            }
            EXPECT_TRUE(fs::is_symlink(path("shared/prefs.xml"))) << "the link stays";
            const bool changed = row.followed && std::string(use.name) != "read";
            EXPECT_EQ(fs::exists(path("private")), !changed || std::string(use.name) != "erase");
            if (fs::exists(path("private"))) {
                EXPECT_EQ(get(path("private")),
                          changed && std::string(use.name) == "replace" ? "planted" : "secret");
                EXPECT_EQ(modeOf(path("private")),
                          changed && std::string(use.name) == "open to all" ? 0777 : 0600);
            }
            EXPECT_EQ(hidden(), std::vector<std::string>{});
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
        GSErrCode error;
    };
    const Row rows[] = {
        {"the player's file", 0644, false, true, NoError},
        {"made read-only", 0444, false, false, ErrPermission},
        {"a FIFO with a reader", S_IFIFO | 0600, true, true, NoError},
        {"a FIFO without a reader", S_IFIFO | 0600, false, false, ErrIO},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.name);
        int reader = -1;
        if (S_ISFIFO(row.mode)) {
            ASSERT_EQ(::mkfifo(path("prefs.xml").c_str(), row.mode & 0777), 0);
            reader = row.reader ? ::open(path("prefs.xml").c_str(), O_RDONLY | O_NONBLOCK) : -1;
        } else {
            put(path("prefs.xml"), "old");
            ASSERT_EQ(::chmod(path("prefs.xml").c_str(), row.mode), 0);
        }
        DataFile file(text("prefs.xml"), DataFile::readWrite, false);
        // A write that waits for a reader is given one after a while and fails the test, instead of
        // hanging it.
        std::promise<void> returned;
        std::thread rescue([this, waited = returned.get_future()] {
            if (waited.wait_for(std::chrono::seconds(3)) == std::future_status::timeout) {
                int late = ::open(path("prefs.xml").c_str(), O_RDONLY | O_NONBLOCK);
                char drained[64];
                while (late >= 0 && ::fcntl(late, F_SETFL, 0) == 0 &&
                       ::read(late, drained, sizeof drained) > 0) {
                }
                ::close(late);
            }
        });
        const bool written = file.replaceContents(String("new"));
        returned.set_value();
        rescue.join();
        EXPECT_EQ(written, row.written);
        EXPECT_EQ(file.getLastError(), row.error);
        if (S_ISFIFO(row.mode)) {
            char received[8] = {};
            EXPECT_EQ(reader >= 0 ? ::read(reader, received, sizeof received) : 0, row.written ? 3 : 0);
            EXPECT_TRUE(fs::is_fifo(path("prefs.xml")));
            if (reader >= 0) {
                ::close(reader);
            }
        } else {
            EXPECT_EQ(get(path("prefs.xml")), row.written ? "new" : "old");
            EXPECT_EQ(modeOf(path("prefs.xml")), row.mode);
            // Erased neither: the file is the user's to keep.
            EXPECT_EQ(file.erase(), row.written);
            EXPECT_EQ(fs::exists(path("prefs.xml")), !row.written);
        }
        EXPECT_EQ(hidden(), std::vector<std::string>{}) << "no temporary file left";
        fs::remove(path("prefs.xml"));
    }
}

} // namespace
