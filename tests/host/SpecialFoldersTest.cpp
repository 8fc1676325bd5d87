#include "ACAPI/SpecialFolders.hpp"
#include "IO/Location.hpp"
#include "sim/Sim.h"

#include <gtest/gtest.h>

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
