#include "Attribute/ZoneCategory.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "sim/Attributes.h"
#include "sim/Library.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

class ZoneCategoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Library::startup();
        Specification::startup();
        sim::openProject();
        sim::LibPartDef stamp;
        stamp.type = APILib_RoomID;
        stamp.name = "Zone Stamp";
        stamp.ownID = "{00000000-0000-0000-0000-000000000011}-{00000000-0000-0000-0000-000000000001}";
        stamp.parameters = {sim::scalarParameter(APIParT_Length, "A", 1.0),
                            sim::scalarParameter(APIParT_Integer, "fontSize", 12)};
        sim::addLibPart(stamp);
    }
    void TearDown() override {
        Specification::shutdown();
        Library::shutdown();
    }
};

} // namespace

TEST_F(ZoneCategoryTest, TheStampNameTakesThePartsParameters) {
    ZoneCategory category;
    category.setName("office");
    category.setStampName(String("Zone Stamp"));
    EXPECT_TRUE(category.getStamp().isValid());
    EXPECT_TRUE(category.isLoaded());
    ASSERT_EQ(category.sizeParameters(), 2u);
    EXPECT_NE(category.getParameter(String("fontSize")), nullptr);

    category.setStampName(String("No Such Stamp"));
    EXPECT_FALSE(category.getStamp().isValid());
    EXPECT_EQ(category.loadLibraryMemo(), nullptr);
    EXPECT_EQ(category.sizeParameters(), 0u); // the old stamp's parameters are gone
}

TEST_F(ZoneCategoryTest, AnUnstoredCategoryReadsItsStampsDefaults) {
    ZoneCategory category;
    category.setStampName(String("Zone Stamp"));
    category.deleteAllParameters();
    category.setLoaded(false);
    EXPECT_EQ(category.sizeParameters(), 2u); // fetched again from the stamp part
    ZoneCategory bare;
    EXPECT_EQ(bare.sizeParameters(), 0u); // no stamp: loaded empty
    EXPECT_TRUE(bare.isLoaded());

    // Stored, the category writes its parameters with it.
    category.setName("office");
    Specification* spec = host.getFrontSpec();
    ASSERT_TRUE(spec->put(category));
    EXPECT_EQ(category.getIndex(), 1);
    EXPECT_EQ(sim::liveAttributes(API_ZoneCatID), 1u);
}
