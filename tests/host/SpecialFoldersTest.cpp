#include "ACAPI/SpecialFolders.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "IO/FileSystem.hpp"
#include "IO/Location.hpp"
#include "MacOS/CoreFoundation.hpp"
#include "MacOS/Folders.hpp"
#include "Nodes.h"
#include "fileio/FileError.h"
#include "sim/Platform.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

TEST(SpecialFoldersTest, EnvironmentAnswersTheHostFolders) {
    struct Case {
        API_SpecFolderID id;
        const char* folder;
    };
    for (Case c : {Case{API_UserDocumentsFolderID, "Documents"}, Case{API_TemporaryFolderID, "Temp"},
                   Case{API_ApplicationFolderID, "Application"}}) {
        IO::Location location;
        ASSERT_EQ(ACAPI_Environment(APIEnv_GetSpecFolderID, &c.id, &location), NoError);
        std::string path;
        ASSERT_EQ(location.ToPath(&path), NoError);
        EXPECT_EQ(path, sim::specialFolder(c.folder).string());
    }
    IO::Location location;
    API_SpecFolderID unknown = 3;
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetSpecFolderID, &unknown, &location), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetSpecFolderID, nullptr, &location), APIERR_BADPARS);
    EXPECT_TRUE(location.IsEmpty());
    API_SpecFolderID temp = API_TemporaryFolderID;
    sim::failCall("ACAPI_Environment:GSPF", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetSpecFolderID, &temp, &location), APIERR_GENERAL);
}

namespace {

namespace fs = std::filesystem;

// Closes the sandbox root to others again, however the test ends.
struct ClosedRoot {
    fs::path root;
    ~ClosedRoot() { ::chmod(root.c_str(), 0700); }
};

// What stands at each special folder's name.
enum class AtName { Folder, Link, File, Fifo };

// Puts an entry of `kind` owned by `owner` at each special folder's name in `root`: a folder open
// to all, a link to the folder `target`, a file or a FIFO.
void putAtNames(const fs::path& root, AtName kind, uid_t owner, const fs::path& target) {
    for (const std::string_view name : sim::specialFolderNames) {
        const fs::path at = root / std::string(name);
        if (kind == AtName::Folder) {
            fs::create_directory(at);
            ASSERT_EQ(::chown(at.c_str(), owner, owner), 0);
            ::chmod(at.c_str(), 0777);
        } else if (kind == AtName::Link) {
            fs::create_directory_symlink(target, at);
            ASSERT_EQ(::lchown(at.c_str(), owner, owner), 0);
        } else {
            ASSERT_TRUE(makeNode(at, kind == AtName::File ? NodeKind::File : NodeKind::Fifo, 0666, owner));
        }
    }
}

// Takes each special folder through every part of the host that takes one, and checks that each
// is refused with `why`, and that nothing was made in the working folder. The system and the file
// system answer a permission error for another user's entry (afpAccessDenied, ErrPermission) and for
// a way other users may change (permErr, ErrPermission), not found for any other.
void checkRefused(std::error_code why) {
    for (const std::string_view name : sim::specialFolderNames) {
        std::error_code error;
        EXPECT_EQ(sim::specialFolder(name, error), fs::path()) << name;
        EXPECT_EQ(error, why) << name;
    }
    const bool theirs = why == fileio::FileError::notPlayersFolder;
    const bool exposed = why == fileio::FileError::exposedWay;
    IO::Location location;
    EXPECT_EQ(IO::fileSystem.GetSpecialLocation(IO::FileSystem::UserPreferencesFolder, &location),
              theirs || exposed ? ErrPermission : ErrNotFound);
    API_SpecFolderID documents = API_UserDocumentsFolderID;
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetSpecFolderID, &documents, &location), APIERR_GENERAL);
    FSRef ref;
    EXPECT_EQ(FSFindFolder(kOnAppropriateDisk, kPreferencesFolderType, true, &ref), theirs ? afpAccessDenied
                                                                                    : exposed ? permErr
                                                                                              : fnfErr);
    API_LibPart part{};
    part.typeID = APILib_ObjectID;
    part.docu_UName[0] = 'P';
    EXPECT_EQ(ACAPI_LibPart_Create(&part), APIERR_GENERAL);
    EXPECT_EQ(sim::installApplication("Viewer"), fs::path());
    EXPECT_EQ(sim::settingsFile("com.zelvane.test"), fs::path());
    const CFStringRef application =
        CFStringCreateWithCString(kCFAllocatorDefault, "com.zelvane.test", kCFStringEncodingUTF8);
    CFPreferencesSetAppValue(application, application, application);
    EXPECT_FALSE(CFPreferencesAppSynchronize(application));
    CFRelease(application);
    EXPECT_FALSE(fs::exists("Viewer.app")) << "made in the working folder";
    EXPECT_FALSE(fs::exists(".lock")) << "made in the working folder";
}

