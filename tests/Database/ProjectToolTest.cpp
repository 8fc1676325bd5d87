#include "ACAPI/Attributes.hpp"
#include "Attribute/City.h"
#include "Attribute/Layer.h"
#include "Attribute/LayerCombination.h"
#include "Attribute/LayerMap.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Database/StoreyLink.h"
#include "Environment/Host.h"
#include "sim/AddOns.h"
#include "sim/Attributes.h"
#include "sim/Dialogs.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/ProjectNotes.h"
#include "sim/Resources.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"
#include "sim/Toolbox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

class ProjectToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        ASSERT_TRUE(
            sim::loadResources(sim::defaultAddOn, std::string(ZELVANE_RESOURCE_DIR) + "/zelvane.json"));
        Specification::startup();
        host.reset();
        project = host.getProject();
    }
    void TearDown() override {
        host.reset();
        Specification::shutdown();
    }

    // The object tool's default layer: a new layer with the flags.
    short toolLayer(GSFlags flags) {
        short index = sim::addAttribute(sim::makeAttribute(API_LayerID, "Furniture", flags));
        API_Element defaults;
        defaults.header.typeID = API_ObjectID;
        defaults.header.layer = index;
        sim::setDefaults(defaults);
        return index;
    }

    Project* project = nullptr;
    ElementLink tool{element_id(API_ObjectID), 0};
};

} // namespace

TEST_F(ProjectToolTest, UsableLayersNeedNoQuestion) {
    toolLayer(0);
    EXPECT_TRUE(project->confirmToolStatus(tool, false));
    EXPECT_TRUE(sim::alerts().empty());
    sim::failCall("ACAPI_Element_GetDefaults", APIERR_GENERAL);
    EXPECT_FALSE(project->confirmToolStatus(tool, false));
}

TEST_F(ProjectToolTest, SilentChecksNeverAsk) {
    for (GSFlags flags : {APILay_Locked, APILay_Hidden, GSFlags(0x4)}) {
        toolLayer(flags);
        EXPECT_FALSE(project->confirmToolStatus(tool, true)) << flags;
    }
    API_Element defaults;
    defaults.header.typeID = API_ObjectID;
    defaults.header.layer = 99; // no such layer
    sim::setDefaults(defaults);
    EXPECT_FALSE(project->confirmToolStatus(tool, true));
    EXPECT_TRUE(sim::alerts().empty());
}

TEST_F(ProjectToolTest, TheThirdButtonAnswersWhetherTheLayerCouldBeFixed) {
    short locked = toolLayer(APILay_Locked);
    sim::queueAlertAnswer(3);
    EXPECT_TRUE(project->confirmToolStatus(tool, false));
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].title, "Tool Layer");
    EXPECT_EQ(sim::alerts()[0].largeText, "The layer \"Furniture\" of this tool is locked.");
    EXPECT_EQ(sim::alerts()[0].buttons[2], "Unlock Layer");
    EXPECT_EQ(sim::attribute(API_LayerID, locked)->header.flags & APILay_Locked, 0u);

    toolLayer(APILay_Hidden);
    sim::queueAlertAnswer(3);
    sim::failCall("ACAPI_Attribute_ModifyExt", APIERR_GENERAL);
    EXPECT_FALSE(project->confirmToolStatus(tool, false));
    EXPECT_EQ(sim::alerts().back().buttons[2], "Show Layer");
}

TEST_F(ProjectToolTest, SettingsThenCancel) {
    toolLayer(0x4); // reserved: no third button
    sim::queueAlertAnswer(1);
    sim::queueSettingsDialog(true);
    sim::queueAlertAnswer(2);
    EXPECT_FALSE(project->confirmToolStatus(tool, false));
    ASSERT_EQ(sim::alerts().size(), 2u);
    EXPECT_EQ(sim::alerts()[0].largeText,
              "The layer \"Furniture\" of this tool is reserved by another team member.");
    EXPECT_EQ(sim::alerts()[0].buttons[2], "");
    // Settings the user cancels end the check.
    sim::queueAlertAnswer(1);
    EXPECT_FALSE(project->confirmToolStatus(tool, false));
    EXPECT_EQ(sim::alerts().size(), 3u);
}

