#include "sim/TemporaryFolder.h"
#include "fileio/FileError.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Sets TMPDIR or ZELVANE_HOST_ROOT (unsets it for nullptr) and answers what it was.
std::optional<std::string> setVariable(const char* name, const char* value) {
    std::optional<std::string> kept;
    if (const char* now = std::getenv(name)) {
        kept = now;
    }
    value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    return kept;
}

// What TemporaryFolder::defaultParent() answers with TMPDIR set so, or the message it throws.
std::string parentOrRefusal(const char* tmpdir) {
    const std::optional<std::string> kept = setVariable("TMPDIR", tmpdir);
    std::string answer;
    try {
        answer = sim::TemporaryFolder::defaultParent().string();
    } catch (const std::exception& error) {
        answer = error.what();
    }
    setVariable("TMPDIR", kept ? kept->c_str() : nullptr);
    return answer;
}

const uid_t self = ::geteuid();
// A user other than this process's, whoever runs the tests.
const uid_t other = self != 4242 ? 4242 : 4243;

} // namespace

namespace {

// A folder on the way to TMPDIR.
struct Folder {
    const char* name; // in the one before, the first in the base
    mode_t mode;
    uid_t owner;
};
struct ParentCase {
    std::vector<Folder> folders; // TMPDIR is the last
    const char* renamable;       // the folder refused, nullptr when TMPDIR is taken
    const char* why = "";
};
const char* const written = "any user may write in it and it is not sticky";
const std::string owned = "it belongs to user " + std::to_string(other);

// The folder the cases of TMPDIR are made in, new; empty where another user may rename entries
// above it, which no case then shows.
fs::path tmpdirBase() {
    const fs::path base = sim::specialFolder("Temp") / "tmpdirs";
    fs::remove_all(base);
    fs::create_directories(base / "own");
    fs::create_directory(base / "links");
    EXPECT_EQ(::chmod((base / "own").c_str(), 0700), 0);
    EXPECT_EQ(::chmod((base / "links").c_str(), 01777), 0);
    return parentOrRefusal(base.c_str()) == base.string() ? base : fs::path();
}

// Makes the folders of the case in `base`, and checks what TMPDIR naming the last comes to.
void checkParent(const fs::path& base, const ParentCase& c) {
    fs::path tmpdir = base;
    for (const Folder& folder : c.folders) {
        tmpdir /= folder.name;
        fs::create_directory(tmpdir);
        ASSERT_EQ(::chown(tmpdir.c_str(), folder.owner, folder.owner), 0);
        ASSERT_EQ(::chmod(tmpdir.c_str(), folder.mode), 0);
    }
    EXPECT_EQ(parentOrRefusal(tmpdir.c_str()), c.renamable == nullptr
                                                   ? tmpdir.string()
                                                   : "TMPDIR \"" + tmpdir.string() +
                                                         "\": another user may rename entries in \"" +
                                                         (base / c.renamable).string() + "\": " + c.why);
}

// A link of `owner`'s on the way, followed as the file layer follows one: another user's in a
// folder any user may write is not, the folder it leads to being theirs to choose.
void checkLink(const fs::path& base, uid_t owner) {
    const fs::path link = base / "links" / std::to_string(owner);
    fs::create_directory_symlink(base / "own", link);
    ASSERT_EQ(::lchown(link.c_str(), owner, owner), 0);
    EXPECT_EQ(parentOrRefusal(link.c_str()),
              owner == self ? (base / "own").string()
                            : "TMPDIR \"" + link.string() +
                                  "\": " + make_error_code(fileio::FileError::linkNotFollowed).message());
}

} // namespace

TEST(TemporaryFolderTest, ATemporaryFolderIsNeverWhereAnotherUserMayRenameIt) {
    const fs::path base = tmpdirBase();
    if (base.empty()) {
        GTEST_SKIP() << "another user may rename entries above the test's folder";
    }
    const ParentCase cases[] = {
        {{{"mine", 0700, self}}, nullptr},
        {{{"sticky", 01777, self}}, nullptr},
        {{{"world", 0777, self}}, "world", written},
        {{{"group", 0770, self}}, "group", "its group may write in it and it is not sticky"},
        {{{"world-above", 0777, self}, {"mine", 0700, self}}, "world-above", written},
    };
    for (const ParentCase& c : cases) {
        checkParent(base, c);
    }
    checkLink(base, self);

    // An empty TMPDIR is /tmp; a relative one is taken from the working folder.
    EXPECT_EQ(parentOrRefusal(""), fs::canonical("/tmp").string());
    EXPECT_EQ(parentOrRefusal(fs::relative(base / "own", fs::current_path()).c_str()),
              (base / "own").string());
}

