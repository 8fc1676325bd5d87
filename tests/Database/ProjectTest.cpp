#include "Database/Project.h"
#include "ACAPI/ProjectInfo.hpp"
#include "Addon/Transaction.h"
#include "Database/ElementLinkList.h"
#include "Database/Model.h"
#include "Database/Plan.h"
#include "Database/Section.h"
#include "Database/Specification.h"
#include "Environment/DataFile.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/ProjectNotes.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"
#include "sim/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

using namespace zelvane;

namespace {

GS::Guid idOf(UInt32 first) {
    const UInt8 tail[8] = {};
    return GS::Guid(first, 0, 0, tail);
}

GS::Guid addDatabase(API_WindowTypeID type, UInt32 first, const std::string& name = "") {
    sim::DatabaseRecord record;
    record.type = type;
    record.id = idOf(first);
    record.name = name;
    return sim::addDatabase(record);
}

class ProjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        project = host.getProject();
        ASSERT_NE(project, nullptr);
    }
    void TearDown() override { host.reset(); }

    Project* project = nullptr;
};

} // namespace

TEST_F(ProjectTest, ListsOfEachKindInGuidOrder) {
    addDatabase(APIWind_SectionID, 30);
    addDatabase(APIWind_SectionID, 10);
    addDatabase(APIWind_LayoutID, 20);
    addDatabase(APIWind_MasterLayoutID, 5);
    addDatabase(APIWind_LayoutID, 40);
    addDatabase(APIWind_WorksheetID, 1);

    EXPECT_EQ(project->getSectionCount(), 2u);
    EXPECT_EQ(GS::Guid(project->getSection(0)->getID()), idOf(10));
    EXPECT_EQ(GS::Guid(project->getSection(1)->getID()), idOf(30));
    EXPECT_EQ(project->getSection(-1), nullptr);
    EXPECT_EQ(project->getSection(2), nullptr);
    EXPECT_EQ(project->getSection(DatabaseGuid(idOf(30))), project->getSection(1));
    EXPECT_EQ(project->getSection(DatabaseGuid(idOf(31))), nullptr);

    // Master layouts and layouts share one list, ordered by ID, not by kind.
    ASSERT_EQ(project->getLayoutCount(), 3u);
    EXPECT_TRUE(project->getLayout(0)->isMaster());
    EXPECT_EQ(project->getLayout(0)->getDescription(), "Master Layout");
    EXPECT_FALSE(project->getLayout(1)->isMaster());
    EXPECT_EQ(project->getLayout(2)->getDescription(), "Layout");
    EXPECT_EQ(project->getWorksheetCount(), 1u);
    EXPECT_EQ(project->getDetailCount(), 0u);
    EXPECT_EQ(project->getDocument3DCount(), 0u);
    EXPECT_EQ(project->getElevationCount(), 0u);
    EXPECT_EQ(project->getInteriorElevationCount(), 0u);

    // Each list is read once per entry; a failed read stays empty until the next one.
    sim::clearCalls();
    project->getSectionCount();
    EXPECT_EQ(sim::callCount("ACAPI_Database"), 0u);
    host.reset();
    sim::failCall("ACAPI_Database:GSDI", APIERR_GENERAL);
    EXPECT_EQ(project->getSectionCount(), 0u);
    EXPECT_EQ(project->getSectionCount(), 0u);
    EXPECT_EQ(sim::callCount("ACAPI_Database"), 1u);
    host.reset();
    sim::failNextAllocations(1);
    EXPECT_EQ(project->getSectionCount(), 0u);
    host.reset();
    sim::failCall("ACAPI_Database:GLDI", APIERR_GENERAL);
    EXPECT_EQ(project->getLayoutCount(), 1u); // the master layouts all the same
}

