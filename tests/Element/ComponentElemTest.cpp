#include "Element/ComponentElem.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "Memo/ElementMemoStore.h"
#include "sim/ComponentRequests.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

// A component kind keeping a plain host record.
class Placed : public ComponentElem {
public:
    Placed(const ElementLink& link, const ComponentLink& source) : ComponentElem(link, source) {
        m_record.header.typeID = link.getType().getType();
    }
    Element* clone() const override { return new Placed(*this); }
    API_Element* getData() const override { return new API_Element(m_record); }
    using ComponentElem::getMemo;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    API_Element m_record;
};

Int32 addPart(const char* name, double a) {
    sim::LibPartDef def;
    def.name = name;
    def.ownID = "{11111111-2222-3333-4444-555555555555}-{11111111-2222-3333-4444-555555555555}";
    def.a = a;
    def.b = 2 * a;
    def.parameters = {
        sim::scalarParameter(APIParT_Length, "A", a), sim::scalarParameter(APIParT_Length, "B", 2 * a),
        sim::scalarParameter(APIParT_Length, "ZZYZX", 0.7), sim::scalarParameter(APIParT_Integer, "legs", 4)};
    return sim::addLibPart(def);
}

class ComponentElemTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Library::startup();
        plan = host.getProject()->getFloorPlan();
        library = host.getFrontLibrary();
    }
    void TearDown() override {
        Element::m_isMinData = true;
        Library::shutdown();
        host.reset();
    }

    Plan* plan = nullptr;
    Library* library = nullptr;
};

} // namespace

TEST_F(ComponentElemTest, MissingPartsAreNamedByTheHost) {
    API_Element record;
    record.header.typeID = API_ObjectID;
    GS::Guid guid = sim::addElement(record);
    sim::setUnloadedPartName(guid, "Old Chair 12");
    struct Case {
        Int32 index;
        bool refused;
        const char* name;
        bool found;
    } cases[] = {
        {addPart("Table", 0.8), false, "Table", true},
        {99, false, "Old Chair 12", false},
        {99, true, "", false},
    };
    for (const Case& c : cases) {
        Placed element(ElementLink(Guid(guid), plan), ComponentLink(c.index, APILib_ObjectID, library));
        if (c.refused) {
            sim::failCall("ACAPI_Goodies", APIERR_BADID);
        }
        EXPECT_EQ(element.isSourceFound(), c.found) << c.index;
        EXPECT_EQ(element.getSourceName(), c.name) << c.index;
        EXPECT_EQ(element.getFamilyID().empty(), !c.found) << c.index;
        sim::clearFaults();
    }
}

TEST_F(ComponentElemTest, NewElementsTakeTheirPartsDefaultsAndPackThem) {
    Placed element(ElementLink(element_id(API_ObjectID), 0),
                   ComponentLink(addPart("Table", 0.8), APILib_ObjectID, library));
    EXPECT_DOUBLE_EQ(element.getAxialWidth(), 0.8);
    EXPECT_DOUBLE_EQ(element.getHeight(), 0.7);
    EXPECT_DOUBLE_EQ(element.getSourceDepth(), 1.6);
    EXPECT_EQ(element.getGableCount(), 0);

    unsigned long long mask = 0;
    API_ElementMemo* memo = element.getMemo(mask);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(mask, 4u);
    ElementMemoStore::disposeRecord(memo);

    // Both parts from one store handed back.
    Placed other(ElementLink(element_id(API_ObjectID), 0), element.getSourceLink());
    MemoStore* store = nullptr;
    other.getMemo(static_cast<unsigned long long>(6), store);
    ASSERT_NE(store, nullptr);
    delete store;
    EXPECT_TRUE(other.ComponentParameterMemo::isLoaded());
    EXPECT_TRUE(other.GableMemo::isLoaded());
}

TEST_F(ComponentElemTest, RepointingReloadsAndRefreshAsksTheHost) {
    Int32 first = addPart("Table", 0.8), second = addPart("Desk", 1.2);
    Placed element(ElementLink(element_id(API_ObjectID), 0), ComponentLink(first, APILib_ObjectID, library));
    element.setAxialHeight(0.9);
    element.setSourceLink(ComponentLink(second, APILib_ObjectID, library), true, true);
    EXPECT_EQ(element.getSourceName(), "Desk");
    EXPECT_DOUBLE_EQ(element.getSourceWidth(), 1.2); // the new part's own size
    EXPECT_DOUBLE_EQ(element.getAxialWidth(), 0.8);  // the element's values laid over its defaults
    EXPECT_DOUBLE_EQ(element.getAxialHeight(), 0.9);

    API_Element record;
    record.header.typeID = API_ObjectID;
    GS::Guid guid = sim::addElement(record);
    Placed placed(ElementLink(Guid(guid), plan), ComponentLink(first, APILib_ObjectID, library));
    EXPECT_TRUE(placed.refresh());
    ASSERT_EQ(sim::refreshedElements().size(), 1u);
    EXPECT_EQ(sim::refreshedElements()[0], guid);
    sim::removeElement(guid);
    EXPECT_FALSE(placed.refresh());

    API_ParamOwnerType owner{};
    bool defaults = false;
    element.getOwnerInfo(owner, defaults);
    EXPECT_TRUE(defaults); // not in the project: the tool's defaults
    EXPECT_EQ(owner.typeID, API_ObjectID);
}
