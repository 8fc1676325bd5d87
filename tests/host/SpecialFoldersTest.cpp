#include "ACAPI/SpecialFolders.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "IO/FileSystem.hpp"
#include "IO/Location.hpp"
#include "MacOS/Folders.hpp"
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

// Another user's folder at a special folder's name, in a sandbox only the player may write (put
// there while it was open to others), holds none of the player's files: every part of the host
// that takes one refuses it.
TEST(SpecialFoldersTest, AnotherUsersSpecialFolderIsRefusedWhereverItStands) {
    namespace fs = std::filesystem;
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    const fs::path root = sim::sandboxRoot();
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to give the special folders to user " << other;
    }
    ::chmod(root.c_str(), 0755);
    for (const std::string_view name : sim::specialFolderNames) {
        const fs::path folder = root / std::string(name);
        fs::create_directory(folder);
        ASSERT_EQ(::chown(folder.c_str(), other, other), 0);
        ::chmod(folder.c_str(), 0777);
    }
    IO::Location location;
    EXPECT_EQ(IO::fileSystem.GetSpecialLocation(IO::FileSystem::UserPreferencesFolder, &location),
              ErrPermission);
    API_SpecFolderID documents = API_UserDocumentsFolderID;
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetSpecFolderID, &documents, &location), APIERR_GENERAL);
    FSRef ref;
    EXPECT_EQ(FSFindFolder(kOnAppropriateDisk, kPreferencesFolderType, true, &ref), fnfErr);
    API_LibPart part{};
    part.typeID = APILib_ObjectID;
    part.docu_UName[0] = 'P';
    EXPECT_EQ(ACAPI_LibPart_Create(&part), APIERR_GENERAL);
    EXPECT_EQ(sim::installApplication("Viewer"), fs::path());
    EXPECT_EQ(sim::specialFolder("Settings"), fs::path());
    EXPECT_FALSE(fs::exists("Viewer.app")) << "made in the working folder";
    for (const std::string_view name : sim::specialFolderNames) {
        EXPECT_TRUE(fs::is_empty(root / std::string(name))) << name;
        fs::remove(root / std::string(name));
    }
    ::chmod(root.c_str(), 0700);
}