TEST_F(ProjectTest, ActiveDrawingIsCachedAndChangedOnlyWhenOther) {
    GS::Guid section = addDatabase(APIWind_SectionID, 7);
    EXPECT_EQ(project->getActiveDrawing(), project->getFloorPlan());
    sim::clearCalls();
    EXPECT_TRUE(project->setActiveDrawing(project->getFloorPlan()));
    EXPECT_EQ(project->getActiveDrawing(), project->getFloorPlan());
    EXPECT_EQ(sim::callCount("ACAPI_Database"), 0u);

    Section* view = project->getSection(DatabaseGuid(section));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(project->setActiveDrawing(view));
    EXPECT_EQ(sim::currentDatabase(), section);
    EXPECT_EQ(project->getActiveDrawing(), view);

    // A failed change leaves no drawing cached, so the host is asked again.
    sim::failCall("ACAPI_Database:CDAT", APIERR_GENERAL);
    EXPECT_FALSE(project->setActiveDrawing(project->getModel()));
    sim::clearCalls();
    EXPECT_EQ(project->getActiveDrawing(), view);
    EXPECT_EQ(sim::callCount("ACAPI_Database"), 1u);
    EXPECT_FALSE(project->setActiveDrawing(nullptr));

    // Window types 6 to 8 are no drawing and leave the cache empty.
    for (API_WindowTypeID type : {6, 7, 8}) {
        project->resetActiveDrawing();
        sim::setFrontWindow(type);
        EXPECT_EQ(project->getActiveWindow(), nullptr);
    }
    sim::setFrontWindow(APIWind_3DModelID);
    EXPECT_EQ(project->getActiveWindow(), project->getModel());
    EXPECT_TRUE(project->setActiveWindow(view));
    EXPECT_EQ(sim::currentDatabase(), section);
    EXPECT_EQ((*project)[DrawingLink(APIWind_SectionID, DatabaseGuid(section))], view);
    EXPECT_EQ((*project)[DrawingLink(APIWind_FloorPlanID)], project->getFloorPlan());
    EXPECT_EQ((*project)[DrawingLink(7)], nullptr);

    // The facade forwards, and answers null without a project.
    EXPECT_EQ(host.getActiveWindow(), view);
    EXPECT_EQ(host.getFrontPlan(), project->getFloorPlan());
    EXPECT_EQ(host.getFrontLibrary(), project->getLibrary());
    EXPECT_NE(host.getFrontNavigator(), nullptr);
    // Drawings and element links reach the project's attribute set.
    ASSERT_NE(project->getSpecification(), nullptr);
    EXPECT_EQ(view->getSpec(), project->getSpecification());
    ElementLink link(element_id(API_WallID), 0);
    EXPECT_EQ(link.getSpec(), project->getSpecification());
    EXPECT_EQ(Section().getSpec(), nullptr);
    sim::closeProject();
    EXPECT_EQ(link.getSpec(), nullptr);
    EXPECT_EQ(host.getActiveDrawing(), nullptr);
    EXPECT_EQ(host.getFrontPlan(), nullptr);
    EXPECT_FALSE(host.setActiveDrawing(*view));
}

TEST_F(ProjectTest, RebuildingLayoutsForgetsTheActiveOne) {
    GS::Guid layout = addDatabase(APIWind_LayoutID, 3);
    Layout* view = project->getLayout(DatabaseGuid(layout));
    ASSERT_TRUE(project->setActiveDrawing(view));
    ASSERT_TRUE(project->setActiveWindow(view));
    project->rebuildLayouts();
    // The caches point at the new list's layout, never at the deleted one.
    Drawing* active = project->getActiveDrawing();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active, project->getLayout(DatabaseGuid(layout)));
}