TEST(TemporaryFolderTest, ATemporaryFolderIsNeverWhereAnotherUsersFolderOrLinkLeads) {
    if (self != 0) {
        GTEST_SKIP() << "another user's folders and links need root, to give them away";
    }
    const fs::path base = tmpdirBase();
    if (base.empty()) {
        GTEST_SKIP() << "another user may rename entries above the test's folder";
    }
    const ParentCase cases[] = {
        {{{"sticky-root", 01777, 0}}, nullptr},
        {{{"sticky-above", 01777, 0}, {"mine", 0700, self}}, nullptr},
        {{{"sticky-other", 01777, other}}, "sticky-other", owned.c_str()},
        {{{"other-above", 0755, other}, {"mine", 0700, self}}, "other-above", owned.c_str()},
        {{{"root", 01777, 0}, {"theirs", 0755, other}, {"mine", 0700, self}}, "root/theirs", owned.c_str()},
    };
    for (const ParentCase& c : cases) {
        checkParent(base, c);
    }
    checkLink(base, other);
}

TEST(TemporaryFolderTest, OnlyTheFolderMadeIsRemoved) {
    const fs::path base = sim::specialFolder("Temp") / "made";
    fs::remove_all(base);
    fs::create_directories(base / "players");
    std::ofstream(base / "players" / "keep.xml") << "kept";

    // Each folder is new and open to its owner only.
    sim::TemporaryFolder first(base, "t\x85-");
    sim::TemporaryFolder second(base, "t\x85-");
    EXPECT_NE(first.path(), second.path());
    EXPECT_EQ(second.remove(), "");
    EXPECT_EQ(first.path().parent_path(), base);
    EXPECT_EQ(first.path().filename().string().rfind("t\x85-", 0), 0u);
    EXPECT_EQ(fs::status(first.path()).permissions(), fs::perms::owner_all);

    // It goes with what it holds, a link as a link: what the link leads to stays.
    fs::create_directories(first.path() / "Preferences" / "deep");
    std::ofstream(first.path() / "Preferences" / "deep" / "a.xml") << "a";
    fs::create_directory_symlink(base / "players", first.path() / "Preferences" / "out");
    fs::create_symlink(base / "players" / "keep.xml", first.path() / "keep-link");
    EXPECT_EQ(first.remove(), "");
    EXPECT_FALSE(fs::exists(first.path()));

    // A folder exchanged with the one made, as a user who may rename entries of its parent could,
    // one holding a file of the player's or an empty one: the one made is emptied wherever it lies
    // now, the other left as it is, and the folder named.
    for (const char* swapped : {"players", "empty"}) {
        SCOPED_TRACE(swapped);
        fs::create_directories(base / swapped);
        sim::TemporaryFolder made(base, "t\x85-");
        std::ofstream(made.path() / "played.txt") << "x";
        fs::rename(made.path(), base / "moved");
        fs::rename(base / swapped, made.path());
        const std::string name = made.path().filename().string();
        EXPECT_EQ(made.remove(), "cannot remove the temporary folder \"" + base.string() + "/t\\x85-" +
                                     name.substr(3) +
                                     "\": " + make_error_code(fileio::FileError::changed).message());
        EXPECT_TRUE(fs::is_directory(made.path()));
        EXPECT_EQ(fs::exists(made.path() / "keep.xml"), swapped == std::string("players"));
        EXPECT_TRUE(fs::is_empty(base / "moved"));
        fs::rename(made.path(), base / swapped);
        fs::remove(base / "moved");
    }
    fs::remove_all(base);
}

