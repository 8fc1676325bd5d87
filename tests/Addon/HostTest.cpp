#include "Environment/Host.h"
#include "ACAPI/AddOnRegistration.hpp"
#include "ACAPI/MenuItems.hpp"
#include "ACAPI/Output.hpp"
#include "ACAPI/Toolbox.hpp"
#include "Database/ElementLink.h"
#include "Database/Project.h"
#include "Database/User.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/MemoryBlock.h"
#include "sim/AddOns.h"
#include "sim/Display.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Resources.h"
#include "sim/Sim.h"
#include "sim/Toolbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

using namespace zelvane;

namespace {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { host.reset(); }
    void TearDown() override { host.reset(); }
};

} // namespace

TEST(HostTypeTest, NamesReadAndWrite) {
    struct Case {
        UInt32 id;
        const char* name;
    };
    for (const Case& c : {Case{0, "All"}, Case{1, "ArchiCAD"}, Case{2, "Vectorworks"}, Case{3, "Revit"}}) {
        HostType type(c.id);
        String text;
        EXPECT_TRUE(type.write(text)) << c.name;
        EXPECT_EQ(text, c.name);
        HostType read(7);
        EXPECT_TRUE(read.read(String(c.name)));
        EXPECT_EQ(read.getID(), c.id);
    }
    HostType unknown(9);
    String text("x");
    EXPECT_FALSE(unknown.write(text));
    EXPECT_TRUE(text.empty());

    HostType wrongCase(2);
    EXPECT_FALSE(wrongCase.isRead());
    EXPECT_FALSE(wrongCase.read(String("archicad")));
    EXPECT_EQ(wrongCase.getID(), 2u);
    EXPECT_TRUE(wrongCase.isRead());

    HostType tagged(3, "app", true);
    EXPECT_STREQ(tagged.getTag(), "app");
    EXPECT_TRUE(tagged.isAttribute());
    tagged.setDefault();
    EXPECT_EQ(tagged.getID(), HostType::defaultID);
    EXPECT_STREQ(tagged.getTag(), "host");
    EXPECT_TRUE(HostType(1, "a") == HostType(1, "b"));
}

TEST(PlatformSignatureTest, OrderNameAndFields) {
    PlatformSignature ac20(HostType(1), 20), ac21(HostType(1), 21), vw1(HostType(2), 1);
    EXPECT_TRUE(ac20 < ac21);
    EXPECT_FALSE(ac21 < ac20);
    EXPECT_TRUE(ac21 < vw1);
    EXPECT_FALSE(ac21 < ac21);
    EXPECT_TRUE(ac21 == PlatformSignature(HostType(1, "other"), 21));
    EXPECT_TRUE(ac21 != ac20);
    EXPECT_EQ(ac21.getName(), "ArchiCAD 21");
    EXPECT_STREQ(ac21.getTag(), "signature");
    EXPECT_STREQ(PlatformSignature(HostType(1), 21, "target").getTag(), "target");

    std::unique_ptr<PlatformSignature> copy(ac21.clone());
    EXPECT_TRUE(*copy == ac21);
    copy->setDefault();
    EXPECT_EQ(copy->getHost().getID(), HostType::allID);
    EXPECT_EQ(copy->getVersion(), 0);

    // "All" and version 0 are not written; the version is an attribute.
    std::unique_ptr<Shipping> hostField(copy->getShipping(0, false));
    std::unique_ptr<Shipping> versionField(copy->getShipping(1, true));
    ASSERT_NE(hostField, nullptr);
    ASSERT_NE(versionField, nullptr);
    EXPECT_FALSE(hostField->isEssential());
    EXPECT_FALSE(versionField->isEssential());
    EXPECT_TRUE(dynamic_cast<XMLUnit&>(*versionField).isAttribute());
    EXPECT_EQ(copy->getShipping(2, false), nullptr);

    std::unique_ptr<Shipping> byTag(ac21.getShipping(String("version"), String()));
    ASSERT_NE(byTag, nullptr);
    EXPECT_TRUE(byTag->isEssential());
    EXPECT_TRUE(byTag->read(String("22")));
    EXPECT_EQ(ac21.getVersion(), 22);
    std::unique_ptr<Shipping> hostByTag(ac21.getShipping(String("host"), String()));
    ASSERT_NE(hostByTag, nullptr);
    EXPECT_TRUE(hostByTag->read(String("Revit")));
    EXPECT_EQ(ac21.getHost().getID(), 3u);
    EXPECT_EQ(ac21.getShipping(String("Host"), String()), nullptr);
}

