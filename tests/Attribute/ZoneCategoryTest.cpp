#include "Attribute/ZoneCategory.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "GSRoot/BM.hpp"
#include "Library/Library.h"
#include "sim/Attributes.h"
#include "sim/Library.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>

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

TEST_F(ZoneCategoryTest, AStoredCategoryKeepsItsStampAndParameters) {
    Specification* spec = host.getFrontSpec();
    ZoneCategory category;
    category.setName("office");
    category.setCode(String("OFF"));
    category.setStampName(String("Zone Stamp"));
    category.getParameter(String("fontSize"))->setValueText("18");
    ASSERT_TRUE(spec->put(category));
    const API_AttributeIndex index = category.getIndex();

    struct Step {
        const char* name;
        const char* fontSize; // written before the put, nullptr for the first read
    };
    const Step steps[] = {{"created", nullptr}, {"changed", "24"}, {"changed again", "9"}};
    std::string expected = "18";
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.fontSize != nullptr) {
            ZoneCategory stored{AttributeLink(index, ZoneCategory::ID, spec)};
            stored.getParameter(String("fontSize"))->setValueText(step.fontSize);
            ASSERT_TRUE(spec->put(stored));
            expected = step.fontSize;
        }
        const sim::AttributeExtra* extra = sim::attributeExtra(API_ZoneCatID, index);
        ASSERT_NE(extra, nullptr);
        ASSERT_EQ(extra->params.size(), 2u);
        EXPECT_STREQ(extra->params[1].record.name, "fontSize");
        EXPECT_EQ(std::to_string(int(extra->params[1].record.value.real)), expected);

        ZoneCategory read{AttributeLink(index, ZoneCategory::ID, spec)};
        EXPECT_EQ(read.getStampName(), "Zone Stamp");
        EXPECT_EQ(read.getCode(), "OFF");
        ASSERT_EQ(read.sizeParameters(), 2u);
        EXPECT_EQ(read.getParameter(String("fontSize"))->getValueText(), expected.c_str());
    }

    // A category without a stamp stores no parameters and reads none back.
    ZoneCategory bare;
    bare.setName("store");
    ASSERT_TRUE(spec->put(bare));
    EXPECT_TRUE(sim::attributeExtra(API_ZoneCatID, bare.getIndex())->params.empty());
    EXPECT_EQ(ZoneCategory(AttributeLink(bare.getIndex(), ZoneCategory::ID, spec)).sizeParameters(), 0u);
}

TEST_F(ZoneCategoryTest, TheHostRefusesMalformedStampParametersAndKeepsWhatItHad) {
    Specification* spec = host.getFrontSpec();
    ZoneCategory category;
    category.setName("office");
    category.setStampName(String("Zone Stamp"));
    ASSERT_TRUE(spec->put(category));

    API_Attribute record = *sim::attribute(API_ZoneCatID, category.getIndex());
    API_AttributeDefExt defs{};
    // Part of a record: no whole parameters.
    defs.params =
        reinterpret_cast<API_AddParType**>(BMAllocateHandle(GSSize(sizeof(API_AddParType) + 3), 0, 0));
    EXPECT_EQ(ACAPI_Attribute_ModifyExt(&record, &defs), APIERR_BADPARS);
    API_Attribute other = sim::makeAttribute(API_ZoneCatID, "store");
    EXPECT_EQ(ACAPI_Attribute_CreateExt(&other, &defs), APIERR_BADPARS);
    BMKillHandle(reinterpret_cast<GSHandle*>(&defs.params));
    EXPECT_EQ(sim::liveAttributes(API_ZoneCatID), 1u);
    EXPECT_EQ(sim::attributeExtra(API_ZoneCatID, category.getIndex())->params.size(), 2u);

    // No memory for the parameters on the way out: the read fails and leaves nothing behind.
    API_AttributeDefExt out{};
    sim::failNextAllocations(1);
    EXPECT_EQ(ACAPI_Attribute_GetDefExt(API_ZoneCatID, category.getIndex(), &out), APIERR_MEMFULL);
    EXPECT_EQ(out.params, nullptr);
    ASSERT_EQ(ACAPI_Attribute_GetDefExt(API_ZoneCatID, category.getIndex(), &out), NoError);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSHandle>(out.params)), GSSize(2 * sizeof(API_AddParType)));
    ACAPI_DisposeAttrDefsHdlsExt(&out);
}
