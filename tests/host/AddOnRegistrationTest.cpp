#include "ACAPI/AddOnRegistration.hpp"
#include "GSRoot/BM.hpp"
#include "sim/AddOns.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<API_MenuItemRef> menuCalls;
std::vector<API_NotifyEventID> notifications;
std::vector<sim::AddOnID> notifiedAddOns;

GSErrCode menuHandler(const API_MenuParams* params) {
    menuCalls.push_back(params->menuItemRef);
    return NoError;
}

GSErrCode commandHandler(GSHandle, GSPtr result, bool silent) {
    *reinterpret_cast<Int32*>(result) = silent ? 2 : 1;
    return NoError;
}

GSErrCode projectHandler(API_NotifyEventID id, Int32) {
    notifications.push_back(id);
    notifiedAddOns.push_back(sim::currentAddOn().id);
    return NoError;
}

// Keeps the original and to-merge data back to back in the destination.
GSErrCode mergeHandler(API_MDSetCmd, const char*, const API_ModulData* original, const API_ModulData* toMerge,
                       API_ModulData* dest) {
    GSSize a = original != nullptr ? BMGetHandleSize(original->dataHdl) : 0;
    GSSize b = toMerge != nullptr ? BMGetHandleSize(toMerge->dataHdl) : 0;
    dest->dataVersion = 7;
    dest->platformSign = 19789;
    dest->dataHdl = BMAllocateHandle(a + b, 0, 0);
    if (a > 0) {
        std::memcpy(*dest->dataHdl, *original->dataHdl, a);
    }
    if (b > 0) {
        std::memcpy(*dest->dataHdl + a, *toMerge->dataHdl, b);
    }
    return NoError;
}

class AddOnRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        menuCalls.clear();
        notifications.clear();
        notifiedAddOns.clear();
    }
};

} // namespace

TEST_F(AddOnRegistrationTest, MenuMustBeRegisteredAndInstalledBeforeItRuns) {
    EXPECT_EQ(sim::selectMenuItem(32500, 1), APIERR_MENUNOTREGISTERED);
    EXPECT_EQ(ACAPI_Install_MenuHandler(32500, menuHandler), APIERR_MENUNOTREGISTERED);
    ASSERT_EQ(ACAPI_Register_Menu(32500, 32501, MenuCode_Tools, 0), NoError);
    EXPECT_EQ(ACAPI_Register_Menu(32500, 32501, MenuCode_Tools, 0), APIERR_ALREADYREGISTERED);
    EXPECT_EQ(sim::selectMenuItem(32500, 1), APIERR_MODULNOTINSTALLED);
    ASSERT_EQ(ACAPI_Install_MenuHandler(32500, menuHandler), NoError);
    EXPECT_EQ(sim::selectMenuItem(32500, 3), NoError);
    ASSERT_EQ(menuCalls.size(), 1u);
    EXPECT_EQ(menuCalls[0].menuResID, 32500);
    EXPECT_EQ(menuCalls[0].itemIndex, 3);

    const sim::AddOn& addOn = sim::currentAddOn();
    ASSERT_EQ(addOn.menus.size(), 1u);
    EXPECT_EQ(addOn.menus[0].promptResID, 32501);
    EXPECT_EQ(addOn.menus[0].menuCode, MenuCode_Tools);

    sim::failCall("ACAPI_Register_Menu", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Register_Menu(32600, 0, MenuCode_Tools, 0), APIERR_GENERAL);
    EXPECT_EQ(sim::currentAddOn().menus.size(), 1u);
}