TEST_F(HostTest, ProjectExistsOnlyWhileOneIsOpen) {
    EXPECT_FALSE(host.isProjectOpen());
    EXPECT_EQ(host.getProject(), nullptr);
    sim::openProject();
    EXPECT_TRUE(host.isProjectOpen());
    Project* project = host.getProject();
    ASSERT_NE(project, nullptr);
    host.reset();
    EXPECT_EQ(host.getProject(), project) << "the project is kept for the facade's life";
    // Any other host error still counts as an open project.
    sim::failCall("ACAPI_Environment:PROJ", APIERR_GENERAL);
    EXPECT_TRUE(host.isProjectOpen());
    sim::closeProject();
    EXPECT_EQ(host.getProject(), nullptr);
}

TEST_F(HostTest, AHeldProjectCountsAsOpenWithoutAskingTheHost) {
    EXPECT_FALSE(host.holdOpenProject()) << "no project, no hold";
    sim::closeProject();
    EXPECT_FALSE(host.isProjectOpen()) << "nothing was held";
    sim::openProject();
    ASSERT_TRUE(host.holdOpenProject());
    ASSERT_TRUE(host.holdOpenProject());
    std::size_t asked = sim::callCount("ACAPI_Environment");
    EXPECT_TRUE(host.isProjectOpen());
    EXPECT_NE(host.getProject(), nullptr);
    EXPECT_EQ(sim::callCount("ACAPI_Environment"), asked);
    sim::closeProject();
    host.releaseOpenProject();
    EXPECT_TRUE(host.isProjectOpen()) << "one hold is left";
    host.releaseOpenProject();
    EXPECT_FALSE(host.isProjectOpen());
    EXPECT_GT(sim::callCount("ACAPI_Environment"), asked);
    host.releaseOpenProject(); // one release too many changes nothing
    EXPECT_FALSE(host.isProjectOpen());
}

TEST_F(HostTest, UserOfTheTeam) {
    sim::openProject("/nowhere/House.pln");
    const User* user = host.getUser();
    ASSERT_NE(user, nullptr);
    EXPECT_TRUE(user->getName().empty());
    EXPECT_EQ(user->getID(), 0);
    EXPECT_EQ(host.getUser(), user) << "cached within one entry";
    host.reset();

    // Two members share an ID: the search runs from the last member.
    sim::setTeamwork(true, 7, {{"ann", "Ann A", 3}, {"bob", "Bob B", 7}, {"bea", "Bea B", 7}});
    user = host.getUser();
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->getName(), "bea");
    EXPECT_EQ(user->getText(), "Bea B");
    EXPECT_EQ(user->getID(), 7);
    EXPECT_EQ(host.getProject()->getTeamSize(), 3u);
    EXPECT_EQ(host.getProject()->getTeamMember(3), nullptr);

    // A member ID nobody has, or a failed team request, gives the empty user.
    host.reset();
    sim::setTeamwork(true, 9, {{"ann", "Ann A", 3}});
    EXPECT_EQ(host.getUser()->getID(), 0);
    host.reset();
    sim::setTeamwork(true, 3, {{"ann", "Ann A", 3}});
    sim::failCall("ACAPI_Environment:SHAR", APIERR_GENERAL);
    EXPECT_TRUE(host.getUser()->getName().empty());
    EXPECT_EQ(host.getProject()->getTeamSize(), 0u) << "a failed read is kept for the entry";
    host.reset();
    EXPECT_EQ(host.getUser()->getName(), "ann");

    // Not connected: no team is read.
    host.reset();
    sim::setTeamwork(true, 3, {{"ann", "Ann A", 3}}, false);
    EXPECT_FALSE(host.getProject()->isShared());
    EXPECT_EQ(host.getUser()->getID(), 0);
}