// Removes what putAtNames put, checking that nothing was made in it.
void removeAtNames(const fs::path& root) {
    for (const std::string_view name : sim::specialFolderNames) {
        const fs::path at = root / std::string(name);
        if (fs::is_directory(fs::symlink_status(at))) {
            EXPECT_TRUE(fs::is_empty(at)) << name;
        }
        fs::remove(at);
    }
}

} // namespace

// Another user's entry at a special folder's name (a folder, a link to their folder or to one of
// the player's, a file, a FIFO), in a sandbox only the player may write (put there while it was
// open to others), holds none of the player's files, and nor does the player's link whose way
// passes through another user's folder: every part of the host that takes one refuses it, the
// system with a permission error.
TEST(SpecialFoldersTest, AnotherUsersEntryAtASpecialFolderOrOnItsWayIsRefused) {
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const fs::path root = sim::sandboxRoot();
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to give the special folders to user " << other;
    }
    ::chmod(root.c_str(), 0755);
    const ClosedRoot closed{root};
    const fs::path theirs = root / "theirs";
    const fs::path mine = root / "mine";
    const fs::path inTheirs = theirs / "mine";
    fs::create_directory(theirs);
    fs::create_directory(mine);
    ASSERT_EQ(::chown(theirs.c_str(), other, other), 0);
    ::chmod(theirs.c_str(), 0777);
    struct Row {
        AtName kind;
        uid_t owner;
        fs::path target; // of a link, the folder left empty
        fileio::FileError why;
    };
    for (const Row& row : {Row{AtName::Folder, other, theirs, fileio::FileError::notPlayersFolder},
                           Row{AtName::Link, other, theirs, fileio::FileError::notPlayersFolder},
                           Row{AtName::Link, other, mine, fileio::FileError::notPlayersFolder},
                           Row{AtName::Link, ::geteuid(), theirs, fileio::FileError::notPlayersFolder},
                           Row{AtName::Link, ::geteuid(), inTheirs, fileio::FileError::exposedWay},
                           Row{AtName::File, other, theirs, fileio::FileError::notPlayersFolder},
                           Row{AtName::Fifo, other, theirs, fileio::FileError::notPlayersFolder}}) {
        SCOPED_TRACE(std::to_string(int(row.kind)) + " of user " + std::to_string(row.owner) + " to " +
                     row.target.string());
        fs::create_directory(inTheirs);
        putAtNames(root, row.kind, row.owner, row.target);
        checkRefused(row.why);
        removeAtNames(root);
        EXPECT_TRUE(fs::is_empty(inTheirs));
        fs::remove(inTheirs);
        EXPECT_TRUE(fs::is_empty(theirs));
        EXPECT_TRUE(fs::is_empty(mine));
    }
    fs::remove(theirs);
    fs::remove(mine);
}

// The host holds a folder at a special folder's name, or where the player's own link there leads
// inside the sandbox, through folders in which no other user may rename entries: the player's own
// file at the name is not taken, nor a link leading out, nor one through a folder open to all, and
// nothing is made through it.
TEST(SpecialFoldersTest, ThePlayersLinkIsFollowedInsideTheSandboxOnly) {
    const fs::path root = sim::sandboxRoot();
    const fs::path inside = root / "target";
    const fs::path outside = root.string() + "-outside";
    const fs::path open = root / "open";
    fs::create_directory(inside);
    fs::create_directory(outside);
    fs::create_directories(open / "target");
    ::chmod(open.c_str(), 0777);
    struct Row {
        AtName kind;
        fs::path target;
        std::error_code why;
    };
    for (const Row& row : {Row{AtName::File, inside, std::make_error_code(std::errc::not_a_directory)},
                           Row{AtName::Link, outside, std::make_error_code(std::errc::permission_denied)},
                           Row{AtName::Link, open / "target", fileio::FileError::exposedWay}}) {
        SCOPED_TRACE(row.target.string());
        putAtNames(root, row.kind, ::geteuid(), row.target);
        checkRefused(row.why);
        removeAtNames(root);
        EXPECT_TRUE(fs::is_empty(row.target));
    }
    putAtNames(root, AtName::Link, ::geteuid(), inside);
    for (const std::string_view name : sim::specialFolderNames) {
        std::error_code error;
        EXPECT_EQ(sim::specialFolder(name, error), root / std::string(name)) << name;
        EXPECT_FALSE(error) << name << ": " << error.message();
    }
    removeAtNames(root);
    fs::remove(inside);
    fs::remove(outside);
    fs::remove_all(open);
}