TEST_F(AddOnRegistrationTest, CommandsAreCalledInTheirAddOnByCommandAndVersion) {
    sim::AddOnID other{1, 2};
    sim::setCurrentAddOn(other);
    ASSERT_EQ(ACAPI_Register_SupportedService(MakeGSType("GSUP"), 2), NoError);
    EXPECT_EQ(ACAPI_Install_ModulCommandHandler(MakeGSType("GSUP"), 3, commandHandler),
              APIERR_MODULCMDNOTSUPPORTED);
    ASSERT_EQ(ACAPI_Install_ModulCommandHandler(MakeGSType("GSUP"), 2, commandHandler), NoError);
    sim::setCurrentAddOn(sim::defaultAddOn);

    API_ModulID mdid{1, 2};
    Int32 result = 0;
    EXPECT_EQ(
        ACAPI_Command_Call(&mdid, MakeGSType("GSUP"), 1, nullptr, reinterpret_cast<GSPtr>(&result), true),
        NoError);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(
        ACAPI_Command_Call(&mdid, MakeGSType("GSUP"), 3, nullptr, reinterpret_cast<GSPtr>(&result), false),
        APIERR_MODULCMDVERSNOTSUPPORTED);
    EXPECT_EQ(ACAPI_Command_Call(&mdid, MakeGSType("XXXX"), 1, nullptr, nullptr, false),
              APIERR_MODULCMDNOTSUPPORTED);
    API_ModulID missing{9, 9};
    EXPECT_EQ(ACAPI_Command_Call(&missing, MakeGSType("GSUP"), 1, nullptr, nullptr, false),
              APIERR_MODULNOTINSTALLED);
    EXPECT_EQ(ACAPI_Command_Call(nullptr, MakeGSType("GSUP"), 1, nullptr, nullptr, false), APIERR_BADPARS);
}

TEST_F(AddOnRegistrationTest, ProjectNotificationsFollowEachAddOnsMask) {
    ASSERT_EQ(ACAPI_Notify_CatchProjectEvent(APINotify_Open | APINotify_Close, projectHandler), NoError);
    sim::setCurrentAddOn(sim::AddOnID{3, 4});
    ASSERT_EQ(ACAPI_Notify_CatchProjectEvent(APINotify_Close, projectHandler), NoError);
    sim::setCurrentAddOn(sim::defaultAddOn);

    EXPECT_EQ(sim::notifyProject(APINotify_Open), NoError);
    EXPECT_EQ(sim::notifyProject(APINotify_Save), NoError);
    EXPECT_EQ(sim::notifyProject(APINotify_Close), NoError);
    EXPECT_EQ(notifications,
              (std::vector<API_NotifyEventID>{APINotify_Open, APINotify_Close, APINotify_Close}));
    ASSERT_EQ(notifiedAddOns.size(), 3u);
    EXPECT_EQ(notifiedAddOns[1], sim::defaultAddOn);
    EXPECT_EQ(notifiedAddOns[2], (sim::AddOnID{3, 4}));

    ASSERT_EQ(ACAPI_Notify_CatchProjectEvent(0, projectHandler), NoError);
    EXPECT_EQ(sim::currentAddOn().projectHandler, nullptr);
}

TEST_F(AddOnRegistrationTest, MergeRunsTheInstalledHandlerWithThreeRecords) {
    EXPECT_EQ(ACAPI_Install_ModulDataMergeHandler(mergeHandler), APIERR_GENERAL);
    ASSERT_EQ(ACAPI_Register_ModulDataHandler(), NoError);
    ASSERT_EQ(ACAPI_Install_ModulDataMergeHandler(mergeHandler), NoError);
    ASSERT_EQ(ACAPI_KeepInMemory(true), NoError);
    EXPECT_TRUE(sim::currentAddOn().keepInMemory);

    sim::ModuleDataRecord original{{'a', 'b'}, 1, 19789};
    sim::ModuleDataRecord toMerge{{'c'}, 1, 19789};
    sim::ModuleDataRecord dest;
    ASSERT_EQ(sim::mergeModuleData(sim::defaultAddOn, APIMDSetMerge_TW, "", &original, &toMerge, &dest),
              NoError);
    EXPECT_EQ(dest.bytes, (std::vector<char>{'a', 'b', 'c'}));
    EXPECT_EQ(dest.version, 7);
    ASSERT_EQ(sim::mergeModuleData(sim::defaultAddOn, APIMDSetMerge_TW, "", nullptr, &toMerge, &dest),
              NoError);
    EXPECT_EQ(dest.bytes, (std::vector<char>{'c'}));
    EXPECT_EQ(sim::mergeModuleData(sim::AddOnID{8, 8}, APIMDSetMerge_TW, "", nullptr, nullptr, &dest),
              APIERR_MODULNOTINSTALLED);
}

TEST_F(AddOnRegistrationTest, ResetLeavesOnlyTheDefaultAddOn) {
    sim::loadAddOn(sim::AddOnID{5, 5});
    ACAPI_Register_ModulDataHandler();
    sim::reset();
    EXPECT_EQ(sim::findAddOn(sim::AddOnID{5, 5}), nullptr);
    EXPECT_EQ(sim::currentAddOn().id, sim::defaultAddOn);
    EXPECT_FALSE(sim::currentAddOn().moduleDataHandlerRegistered);
}