TEST_F(HostTest, MenuItemFlagsChangeOnlyWhenNeeded) {
    sim::currentAddOn().menus.push_back(sim::MenuRegistration{32500, 0, MenuCode_Tools, 0, nullptr});
    host.setMenuEnabled(32500, 2, false);
    EXPECT_EQ(sim::menuItemFlags(32500, 2), API_MenuItemDisabled);
    sim::clearCalls();
    host.setMenuEnabled(32500, 2, false);
    EXPECT_EQ(sim::callCount("ACAPI_Interface"), 1u) << "only the flags are read";
    host.setMenuChecked(32500, 2, true);
    EXPECT_EQ(sim::menuItemFlags(32500, 2), API_MenuItemDisabled | API_MenuItemChecked);
    host.setMenuEnabled(32500, 2, true);
    EXPECT_EQ(sim::menuItemFlags(32500, 2), API_MenuItemChecked);
    host.setMenuChecked(32500, 2, false);
    EXPECT_EQ(sim::menuItemFlags(32500, 2), 0u);
    host.setMenuLabel(32500, 1, String("Remap 3 objects"));
    EXPECT_EQ(sim::menuItemText(32500, 1), "Remap 3 objects");

    // A failed read changes nothing; a menu that is not the add-on's is refused.
    sim::failCall("ACAPI_Interface:GMIF", APIERR_GENERAL);
    host.setMenuEnabled(32500, 3, false);
    EXPECT_EQ(sim::menuItemFlags(32500, 3), 0u);
    host.setMenuEnabled(32600, 1, false);
    EXPECT_EQ(sim::menuItemFlags(32600, 1), 0u);
}

TEST_F(HostTest, GroupsToolsAndSettings) {
    EXPECT_TRUE(host.isGroupActive());
    sim::clearCalls();
    EXPECT_TRUE(host.setGroupActive(true));
    EXPECT_EQ(sim::callCount("ACAPI_Element_Tool"), 0u);
    EXPECT_TRUE(host.setGroupActive(false));
    EXPECT_TRUE(sim::isGroupSuspended());
    EXPECT_FALSE(host.isGroupActive());
    sim::failCall("ACAPI_Element_Tool", APIERR_GENERAL);
    EXPECT_FALSE(host.setGroupActive(true));
    EXPECT_TRUE(sim::isGroupSuspended());

    ElementLink wall(element_id(API_WallID), 0);
    EXPECT_TRUE(host.setActiveTool(wall));
    EXPECT_EQ(host.getActiveTool(), API_WallID);
    EXPECT_EQ(sim::toolboxType(), API_WallID);
    sim::failCall("ACAPI_Environment:GTBX", APIERR_GENERAL);
    EXPECT_EQ(host.getActiveTool(), 0);
    sim::failCall("ACAPI_Environment:STBX", APIERR_GENERAL);
    EXPECT_FALSE(host.setActiveTool(ElementLink(element_id(API_ObjectID), 0)));
    EXPECT_EQ(sim::toolboxType(), API_WallID);

    sim::queueSettingsDialog(true);
    sim::queueSettingsDialog(false);
    EXPECT_TRUE(host.showToolSettings(wall));
    EXPECT_FALSE(host.showToolSettings(wall));
    EXPECT_FALSE(host.showToolSettings(wall)) << "no script: cancelled";

    // The user's changes run only when the dialog is accepted, for the tool asked.
    std::vector<Int32> changed;
    sim::queueSettingsDialog([&changed](Int32 type, UInt32) { changed.push_back(type); });
    EXPECT_TRUE(host.showToolSettings(ElementLink(element_id(API_ObjectID), 0)));
    EXPECT_EQ(changed, std::vector<Int32>{API_ObjectID});
}