TEST_F(ProjectToolTest, OnlyLayersHaveALockableSet) {
    EXPECT_FALSE(project->reserveAttribute(Layer::ID)); // not shared
    sim::setTeamwork(true, 5, {}, true);
    sim::setLockableSet("LayerSettingsDialog", true, true, 1);
    EXPECT_FALSE(project->reserveAttribute(City::ID));
    EXPECT_FALSE(project->releaseAttribute(Layer::ID)); // free: nothing to release
    EXPECT_TRUE(project->reserveAttribute(Layer::ID));
    EXPECT_EQ(sim::lockableStatus("LayerSettingsDialog"), 2);
    EXPECT_FALSE(project->reserveAttribute(Layer::ID));
    EXPECT_TRUE(project->releaseAttribute(Layer::ID));
    sim::setLockableSet("LayerSettingsDialog", true, false, 1);
    EXPECT_FALSE(project->reserveAttribute(Layer::ID)); // no right to modify
}

TEST_F(ProjectToolTest, CityOfThePlace) {
    EXPECT_EQ(project->getCity(), nullptr); // no place
    sim::setPlace(API_PlaceInfo{14.0, 50.0, 0, 0, 60});
    sim::setProjectNotes({"", "Praha", "", ""});
    std::unique_ptr<City> city(project->getCity());
    ASSERT_NE(city, nullptr);
    EXPECT_EQ(city->getName(), "Praha");
    EXPECT_DOUBLE_EQ(city->getLatitude(), 50.0);
    EXPECT_EQ(city->getTimeZone(), 60);
}

TEST_F(ProjectToolTest, ActiveLayerCombinationAndItsMap) {
    EXPECT_EQ(project->getActiveLayerCombo(), nullptr);
    std::unique_ptr<LayerMap> shown(project->getActiveLayerMap());
    ASSERT_NE(shown, nullptr); // a map all the same

    short walls = sim::addAttribute(sim::makeAttribute(API_LayerID, "Walls"));
    sim::addAttribute(sim::makeAttribute(API_LayerID, "Doors"));
    sim::AttributeExtra extra;
    extra.layerStats = {API_LayerStat{API_AttributeIndex(walls), Int16(APILay_Hidden), 3}};
    API_Attribute combination = sim::makeAttribute(API_LayerCombID, "Plans");
    combination.layerComb.lNumb = 1;
    short index = sim::addAttribute(combination, extra);
    sim::setCurrentLayerCombination(index);
    std::unique_ptr<LayerCombination> active(project->getActiveLayerCombo());
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->getName(), "Plans");
    std::unique_ptr<LayerMap> map(project->getActiveLayerMap());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->getStatusFor(attribute_index(walls)).getConnectionID(), 3);
}

TEST(StoreyLinkTest, VisibilityAndHomeStorey) {
    StoreyLink link(2, 1, true);
    API_StoryVisibility visibility = link;
    EXPECT_TRUE(visibility.showOnHome);
    EXPECT_TRUE(visibility.showAllAbove);
    EXPECT_TRUE(visibility.showAllBelow);
    EXPECT_EQ(visibility.showRelAbove, 2);
    EXPECT_EQ(visibility.showRelBelow, 1);
    EXPECT_FALSE(StoreyLink(0, 0, false).isOnAllAbove());

    API_LinkToSettings linkTo;
    linkTo.homeStoryOffset = -1;
    linkTo.fixedHomeStory = true;
    visibility.showOnHome = false;
    StoreyLink read(visibility, linkTo);
    EXPECT_FALSE(read.isOnHome());
    EXPECT_EQ(read.getHomeOffset(), -1);
    API_LinkToSettings back = read;
    EXPECT_TRUE(back.fixedHomeStory);
    EXPECT_EQ(back.homeStoryOffset, -1);
}