TEST(TemporaryFolderTest, AProgramNamingNoRootHasANewFolderOfItsOwn) {
    // The test's own, in the program's, in the root named if any.
    const fs::path root = sim::sandboxRoot();
    const char* const named = std::getenv("ZELVANE_HOST_ROOT");
    EXPECT_EQ(root.parent_path().parent_path(),
              named != nullptr && *named != '\0' ? fs::path(named) : sim::TemporaryFolder::defaultParent());
    EXPECT_EQ(fs::status(root).permissions(), fs::perms::owner_all);

    // A relative root is taken from the working folder once, as it is read.
    const fs::path base = sim::specialFolder("Temp") / "roots";
    fs::create_directories(base / "tmpdir");
    const fs::path working = fs::current_path();
    fs::current_path(base);
    const std::optional<std::string> kept = setVariable("ZELVANE_HOST_ROOT", "relative");
    sim::setSandboxRoot({});
    const fs::path relative = sim::sandboxRoot();
    fs::current_path(working);
    const fs::path documents = sim::specialFolder("Documents");
    setVariable("ZELVANE_HOST_ROOT", kept ? kept->c_str() : nullptr);
    sim::setSandboxRoot(root);
    EXPECT_EQ(relative, base / "relative");
    EXPECT_EQ(documents, base / "relative" / "Documents");

    // The host's own, when none is named, open to its user only and removed as the program ends,
    // by the program that made it: not by a child of it that ends first.
    const fs::path tmpdir = base / "tmpdir";
    EXPECT_EXIT(
        {
            setVariable("TMPDIR", tmpdir.c_str());
            setVariable("ZELVANE_HOST_ROOT", nullptr);
            sim::setSandboxRoot({});
            const fs::path own = sim::sandboxRoot();
            std::ofstream(sim::specialFolder("Preferences") / "a.xml") << "a";
            const pid_t child = ::fork();
            if (child == 0) {
                std::exit(0);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            std::cerr << own.lexically_relative(tmpdir).string() << " " << std::oct
                      << int(fs::status(own).permissions()) << " "
                      << (fs::exists(own / "Preferences" / "a.xml") ? "kept" : "gone");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^zelvane-host-[0-9a-f]{16} 700 kept$");
    EXPECT_TRUE(fs::is_empty(tmpdir));
}

namespace {

// What becomes of the sandbox during a play.
enum Change { Kept, Moved, Replaced, Linked, Removed, Theirs, OpenWay };
struct SandboxCase {
    const char* name;
    Change change;
    bool inPlace;
    bool madeAtName;    // whether a special folder is then found at the sandbox's name
    bool madeElsewhere; // in the folder moved away
};

// Plays the case in a sandbox of the test's folder, and checks where the host finds it after.
void checkSandbox(const SandboxCase& c) {
    SCOPED_TRACE(c.name);
    const fs::path root = sim::sandboxRoot();
    const fs::path base = sim::specialFolder("Temp") / "moved";
    const fs::path played = base / "sandbox";
    const fs::path elsewhere = base / "elsewhere";
    fs::remove_all(base);
    fs::create_directories(played);
    sim::setSandboxRoot(played);
    EXPECT_TRUE(sim::sandboxInPlace());
    if (c.change == Moved || c.change == Replaced || c.change == Linked) {
        fs::rename(played, elsewhere);
    }
    if (c.change == Replaced) {
        fs::create_directory(played);
    } else if (c.change == Linked) {
        fs::create_directory_symlink(elsewhere, played);
    } else if (c.change == Removed) {
        fs::remove(played);
    } else if (c.change == Theirs) {
        fs::create_directory(played / "Preferences");
        fs::permissions(played, fs::perms::all);
        EXPECT_EQ(::chown((played / "Preferences").c_str(), other, other), 0);
    } else if (c.change == OpenWay) {
        // The player's link, into a folder of the player's in which any user may rename entries.
        fs::create_directory(played / "open");
        fs::permissions(played / "open", fs::perms::all);
        fs::create_directory_symlink("open/preferences", played / "Preferences");
    }
    EXPECT_EQ(sim::sandboxInPlace(), c.inPlace);
    // No path for a folder not taken: another user's, one whose way others may change, or none
    // made in a removed sandbox.
    const bool taken = c.change != Theirs && c.change != Removed && c.change != OpenWay;
    EXPECT_EQ(sim::specialFolder("Preferences"), taken ? played / "Preferences" : fs::path());
    EXPECT_EQ(fs::is_directory(played / "Preferences"), c.madeAtName);
    EXPECT_EQ(fs::is_directory(elsewhere / "Preferences"), c.madeElsewhere);
    EXPECT_EQ(fs::exists(played), c.change != Moved && c.change != Removed);
    sim::setSandboxRoot(root);
    fs::remove_all(base);
}

} // namespace

TEST(TemporaryFolderTest, ASandboxMovedAwayIsNeitherMadeAgainNorTakenAsInPlace) {
    const SandboxCase cases[] = {
        {"kept", Kept, true, true, false},
        {"moved away", Moved, false, false, true},
        {"moved away, another folder made at its name", Replaced, false, false, true},
        {"moved away, a link to it put at its name", Linked, true, true, true},
        {"removed", Removed, false, false, false},
        {"the player's link put at a special folder's name, into a folder open to all", OpenWay, true, false,
         false},
    };
    for (const SandboxCase& c : cases) {
        checkSandbox(c);
    }
}

TEST(TemporaryFolderTest, AnotherUsersFolderPutInTheSandboxIsNotTaken) {
    if (self != 0) {
        GTEST_SKIP() << "another user's folder needs root, to give it to user " << other;
    }
    // Another user's folder at its name, in a sandbox others may write, is refused.
    checkSandbox({"another user's folder put at a special folder's name", Theirs, true, true, false});
}