TEST_F(HostTest, LanguageFoldersAndCommands) {
    EXPECT_EQ(host.getLanguageID(), "INT");
    sim::setLanguage("GER");
    EXPECT_EQ(host.getLanguageID(), "GER");
    sim::failCall("ACAPI_Environment:APPL", APIERR_GENERAL);
    EXPECT_EQ(host.getLanguageID(), "INT");

    std::unique_ptr<Directory> home(host.getHomeDirectory());
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(std::unique_ptr<Directory>(host.getAddonsDirectory()), nullptr) << "not created";
    std::filesystem::create_directories(sim::specialFolder("Application") / "Add-Ons");
    std::unique_ptr<Directory> addOns(host.getAddonsDirectory());
    ASSERT_NE(addOns, nullptr);
    EXPECT_EQ(addOns->getName(), "Add-Ons");
    sim::failCall("ACAPI_Environment:GSPF", APIERR_GENERAL);
    EXPECT_EQ(std::unique_ptr<Directory>(host.getHomeDirectory()), nullptr);

    sim::currentAddOn().services.push_back(sim::ServiceRegistration{MakeGSType("GSUP"), 2, nullptr});
    EXPECT_TRUE(
        host.isCommandAvailable(sim::defaultAddOn.developer, sim::defaultAddOn.local, MakeGSType("GSUP"), 1));
    EXPECT_TRUE(
        host.isCommandAvailable(sim::defaultAddOn.developer, sim::defaultAddOn.local, MakeGSType("GSUP"), 2));
    EXPECT_FALSE(
        host.isCommandAvailable(sim::defaultAddOn.developer, sim::defaultAddOn.local, MakeGSType("GSUP"), 3));
    EXPECT_FALSE(
        host.isCommandAvailable(sim::defaultAddOn.developer, sim::defaultAddOn.local, MakeGSType("XXXX"), 1));
    EXPECT_FALSE(host.isCommandAvailable(1, 2, MakeGSType("GSUP"), 1));
}

TEST_F(HostTest, OpenAndSaveKeepTheLastError) {
    EXPECT_FALSE(host.saveProject());
    EXPECT_EQ(host.getLastError(), GSErrCode(0x810600CB));
    host.reset();
    EXPECT_EQ(host.getLastError(), NoError);

    std::filesystem::path path = sim::specialFolder("Documents") / "House.pln";
    std::ofstream(path) << "plan";
    DataFile file(String(path.string().c_str()), DataFile::readOnly, false);
    ASSERT_TRUE(host.openProject(file));
    EXPECT_TRUE(host.isProjectOpen());
    EXPECT_EQ(sim::projectPath(), path.string());
    EXPECT_TRUE(host.saveProject());
    EXPECT_EQ(sim::saveCount(), 1);

    DataFile missing(String((path.string() + ".gone").c_str()), DataFile::readOnly, false);
    EXPECT_FALSE(host.openProject(missing));
    EXPECT_NE(host.getLastError(), NoError);
    EXPECT_EQ(sim::projectPath(), path.string()) << "the open project stays";
    sim::failCall("ACAPI_Automate", APIERR_GENERAL);
    EXPECT_FALSE(host.saveProject());
    EXPECT_EQ(host.getLastError(), APIERR_GENERAL);
}

TEST_F(HostTest, ConsoleAndReportTakeTextAsItIs) {
    host.writeReport(String("100% done %s\n"));
    host.writeToConsole(String("50%d"));
    EXPECT_EQ(sim::reportText(), "100% done %s\n");
    EXPECT_EQ(sim::consoleText(), "50%d");
    sim::failCall("ACAPI_WriteReport", APIERR_GENERAL);
    host.writeReport(String("lost"));
    EXPECT_EQ(sim::reportText(), "100% done %s\n");
}

TEST(HostOutputTest, UndoableCommandsAndLayerChooser) {
    int runs = 0;
    EXPECT_EQ(ACAPI_CallUndoableCommand("Remap",
                                        [&] {
                                            ++runs;
                                            return NoError;
                                        }),
              NoError);
    EXPECT_EQ(ACAPI_CallUndoableCommand("Fail",
                                        [&] {
                                            ++runs;
                                            return APIERR_CANCEL;
                                        }),
              APIERR_CANCEL);
    sim::failCall("ACAPI_CallUndoableCommand", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_CallUndoableCommand("Injected",
                                        [&] {
                                            ++runs;
                                            return NoError;
                                        }),
              APIERR_GENERAL);
    EXPECT_EQ(runs, 2);
    ASSERT_EQ(sim::undoSteps().size(), 3u);
    EXPECT_EQ(sim::undoSteps()[0].name, "Remap");
    EXPECT_EQ(sim::undoSteps()[1].result, APIERR_CANCEL);
    EXPECT_EQ(sim::undoSteps()[2].name, "Injected");
    EXPECT_EQ(sim::undoSteps()[2].result, APIERR_GENERAL);

    API_ToolBoxItem tool;
    tool.typeID = API_WallID;
    short layer = 4;
    sim::queueLayerChoice(9);
    sim::queueLayerChoice(-1);
    EXPECT_EQ(ACAPI_Internal(APIInternal_LayerChooserID, &tool, &layer), NoError);
    EXPECT_EQ(layer, 9);
    EXPECT_EQ(ACAPI_Internal(APIInternal_LayerChooserID, &tool, &layer), APIERR_CANCEL);
    EXPECT_EQ(ACAPI_Internal(APIInternal_LayerChooserID, &tool, &layer), APIERR_CANCEL);
    EXPECT_EQ(layer, 9);
    EXPECT_EQ(ACAPI_Internal(APIInternal_LayerChooserID, &tool, nullptr), APIERR_BADPARS);
}