TEST_F(ProjectTest, CreatesLayoutsAndWorksheets) {
    GS::Guid master = addDatabase(APIWind_MasterLayoutID, 9);
    std::string longName(300, 'n');
    Layout* layout = project->createLayout(String(longName.c_str()),
                                           DrawingLink(APIWind_MasterLayoutID, DatabaseGuid(master)), "A-12");
    ASSERT_NE(layout, nullptr);
    sim::DatabaseRecord record = sim::database(APIWind_LayoutID, GS::Guid(layout->getID()));
    EXPECT_EQ(record.name.size(), 255u); // cut to leave room for the end
    EXPECT_EQ(record.master, master);
    EXPECT_EQ(layout->getCustomNumber(), "A-12");
    EXPECT_TRUE(layout->isCustomNumber());
    EXPECT_EQ(project->getLayout(layout->getID()), layout);
    EXPECT_EQ(layout->getMaster(), DrawingLink(APIWind_MasterLayoutID, DatabaseGuid(master)));

    Worksheet* sheet = project->createWorksheet("Plan A", "W1");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->getName(), "Plan A");
    EXPECT_EQ(sheet->getReference(), "W1");
    EXPECT_EQ(sheet->setName("Plan B"), NoError);
    EXPECT_EQ(sheet->getName(), "Plan B");

    EXPECT_TRUE(project->deleteLayout(layout->getID()));
    EXPECT_FALSE(sim::hasDatabase(APIWind_LayoutID, GS::Guid(layout->getID())));
    EXPECT_FALSE(project->deleteLayout(DatabaseGuid(idOf(77))));

    sim::failCall("ACAPI_Database:NDAT", APIERR_GENERAL);
    EXPECT_EQ(project->createWorksheet("x", "y"), nullptr);

    // Refused while an undoable command runs.
    struct Making : Transaction {
        Project* project;
        Worksheet* made = reinterpret_cast<Worksheet*>(1);
        explicit Making(Project* p) : Transaction("make"), project(p) {}
        GSErrCode run() override {
            made = project->createWorksheet("in", "command");
            return NoError;
        }
    } making(project);
    host.makeTransaction(making);
    EXPECT_EQ(making.made, nullptr);
}

TEST_F(ProjectTest, LayoutSheetIsReadOnceAndZeroedWhenRefused) {
    sim::DatabaseRecord record;
    record.type = APIWind_LayoutID;
    record.layout.sizeX = 420;
    record.layout.sizeY = 297;
    record.layout.leftMargin = 10;
    record.layout.rightMargin = 5;
    record.layout.topMargin = 7;
    record.layout.bottomMargin = 3;
    record.layout.customLayoutNumbering = 1;
    GS::Guid id = sim::addDatabase(record);
    Layout* layout = project->getLayout(DatabaseGuid(id));
    Cube region = layout->getPrintableRegion();
    EXPECT_EQ(region.getOrigin().x(), 10);
    EXPECT_EQ(region.getEnd().x(), 415);
    EXPECT_EQ(region.getEnd().y(), 290);
    EXPECT_EQ(layout->getSize().getEnd().y(), 297);
    EXPECT_TRUE(layout->setCustomNumber("B", false));
    EXPECT_TRUE(layout->isCustomNumber()); // false leaves the flag
    EXPECT_TRUE(layout->setCurrentRevision("rev 2"));
    EXPECT_EQ(layout->getCurrentRevision(), "rev 2");

    host.reset();
    layout = project->getLayout(DatabaseGuid(id));
    sim::failCall("ACAPI_Environment:GLAY", APIERR_GENERAL);
    EXPECT_EQ(layout->getSize().getEnd().x(), 0.0);
    EXPECT_EQ(layout->getLastError(), APIERR_GENERAL);
    sim::clearCalls();
    EXPECT_EQ(layout->getCustomNumber(), "");
    EXPECT_EQ(sim::callCount("ACAPI_Environment"), 0u);

    GS::Guid master = addDatabase(APIWind_MasterLayoutID, 4);
    host.reset();
    EXPECT_EQ(project->getLayout(DatabaseGuid(master))->getMaster(), DrawingLink());
}

