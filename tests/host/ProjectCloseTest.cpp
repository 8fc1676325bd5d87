#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/Databases.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/IFC.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"
#include "sim/Teamwork.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

// A part of a project's content: how to give the project some, and whether the host holds any.
struct Content {
    const char* name;
    std::function<void(const GS::Guid& element)> fill;
    std::function<bool(const GS::Guid& element)> held;
};

bool hasMemo(const GS::Guid& guid) {
    API_ElementMemo memo;
    bool found = sim::copyMemoOut(guid, &memo, APIMemoMask_Gables) == NoError && memo.gables != nullptr;
    ACAPI_DisposeElemMemoHdls(&memo);
    return found;
}

const Content contents[] = {
    {"elements", [](const GS::Guid&) {}, [](const GS::Guid& guid) { return sim::hasElement(guid); }},
    {"memos",
     [](const GS::Guid& guid) {
         API_ElementMemo memo;
         memo.gables = reinterpret_cast<API_Gable**>(BMAllocateHandle(sizeof(API_Gable), 0, 0));
         std::memset(static_cast<void*>(*memo.gables), 0, sizeof(API_Gable));
         sim::storeMemo(guid, &memo, APIMemoMask_Gables);
         ACAPI_DisposeElemMemoHdls(&memo);
     },
     hasMemo},
    {"IFC data",
     [](const GS::Guid& guid) {
         sim::IFCItems items;
         items.attributes.resize(1);
         items.attributes[0].attributeName = GS::UniString("Tag");
         sim::setStoredIFC(guid, items);
     },
     [](const GS::Guid& guid) { return !sim::storedIFC(guid).attributes.empty(); }},
    {"selection",
     [](const GS::Guid& guid) {
         API_Neig neig;
         neig.guid = guid;
         sim::setSelection({neig});
     },
     [](const GS::Guid&) { return !sim::selection().empty(); }},
    {"databases",
     [](const GS::Guid&) {
         sim::DatabaseRecord record;
         record.type = APIWind_SectionID;
         record.name = "Section A";
         sim::setCurrentDatabase(APIWind_SectionID, sim::addDatabase(record));
     },
     [](const GS::Guid&) { return !sim::databases().empty() || !sim::currentDatabase().IsNull(); }},
    {"storeys",
     [](const GS::Guid&) {
         sim::setStoreys({{0, 0, 0.0, "Ground"}, {1, 1, 3.0, "First"}}, 6.0);
     },
     [](const GS::Guid&) { return sim::storeys().size() != 1; }},
    {"reservations", [](const GS::Guid& guid) { sim::setElementOwner(guid, 7); },
     [](const GS::Guid& guid) { return sim::elementOwner(guid) == 7; }},
};

class ProjectCloseTest : public ::testing::Test {
protected:
    void SetUp() override { sim::reset(); }
    void TearDown() override { sim::reset(); }
};

} // namespace

TEST_F(ProjectCloseTest, ClosingEmptiesTheProjectsContent) {
    for (const Content& content : contents) {
        SCOPED_TRACE(content.name);
        sim::reset();
        sim::openProject();
        API_Element record;
        record.header.typeID = API_WallID;
        const GS::Guid guid = sim::addElement(record);
        content.fill(guid);
        ASSERT_TRUE(content.held(guid)) << "the content was not given";
        sim::closeProject();
        sim::openProject();
        EXPECT_FALSE(content.held(guid));
    }
}

TEST_F(ProjectCloseTest, ToolDefaultsOutliveTheProject) {
    sim::openProject();
    API_Element defaults;
    defaults.header.typeID = API_WallID;
    defaults.wall.thickness = 0.25;
    sim::setDefaults(defaults);
    sim::closeProject();
    sim::openProject();
    API_Element read;
    read.header.typeID = API_WallID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&read, nullptr), NoError);
    EXPECT_DOUBLE_EQ(read.wall.thickness, 0.25);
}