TEST_F(HostTest, LocalisedStringsAndResources) {
    ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, R"({
        "strings": {"32700": ["Information", "$1 of $2"]},
        "data": {"MDID": {"32500": {"uint32": [1514490966, 100]}, "32501": {"uint32": [7]}},
                 "DATA": {"1": {"bytes": [1, 2, 3]}, "2": {"bytes": []}}}})"));
    EXPECT_EQ(host.getLocalString(32700, 2), "$1 of $2");
    EXPECT_TRUE(host.getLocalString(32700, 3).empty());
    EXPECT_TRUE(host.getLocalString(32701, 1).empty());

    std::unique_ptr<MemoryBlock> block(host.getResource(MakeGSType("DATA"), 1));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->size(), 3);
    EXPECT_EQ((*block->getHandle())[2], 3);
    EXPECT_EQ(std::unique_ptr<MemoryBlock>(host.getResource(MakeGSType("DATA"), 2)), nullptr) << "empty";
    EXPECT_EQ(std::unique_ptr<MemoryBlock>(host.getResource(MakeGSType("DATA"), 3)), nullptr) << "absent";

    API_ModulID mdid;
    ASSERT_TRUE(host.getMdidResource(mdid, 32500));
    EXPECT_EQ(mdid.developerID, 1514490966u);
    EXPECT_EQ(mdid.localID, 100u);
    API_ModulID untouched;
    untouched.developerID = 9;
    EXPECT_FALSE(host.getMdidResource(untouched, 32501)) << "four bytes hold no local ID";
    EXPECT_EQ(untouched.developerID, 9u);
    EXPECT_FALSE(host.getMdidResource(untouched, 32502));
}

TEST_F(HostTest, ActivePhaseFilter) {
    const UInt8 tail[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    GS::Guid filter(0x12345678, 0x9ABC, 0xDEF0, tail);
    sim::setActiveRenovationFilter(filter);
    EXPECT_FALSE(bool(host.getActivePhaseFilter())) << "no project: the null GUID";
    sim::openProject();
    EXPECT_TRUE(host.getActivePhaseFilter() == Guid(filter));
    sim::failCall("ACAPI_Database:GARF", APIERR_GENERAL);
    EXPECT_FALSE(bool(host.getActivePhaseFilter()));
}

TEST_F(HostTest, ActiveWindowAndDisplay) {
    EXPECT_EQ(host.getActiveWindowHandle(), 0);
    sim::setActiveWindow(17);
    EXPECT_EQ(host.getActiveWindowHandle(), 17);
    EXPECT_TRUE(host.getDisplayBounds() == ScreenRect(ScreenPoint(0, 0), ScreenPoint(1920, 1080)));
    // The monitor holding the origin, wherever it is listed.
    sim::setMonitors({GSRect{0, 1920, 1200, 3840}, GSRect{-100, -50, 900, 1230}});
    EXPECT_TRUE(host.getDisplayBounds() == ScreenRect(ScreenPoint(-50, -100), ScreenPoint(1230, 900)));
    sim::setMonitors({GSRect{0, 1920, 1200, 3840}});
    EXPECT_TRUE(host.getDisplayBounds() == ScreenRect());
    sim::setMonitors({GSRect{0, 0, 1080, 1920}});
    sim::failCall("DGGetMonitorRect", ErrParam);
    EXPECT_TRUE(host.getDisplayBounds() == ScreenRect());
}
