// The rules every writer of a whole file follows, the framework's and the simulated host's alike.
#include "Environment/DataFile.h"
#include "FileFixture.h"
#include "sim/ReplaceFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
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

} // namespace