TEST_F(ProjectTest, LayoutSettersNeverWriteASheetThatWasNotRead) {
    struct Case {
        const char* name;
        bool (*set)(Layout&);
        std::string (*get)(Layout&);
        const char* value;
    };
    const Case cases[] = {
        {"custom number", [](Layout& l) { return l.setCustomNumber("B-7", true); },
         [](Layout& l) { return std::string(l.getCustomNumber().data()); }, "B-7"},
        {"current revision", [](Layout& l) { return l.setCurrentRevision("R2"); },
         [](Layout& l) { return std::string(l.getCurrentRevision().data()); }, "R2"},
        {"final revision", [](Layout& l) { return l.setFinalRevision("R9"); },
         [](Layout& l) { return std::string(l.getFinalRevision().data()); }, "R9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DatabaseRecord record;
        record.type = APIWind_LayoutID;
        record.layout.sizeX = 0.42;
        record.layout.leftMargin = 0.01;
        GS::Guid id = sim::addDatabase(record);
        host.reset();
        Layout* layout = project->getLayout(DatabaseGuid(id));
        sim::failCall("ACAPI_Environment:GLAY", APIERR_GENERAL);
        ASSERT_FALSE(layout->retrieveData());

        // Read again and refused again: nothing written, the held sheet as it was.
        sim::failCall("ACAPI_Environment:GLAY", APIERR_GENERAL);
        sim::clearCalls();
        EXPECT_FALSE(c.set(*layout));
        for (const sim::CallRecord& call : sim::calls()) {
            EXPECT_NE(call.code, Int64(APIEnv_ChangeLayoutSetsID));
        }
        EXPECT_EQ(c.get(*layout), "");
        EXPECT_EQ(sim::database(APIWind_LayoutID, id).layout.sizeX, 0.42);

        // Read again: the change goes onto the host's sheet.
        EXPECT_TRUE(c.set(*layout));
        sim::DatabaseRecord written = sim::database(APIWind_LayoutID, id);
        EXPECT_EQ(written.layout.sizeX, 0.42);
        EXPECT_EQ(written.layout.leftMargin, 0.01);
        EXPECT_EQ(c.get(*layout), c.value);
        EXPECT_EQ(layout->getSize().getEnd().x(), 0.42);

        // A refused write leaves the held sheet as the host has it.
        sim::failCall("ACAPI_Environment:CLAY", APIERR_GENERAL);
        EXPECT_FALSE(layout->setCustomNumber("X", false));
        EXPECT_EQ(layout->getLastError(), APIERR_GENERAL);
        EXPECT_EQ(std::string(layout->getCustomNumber().data()),
                  std::string(sim::database(APIWind_LayoutID, id).layout.customLayoutNumber));
    }
}

TEST_F(ProjectTest, TeamReservationsAndAttributes) {
    ElementLinkList none;
    sim::clearCalls();
    EXPECT_TRUE(project->reserveElements(none));
    EXPECT_TRUE(project->releaseElements(none));
    EXPECT_EQ(sim::calls().size(), 0u);

    sim::setTeamwork(true, 5, {{"ann", "Ann", 5}, {"bob", "Bob", 7}}, true);
    API_Element wall;
    wall.header.typeID = API_WallID;
    GS::Guid mine = sim::addElement(wall);
    wall.header.userId = 7;
    GS::Guid bobs = sim::addElement(wall);
    ElementLinkList list;
    list.push_back(new ElementLink(Guid(mine), nullptr));
    list.push_back(new ElementLink(Guid(mine), nullptr)); // reserved once
    EXPECT_TRUE(project->reserveElements(list));
    EXPECT_EQ(sim::elementOwner(mine), 5);
    list.push_back(new ElementLink(Guid(bobs), nullptr));
    EXPECT_FALSE(project->reserveElements(list)); // a conflict
    EXPECT_TRUE(project->releaseElements(list));
    EXPECT_EQ(sim::elementOwner(mine), 0);
    EXPECT_EQ(sim::elementOwner(bobs), 7);
    EXPECT_EQ(project->getTeamSize(), 2u);
    sim::setServerOnline(false);
    EXPECT_FALSE(project->isServerOnline());
    EXPECT_FALSE(project->reserveElements(list));
}

TEST_F(ProjectTest, ToolUserData) {
    ElementLink tool(element_id(API_ObjectID), MakeGSType("TOOL"));
    MemoryBlock block("abc", 3);
    EXPECT_TRUE(project->setToolUserData(tool, &block, 0, 12, 2, 0x5757));
    unsigned int flags = 99;
    int version = 99;
    Platform::Host platform = 99;
    std::unique_ptr<MemoryBlock> read(project->getToolUserData(tool, &flags, &version, &platform));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->size(), 3);
    EXPECT_EQ(flags, 12u);
    EXPECT_EQ(version, 2);
    EXPECT_EQ(platform, 0x5757u);

    // A refused read leaves cleared values, never stale ones.
    sim::failCall("ACAPI_Element_GetUserData", APIERR_GENERAL);
    EXPECT_EQ(project->getToolUserData(tool, &flags, &version, &platform), nullptr);
    EXPECT_EQ(flags, 0u);
    EXPECT_EQ(version, 0);
    MemoryBlock empty;
    EXPECT_TRUE(project->setToolUserData(tool, &empty, 0, 12, 1, 19789)); // deletes
    EXPECT_FALSE(sim::hasDefaultUserData(API_ObjectID, MakeGSType("TOOL")));
    EXPECT_EQ(project->getToolUserData(tool, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(ProjectTest, ProjectInformation) {
    EXPECT_DOUBLE_EQ(project->getNorthAngle(), 1.5707963267948966);
    EXPECT_FALSE(project->setNorthAngle(1.0));
    sim::setPlace(API_PlaceInfo{14.4, 50.1, 200, 0.5, 60});
    EXPECT_DOUBLE_EQ(project->getNorthAngle(), 0.5);
    EXPECT_TRUE(project->setNorthAngle(1.0));
    EXPECT_DOUBLE_EQ(sim::place()->north, 1.0);
    EXPECT_DOUBLE_EQ(sim::place()->latitude, 50.1);

    sim::setProjectNotes({"Villa", "Praha", "11000", "Ann"});
    EXPECT_EQ(project->getProjectName(), "Villa");
    EXPECT_EQ(project->getCityName(), "Praha");
    EXPECT_EQ(project->getPostCode(), "11000");
    EXPECT_EQ(project->getArchitectName(), "Ann");
    sim::failCall("ACAPI_Environment:GPRN", APIERR_GENERAL);
    EXPECT_EQ(project->getProjectName(), "");

    EXPECT_TRUE(project->isMetric());
    sim::setUnitPreferences({API_FootFracInch});
    EXPECT_FALSE(project->isMetric());

    API_LegacyPrefs legacy{};
    legacy.words[1] = 42;
    sim::setLegacyPreferences(legacy);
    EXPECT_EQ(project->getHostPreferences()->getConnectionPriority(), 42);
    EXPECT_EQ(project->getFile(), nullptr); // untitled
}

TEST_F(ProjectTest, LayoutsTakeAnothersAppearanceAndMaster) {
    GS::Guid master = addDatabase(APIWind_MasterLayoutID, 2);
    GS::Guid other = addDatabase(APIWind_MasterLayoutID, 3);
    sim::DatabaseRecord record;
    record.type = APIWind_LayoutID;
    record.id = idOf(4);
    record.master = master;
    record.layout.sizeX = 297;
    record.layout.customLayoutNumbering = 1;
    std::strcpy(record.layout.customLayoutNumber, "A-1");
    sim::addDatabase(record);
    record.id = idOf(5);
    record.master = other;
    record.layout = API_LayoutInfo();
    sim::addDatabase(record);

    Layout* source = project->getLayout(DatabaseGuid(idOf(4)));
    Layout* target = project->getLayout(DatabaseGuid(idOf(5)));
    EXPECT_TRUE(target->copyAppearanceOf(*target));
    ASSERT_TRUE(target->copyAppearanceOf(*source));
    EXPECT_EQ(sim::database(APIWind_LayoutID, idOf(5)).master, master);
    EXPECT_EQ(sim::database(APIWind_LayoutID, idOf(5)).layout.sizeX, 297.0);
    EXPECT_EQ(target->getCustomNumber(), "A-1");

    // A master layout has no master of its own.
    EXPECT_FALSE(project->getLayout(DatabaseGuid(master))
                     ->setMaster(DrawingLink(APIWind_MasterLayoutID, DatabaseGuid(other))));
    sim::failCall("ACAPI_Database:MDAT", APIERR_GENERAL);
    EXPECT_FALSE(target->setMaster(DrawingLink(APIWind_MasterLayoutID, DatabaseGuid(other))));
    EXPECT_EQ(sim::database(APIWind_LayoutID, idOf(5)).master, master);
}
