#include "ACAPI/ElementTable.hpp"
#include "Attribute/CadColour.h"
#include "Attribute/Storey.h"
#include "Database/BaseElemSelection.h"
#include "Database/CutPlane.h"
#include "Database/ElementLinkList.h"
#include "Database/InteriorElevation.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Section.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Wall.h"
#include "Element/Window.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "TestElement.h"
#include "sim/Databases.h"
#include "sim/ElementRequests.h"
#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace zelvane;

namespace {

API_Element record(API_ElemTypeID type, short layer = 1) {
    API_Element element;
    element.header.typeID = type;
    element.header.layer = layer;
    return element;
}

class Drag : public Transformation {
public:
    Drag() : Transformation(API_EditPars{APIEdit_Drag, true, {}, {}, {1.0, 0.0, 0.0}}) {}
    Transformation* clone() const override { return new Drag(*this); }
};

class ListSelection : public BaseElemSelection {
public:
    ElementLinkList links;
    std::vector<API_Elem_Head> heads;
    ElementLinkList* getElementLinks() const override { return links.clone(); }
    void setElementHeaders(const API_Elem_Head* h, Int32 count) override { heads.assign(h, h + count); }
};

class DrawingElementsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Drawing::startup();
        Drawing::addAdapter(element_id(API_ObjectID), TestElement::create,
                            true); // before the start-up's objects
        Drawing::addAdapter(element_id(API_WallID), TestElement::create, false);
        project = host.getProject();
        plan = project->getFloorPlan();
    }
    void TearDown() override {
        Drawing::shutdown();
        Element::m_isMinData = true;
        Drawing::m_isSelectionInfo = false;
        host.reset();
    }

    std::unique_ptr<Element> loadOf(const GS::Guid& guid, const Drawing::Filter* filter = nullptr) {
        return std::unique_ptr<Element>(plan->load(ElementLink(Guid(guid), plan), filter));
    }

    Project* project = nullptr;
    Plan* plan = nullptr;
};

// Placed elements of every kind loaded and put back while another storey is current.
class DrawingStoreysTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        sim::setStoreys({{0, 1, 0.0, "Ground"}, {1, 2, 3.0, "First"}, {2, 3, 6.0, "Second"}}, 9.0);
        host.reset();
        Drawing::startup();
        Drawing::addAdapter(element_id(API_WallID), Wall::create, false);
        Drawing::addAdapter(element_id(API_DoorID), Door::create, false);
        Drawing::addAdapter(element_id(API_WindowID), Window::create, false);
        Drawing::addAdapter(element_id(API_LampID), Lamp::create, false);
        plan = host.getProject()->getFloorPlan();
    }
    void TearDown() override {
        Drawing::shutdown();
        host.reset();
    }

    // The host's storey of the element and the one its wrapper names, "-" for none.
    static std::string storeysOf(const GS::Guid& guid, const Element& element) {
        const Storey* storey = element.getStorey();
        return std::to_string(sim::element(guid).header.floorInd) + "/" +
               (storey != nullptr ? std::to_string(storey->getIndex()) : "-") + "/" +
               std::to_string(element.getHead().floorInd);
    }

    Plan* plan = nullptr;
};

// An element of the kind on the storey; a door or window stands in a wall of that storey.
GS::Guid placeOn(API_ElemTypeID type, short storey) {
    API_Element element = record(type == API_DoorID || type == API_WindowID ? API_WallID : type);
    element.header.floorInd = storey;
    if (type != API_DoorID && type != API_WindowID) {
        return sim::addElement(element);
    }
    GS::Guid wall = sim::addElement(element);
    element = record(type);
    element.header.floorInd = storey;
    (type == API_DoorID ? element.door : element.window).owner = wall;
    return sim::addElement(element);
}

} // namespace

TEST_F(DrawingElementsTest, ListsByKindFlagsAndSelection) {
    GS::Guid wall = sim::addElement(record(API_WallID));
    GS::Guid object = sim::addElement(record(API_ObjectID));
    API_Element locked = record(API_ObjectID);
    locked.header.locked = true;
    GS::Guid lockedObject = sim::addElement(locked);

    struct Case {
        Drawing::Filter filter;
        std::size_t count;
        std::size_t headers; // asked for by a list to load: none when the filter names the kind
    };
    const Case cases[] = {
        {Drawing::Filter(false), 3, 3},
        {Drawing::Filter(element_id(API_ObjectID), false), 2, 0},
        {Drawing::Filter(APIFilt_IsEditable, element_id(API_ObjectID), false), 1, 0},
        {Drawing::Filter(element_id(API_DoorID), false), 0, 0},
    };
    for (const Case& c : cases) {
        ElementLinkList list;
        EXPECT_EQ(plan->getLinksMatching(c.filter, &list), c.count);
        EXPECT_EQ(list.size(), c.count);
        EXPECT_EQ(plan->getCount(c.filter), c.count);
        // A list to load holds the same elements, each loading as it does from the full list.
        ElementLinkList toLoad;
        sim::clearCalls();
        EXPECT_EQ(plan->getLinksToLoad(c.filter, toLoad), c.count);
        EXPECT_EQ(sim::callCount("ACAPI_Element_GetHeader"), c.headers);
        ASSERT_EQ(toLoad.size(), c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            std::unique_ptr<Element> full(plan->load(*list[i], &c.filter));
            std::unique_ptr<Element> listed(plan->load(*toLoad[i], &c.filter));
            ASSERT_NE(full, nullptr);
            ASSERT_NE(listed, nullptr);
            const ElementLink& a = full->getLink();
            const ElementLink& b = listed->getLink();
            EXPECT_EQ(a.getUniqueID(), b.getUniqueID());
            EXPECT_EQ(a.getType(), b.getType());
            EXPECT_EQ(a.getVariation(), b.getVariation());
            EXPECT_EQ(a.getSourceLink(), b.getSourceLink());
            EXPECT_EQ(a.getSourceLink().getStoreyIndex(), b.getSourceLink().getStoreyIndex());
        }
    }

    API_Neig neigs[2];
    neigs[0].guid = object;
    neigs[0].neigID = 13;
    neigs[1].guid = lockedObject;
    neigs[1].neigID = 13;
    sim::setSelection({neigs[0], neigs[1]});
    Drawing::Filter selected(APIFilt_IsEditable, element_id(), true);
    ElementLinkList list;
    EXPECT_EQ(plan->getLinksMatching(selected, &list), 1u);
    EXPECT_EQ(GS::Guid(list[0]->getUniqueID()), object);
    ElementLinkList selectedToLoad;
    EXPECT_EQ(plan->getLinksToLoad(selected, selectedToLoad), 1u);
    EXPECT_EQ(GS::Guid(selectedToLoad[0]->getUniqueID()), object);
    EXPECT_FALSE(plan->isMarquee());

    // A selected-only load of an element not selected never reads the element.
    sim::clearCalls();
    Drawing::Filter selectedOnly(true);
    EXPECT_EQ(loadOf(wall, &selectedOnly), nullptr);
    EXPECT_EQ(sim::callCount("ACAPI_Element_Get"), 0u);
    EXPECT_NE(loadOf(object, &selectedOnly), nullptr);

    sim::failCall("ACAPI_Element_GetElemList", APIERR_GENERAL);
    EXPECT_EQ(plan->getCount(Drawing::Filter(false)), 0u);
    EXPECT_EQ(plan->getLastError(), APIERR_GENERAL);
    sim::failCall("ACAPI_Element_GetElemList", APIERR_MEMFULL);
    ElementLinkList none;
    EXPECT_EQ(plan->getLinksToLoad(Drawing::Filter(element_id(API_ObjectID), false), none), 0u);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(plan->getLastError(), APIERR_MEMFULL);
    sim::failCall("ACAPI_Database:CDAT", APIERR_GENERAL);
    project->resetActiveDrawing();
    EXPECT_EQ(plan->getCount(Drawing::Filter(false)), 0u);
}

TEST_F(DrawingElementsTest, CutPlanesResolveProxiesAndInteriorElevationsDoNot) {
    GS::Guid wall = sim::addElement(record(API_WallID));
    sim::DatabaseRecord section;
    section.type = APIWind_SectionID;
    GS::Guid sectionID = sim::addDatabase(section);
    section.type = APIWind_InteriorElevationID;
    section.id = GS::Guid();
    GS::Guid interiorID = sim::addDatabase(section);
    API_Element proxy = record(API_SectElemID);
    proxy.sectElem.parentID = API_WallID;
    proxy.sectElem.parentGuid = wall;
    GS::Guid proxyInSection = sim::addElement(proxy, sectionID);
    GS::Guid proxyInInterior = sim::addElement(proxy, interiorID);
    API_Element door = record(API_SectElemID); // the kind test looks at the parent
    door.sectElem.parentID = API_DoorID;
    door.sectElem.parentGuid.Generate();
    sim::addElement(door, sectionID);
    sim::addElement(record(API_ObjectID), sectionID); // drawn in the section itself

    Section* cut = project->getSection(DatabaseGuid(sectionID));
    ElementLinkList list;
    EXPECT_EQ(cut->getLinksMatching(Drawing::Filter(element_id(API_WallID), false), &list), 1u);
    ASSERT_EQ(list.size(), 1u);
    // The list keeps the proxy's link; the kind test looked at the wall behind it.
    EXPECT_EQ(GS::Guid(list[0]->getUniqueID()), proxyInSection);
    EXPECT_EQ(list[0]->getType(), element_id(API_SectElemID));
    ElementLink actual(*list[0]);
    ASSERT_TRUE(cut->sourceActualElement(true, actual));
    EXPECT_EQ(GS::Guid(actual.getUniqueID()), wall);
    EXPECT_EQ(actual.getType(), element_id(API_WallID));
    EXPECT_EQ(GS::Guid(actual.getProxyID()), proxyInSection);
    EXPECT_EQ(actual.getProxySourceLink(), cut->getLink());
    EXPECT_EQ(actual.getSourceLink().getType(), APIWind_FloorPlanID);
    // A list to load keeps the proxies' links too.
    ElementLinkList toLoad;
    EXPECT_EQ(cut->getLinksToLoad(Drawing::Filter(element_id(API_WallID), false), toLoad), 1u);
    ASSERT_EQ(toLoad.size(), 1u);
    EXPECT_EQ(GS::Guid(toLoad[0]->getUniqueID()), proxyInSection);
    EXPECT_EQ(toLoad[0]->getType(), element_id(API_SectElemID));
    // Counting without a list counts what the host lists, of every type.
    EXPECT_EQ(cut->getCount(Drawing::Filter(element_id(API_WallID), false)), 3u);

    // A walk loads the model element behind each proxy.
    auto it = cut->begin(false, Drawing::Filter(element_id(API_WallID), false));
    ASSERT_FALSE(it.atEnd());
    EXPECT_EQ(GS::Guid(it->getUniqueID()), wall);
    EXPECT_EQ(cut->findElementProxy(ElementLink(Guid(wall), plan)).getProxyID(), Guid(proxyInSection));
    ElementLinkList in, out;
    in.push_back(new ElementLink(Guid(wall), plan));
    EXPECT_EQ(cut->findElementProxy(in, out), 1u);

    InteriorElevation* interior = project->getInteriorElevation(DatabaseGuid(interiorID));
    ElementLinkList shown;
    EXPECT_EQ(interior->getLinksMatching(Drawing::Filter(false), &shown), 1u);
    EXPECT_EQ(shown[0]->getType(), element_id(API_SectElemID));
    EXPECT_EQ(GS::Guid(shown[0]->getUniqueID()), proxyInInterior);

    // Selecting the wall in the section selects its proxy there.
    ElementLinkList walls;
    walls.push_back(new ElementLink(Guid(wall), plan));
    ASSERT_TRUE(cut->setSelection(walls));
    ASSERT_EQ(sim::selection().size(), 1u);
    EXPECT_EQ(sim::selection()[0].guid, proxyInSection);
    EXPECT_EQ(sim::selection()[0].neigID, 55);
}

TEST_F(DrawingElementsTest, LoadAndPutWithMemoAndUserData) {
    API_Element object = record(API_ObjectID);
    object.header.hasMemo = true;
    GS::Guid guid = sim::addElement(object);
    sim::setElementInfo(guid, "O-1", "O-1");
    sim::setUserData(guid, {{'x', 'y'}, 1, 19789, 12});

    // With minimal data the element comes without memo parts or user data.
    std::unique_ptr<Element> plain(loadOf(guid));
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->isUserDataLoaded());
    EXPECT_TRUE(static_cast<TestElement&>(*plain).coords().empty());

    Element::m_isMinData = false;
    std::unique_ptr<Element> full(loadOf(guid));
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->isUserDataLoaded());
    std::unique_ptr<MemoryBlock> data(full->getUserData());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->size(), 2);

    // Changing it back writes the memo with its listing ID, then the touched user data.
    auto& element = static_cast<TestElement&>(*full);
    element.coords() = {API_Coord{0, 0}, API_Coord{5, 6}};
    element.getHead().layer = 4;
    element.setListingID("O-2");
    element.setUserData(new MemoryBlock("new", 3));
    ASSERT_TRUE(plan->put(element));
    EXPECT_EQ(sim::element(guid).header.layer, 4);
    EXPECT_EQ(sim::elementInfo(guid), "O-2");
    EXPECT_EQ(sim::userData(guid).bytes.size(), 3u);
    EXPECT_FALSE(element.isUserDataTouched());
    std::unique_ptr<Element> again(loadOf(guid));
    ASSERT_EQ(static_cast<TestElement&>(*again).coords().size(), 2u);

    // A host refusal fails the put and leaves the element as it was.
    sim::failCall("ACAPI_Element_Change", APIERR_NOTMINE);
    element.getHead().layer = 5;
    EXPECT_FALSE(plan->put(element));
    EXPECT_EQ(plan->getLastError(), APIERR_NOTMINE);
    EXPECT_EQ(sim::element(guid).header.layer, 4);
    sim::failCall("ACAPI_Element_SetUserData", APIERR_GENERAL);
    element.setUserDataTouched(true);
    EXPECT_FALSE(plan->put(element));
    EXPECT_TRUE(element.isUserDataTouched());
}

// A changed element's memo carries the listing ID it holds; one it would first have to ask the
// host for goes without, and the host keeps its own. A new element always takes its source's.
TEST_F(DrawingElementsTest, APutSendsTheListingIDTheElementHolds) {
    struct Case {
        const char* label;
        const char* set; // given to the element before the put, or null
        bool asked;      // the element read its ID before the put
        bool copy;       // put as a new element
        const char* expected;
    } cases[] = {
        {"never asked", nullptr, false, false, "O-1"},
        {"asked", nullptr, true, false, "O-1"},
        {"set", "O-2", false, false, "O-2"},
        {"copied", nullptr, false, true, "O-1"},
    };
    Element::m_isMinData = false;
    for (const Case& c : cases) {
        GS::Guid guid = sim::addElement(record(API_ObjectID));
        sim::setElementInfo(guid, "O-1", "O-1");
        std::unique_ptr<Element> element(loadOf(guid));
        ASSERT_NE(element, nullptr) << c.label;
        static_cast<TestElement&>(*element).coords() = {API_Coord{0, 0}, API_Coord{1, 2}};
        if (c.asked) {
            EXPECT_EQ(element->getListingID(false), "O-1") << c.label;
        }
        if (c.set != nullptr) {
            element->setListingID(c.set);
        }
        sim::clearCalls();
        ASSERT_TRUE(plan->put(*element, c.copy, true)) << c.label;
        std::size_t reads = 0;
        for (const sim::CallRecord& call : sim::calls()) {
            reads += call.name == "ACAPI_Database" && call.code == APIDb_GetElementInfoStringID ? 1 : 0;
        }
        EXPECT_EQ(reads, c.copy ? 1u : 0u) << c.label;
        GS::Guid put(element->getUniqueID());
        EXPECT_EQ(put != guid, c.copy) << c.label;
        EXPECT_EQ(sim::elementInfo(put), c.expected) << c.label;
    }
}

TEST_F(DrawingElementsTest, PutCreatesWhenTheElementComesFromElsewhere) {
    GS::Guid guid = sim::addElement(record(API_ObjectID));
    std::unique_ptr<Element> element(loadOf(guid));
    ASSERT_NE(element, nullptr);
    sim::DatabaseRecord worksheet;
    worksheet.type = APIWind_WorksheetID;
    GS::Guid sheetID = sim::addDatabase(worksheet);
    Worksheet* sheet = project->getWorksheet(DatabaseGuid(sheetID));
    ASSERT_TRUE(sheet->put(*element));
    EXPECT_NE(GS::Guid(element->getUniqueID()), guid);
    EXPECT_EQ(sim::elementDatabase(GS::Guid(element->getUniqueID())), sheetID);
    EXPECT_EQ(element->getLink().getSourceLink(), sheet->getLink());

    // An element that says it has a memo but gives none is refused before the host is asked.
    auto* memoless = static_cast<TestElement*>(element.get());
    memoless->getHead().hasMemo = true;
    sim::clearCalls();
    EXPECT_FALSE(plan->put(*memoless));
    EXPECT_EQ(sim::callCount("ACAPI_Element_Create"), 0u);
}

TEST_F(DrawingElementsTest, IteratorWalksBothWaysSkipsFailuresAndWritesBack) {
    std::vector<GS::Guid> guids;
    for (short layer = 1; layer <= 3; ++layer) {
        guids.push_back(sim::addElement(record(API_ObjectID, layer)));
    }
    sim::addElement(record(API_DoorID)); // no factory: skipped

    std::vector<short> seen;
    for (auto it = plan->begin(true, Drawing::Filter(false)); it != plan->end(); ++it) {
        seen.push_back(it->getHead().layer);
        it->getHead().layer = short(it->getHead().layer + 10);
    }
    EXPECT_EQ(seen, (std::vector<short>{1, 2, 3}));
    // Every element the walk left was written back; the last one is written when it is left too.
    EXPECT_EQ(sim::element(guids[0]).header.layer, 11);
    EXPECT_EQ(sim::element(guids[2]).header.layer, 13);

    seen.clear();
    for (auto it = plan->rbegin(false, Drawing::Filter(false)); !it.atEnd(); ++it) {
        seen.push_back(it->getHead().layer);
        it->getHead().layer = 0;
    }
    EXPECT_EQ(seen, (std::vector<short>{13, 12, 11}));
    EXPECT_EQ(sim::element(guids[1]).header.layer, 12); // no auto-write

    // An empty walk ends at once.
    auto none = plan->begin(true, Drawing::Filter(element_id(API_LampID), false));
    EXPECT_TRUE(none.atEnd());
    EXPECT_THROW(none.moveForward(), std::out_of_range);
}

TEST_F(DrawingElementsTest, TransformGivesTheLinkBackAfterEachEdit) {
    GS::Guid guid = sim::addElement(record(API_ObjectID));
    std::unique_ptr<Element> element(loadOf(guid));
    sim::setEditRenewsGuid(true);
    element->pushTransform(new Drag);
    element->pushTransform(new Drag);
    sim::failCall("ACAPI_Element_Edit", APIERR_GENERAL, 1, 1); // the second edit fails
    EXPECT_FALSE(plan->transform(*element));
    // The first edit renewed the GUID, and the element knows it.
    EXPECT_FALSE(sim::hasElement(guid));
    EXPECT_TRUE(sim::hasElement(GS::Guid(element->getUniqueID())));

    element->pushTransform(new Drag);
    EXPECT_TRUE(plan->transform(*element));
    EXPECT_EQ(element->getTransformCount(), 0u);
    EXPECT_TRUE(sim::hasElement(GS::Guid(element->getUniqueID())));
}

TEST_F(DrawingElementsTest, SelectionAndEraseAnswerTheHost) {
    GS::Guid a = sim::addElement(record(API_ObjectID)), b = sim::addElement(record(API_WallID));
    ElementLinkList list;
    list.push_back(new ElementLink(Guid(a), plan));
    list.push_back(new ElementLink(Guid(b), plan));
    ASSERT_TRUE(plan->setSelection(list));
    ASSERT_NE(plan->getSelection(), nullptr);
    EXPECT_EQ(plan->getSelection()->size(), 2u);
    std::unique_ptr<Element> last(plan->getLastSelected(element_id(API_ObjectID)));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(GS::Guid(last->getUniqueID()), a);

    // A refused selection is not cached.
    sim::failCall("ACAPI_Element_Select", APIERR_GENERAL, 1, 1);
    EXPECT_FALSE(plan->setSelection(list));
    sim::clearFaults();
    EXPECT_EQ(plan->getSelection(), nullptr);

    ListSelection selection;
    selection.links.push_back(new ElementLink(Guid(a), plan));
    sim::failCall("ACAPI_Element_Delete", APIERR_NOTMINE);
    EXPECT_FALSE(plan->erase(selection));
    EXPECT_TRUE(sim::hasElement(a));
    EXPECT_TRUE(plan->erase(selection));
    EXPECT_FALSE(sim::hasElement(a));
    EXPECT_TRUE(plan->erase(ElementLinkList()));

    ListSelection walls;
    walls.links.push_back(new ElementLink(Guid(b), plan));
    EXPECT_TRUE(plan->applyTool(APITool_Lock, walls));
    EXPECT_TRUE(sim::element(b).header.locked);
    ASSERT_EQ(walls.heads.size(), 1u);
    EXPECT_TRUE(plan->unlock(walls.links));
    EXPECT_FALSE(sim::element(b).header.locked);
    EXPECT_TRUE(plan->group(walls.links));
    EXPECT_FALSE(sim::element(b).header.groupGuid.IsNull());
}

TEST_F(DrawingElementsTest, ViewServices) {
    EXPECT_DOUBLE_EQ(plan->getPixelSize(), 0.01);
    sim::failCall("ACAPI_Database:PTOC", APIERR_GENERAL, 1, 1);
    EXPECT_EQ(plan->getPixelSize(), 0.0);
    EXPECT_EQ(plan->setScale(50.0), NoError);
    EXPECT_EQ(plan->getScale(), 50.0);
    EXPECT_EQ(plan->setZoom(Cube(5, 5, 0, 1, 2, 0)), NoError);
    std::unique_ptr<Cube> zoom(plan->getZoom(false));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->getOrigin().x(), 1);
    EXPECT_EQ(zoom->getEnd().y(), 5);
    EXPECT_EQ(plan->redraw(), NoError);
    EXPECT_EQ(plan->rebuild(true), NoError);
    EXPECT_EQ(sim::redrawCount(), 1);
    EXPECT_EQ(sim::rebuildCount(), 1);
    sim::failCall("ACAPI_Database:GZOM", APIERR_GENERAL);
    EXPECT_EQ(plan->getZoom(false), nullptr);
}

TEST_F(DrawingElementsTest, UserDataOnlyAndRenovationFilters) {
    API_Element object = record(API_ObjectID);
    GS::Guid plain = sim::addElement(object);
    object.header.renovationStatus = 2;
    GS::Guid demolished = sim::addElement(object);
    sim::setUserData(demolished, {{'d'}, 1, 19789, 12});

    Drawing::Filter withData(element_id(API_ObjectID), false, false, true);
    EXPECT_EQ(loadOf(plain, &withData), nullptr);
    EXPECT_NE(loadOf(demolished, &withData), nullptr);

    // 0x400 asks for the active renovation filter when the filter names none.
    GS::Guid active;
    active.Generate();
    sim::setActiveRenovationFilter(active);
    sim::setRenovationFilterHides(active, {2});
    Drawing::Filter shown(APIFilt_IsVisibleByRenovation, element_id(API_ObjectID), false);
    EXPECT_EQ(plan->getCount(shown), 1u);
    GS::Guid other;
    other.Generate();
    shown.setPhaseFilter(Guid(other));
    EXPECT_EQ(plan->getCount(shown), 2u);
    EXPECT_EQ(loadOf(demolished, &shown) != nullptr, true);
}

TEST_F(DrawingElementsTest, SettingsLinksScriptsAndHighlights) {
    API_Element object = record(API_ObjectID, 1);
    GS::Guid guid = sim::addElement(object);
    object.header.layer = 6;
    GS::Guid model = sim::addElement(object);
    std::unique_ptr<Element> element(loadOf(guid));
    std::unique_ptr<Element> from(loadOf(model));
    element->pushTransform(new Drag);
    ASSERT_TRUE(plan->putSetting(*element, from.get(), nullptr));
    EXPECT_EQ(sim::element(guid).header.layer, 6);
    EXPECT_EQ(sim::editsOf(GS::Guid(element->getUniqueID())).size(), 1u); // then transformed
    sim::failCall("ACAPI_Element_ChangeParameters", APIERR_GENERAL);
    EXPECT_FALSE(plan->putSetting(*element));

    ElementLink a(Guid(guid), plan), b(Guid(model), plan);
    ElementLinkList both;
    both.push_back(b.clone());
    EXPECT_TRUE(plan->addLinksTo(a, both));
    ElementLinkList to;
    EXPECT_EQ(plan->getLinksFrom(a, to), 1u);
    EXPECT_EQ(GS::Guid(to[0]->getUniqueID()), model);
    EXPECT_TRUE(plan->setObserved(a, true));
    EXPECT_TRUE(sim::isObserved(guid));
    EXPECT_TRUE(plan->runParameterScript(a));
    EXPECT_TRUE(plan->show(both));
    EXPECT_EQ(sim::drawnElements().size(), 1u);
    EXPECT_TRUE(plan->highlight(both, CadColour(1, 0, 0), true));
    EXPECT_TRUE(plan->isHighlighted());
    EXPECT_EQ(sim::highlights().size(), 1u);
    EXPECT_EQ(plan->clearHighlights(), NoError);
    EXPECT_FALSE(plan->isHighlighted());
    EXPECT_FALSE(plan->hide(both));
    API_ElementMemo* memo = plan->getMemo(a, 0);
    ASSERT_NE(memo, nullptr);
    ElementMemoStore::disposeRecord(memo);
    sim::failCall("ACAPI_Element_GetMemo", APIERR_GENERAL);
    EXPECT_EQ(plan->getMemo(a, 0), nullptr);
}

// A cut view finds the element a link names among what it shows: by GUID, through the proxy it
// shows it by (whatever its kind, loadable or not), or as drawn in the view itself.
TEST_F(DrawingElementsTest, ACutViewFindsTheProxyOfAnElementByItsGuid) {
    GS::Guid wall = sim::addElement(record(API_WallID));
    GS::Guid column = sim::addElement(record(API_ColumnID));
    GS::Guid hidden = sim::addElement(record(API_WallID));
    sim::DatabaseRecord section;
    section.type = APIWind_SectionID;
    GS::Guid sectionID = sim::addDatabase(section);
    auto proxyOf = [&](const GS::Guid& parent, API_ElemTypeID type) {
        API_Element proxy = record(API_SectElemID);
        proxy.sectElem.parentID = type;
        proxy.sectElem.parentGuid = parent;
        return sim::addElement(proxy, sectionID);
    };
    GS::Guid wallProxy = proxyOf(wall, API_WallID);
    GS::Guid columnProxy = proxyOf(column, API_ColumnID);
    GS::Guid drawn = sim::addElement(record(API_ObjectID), sectionID);
    Section* cut = project->getSection(DatabaseGuid(sectionID));
    ASSERT_NE(cut, nullptr);

    const struct {
        const char* name;
        GS::Guid sought;
        GS::Guid proxy; // null: not found
        API_ElemTypeID type;
    } table[] = {
        {"a wall behind its proxy", wall, wallProxy, API_WallID},
        {"a column behind its proxy", column, columnProxy, API_ColumnID},
        {"a model element the view does not show", hidden, GS::Guid(), API_ZombieElemID},
        {"a proxy named by its own GUID", wallProxy, GS::Guid(), API_ZombieElemID},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        ElementLink found = cut->findElementProxy(ElementLink(Guid(row.sought), plan));
        EXPECT_EQ(GS::Guid(found.getProxyID()), row.proxy);
        EXPECT_EQ(found.getType(), element_id(UInt8(row.type)));
        if (!row.proxy.IsNull()) {
            EXPECT_EQ(GS::Guid(found.getUniqueID()), row.sought);
            EXPECT_EQ(found.getProxySourceLink(), cut->getLink());
        }
    }
    // An element drawn in the view itself is found as it is.
    ElementLink own = cut->findElementProxy(ElementLink(Guid(drawn), cut));
    EXPECT_EQ(GS::Guid(own.getUniqueID()), drawn);
    EXPECT_FALSE(bool(own.getProxyID()));

    // Several at once, each once, in the view's order.
    ElementLinkList in, out;
    for (const GS::Guid& guid : {column, hidden, wall, column}) {
        in.push_back(new ElementLink(Guid(guid), plan));
    }
    EXPECT_EQ(cut->findElementProxy(in, out), 2u);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(GS::Guid(out[0]->getProxyID()), wallProxy);
    EXPECT_EQ(GS::Guid(out[1]->getProxyID()), columnProxy);

    sim::failCall("ACAPI_Element_GetElemList", APIERR_GENERAL);
    EXPECT_FALSE(bool(cut->findElementProxy(ElementLink(Guid(wall), plan)).getUniqueID()));
}

// An element keeps its own storey however it is loaded and however often it is put, also when the
// current storey changes in between (as zooming to an element of another storey does).
TEST_F(DrawingStoreysTest, ElementsStayOnTheirOwnStorey) {
    const struct {
        const char* name;
        API_ElemTypeID type;
    } kinds[] = {{"object", API_ObjectID},
                 {"lamp", API_LampID},
                 {"door", API_DoorID},
                 {"window", API_WindowID},
                 {"wall", API_WallID}};
    const struct {
        const char* name;
        std::function<Element*(Plan&, const GS::Guid&)> load;
    } roads[] = {
        {"by link", [](Plan& p, const GS::Guid& g) { return p[ElementLink(Guid(g), &p)]; }},
        {"loaded", [](Plan& p, const GS::Guid& g) { return p.load(ElementLink(Guid(g), &p)); }},
        {"last selected",
         [](Plan& p, const GS::Guid& g) {
             API_Neig neig;
             neig.guid = g;
             sim::setSelection({neig});
             p.reset();
             return p.getLastSelected(element_id());
         }},
        {"walked",
         [](Plan& p, const GS::Guid& g) -> Element* {
             for (auto it = p.begin(false, Drawing::Filter(false)); !it.atEnd(); ++it) {
                 if (GS::Guid(it->getUniqueID()) == g) {
                     return it.release();
                 }
             }
             return nullptr;
         }},
    };
    const short own = 1;
    for (const auto& kind : kinds) {
        for (short current : {short(0), short(2)}) {
            for (const auto& road : roads) {
                SCOPED_TRACE(std::string(kind.name) + " " + road.name + ", current storey " +
                             std::to_string(current));
                sim::setCurrentStorey(current);
                host.reset();
                GS::Guid guid = placeOn(kind.type, own);
                std::unique_ptr<Element> element(road.load(*plan, guid));
                ASSERT_NE(element, nullptr);
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "loaded";
                ASSERT_TRUE(plan->put(*element));
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "put";
                ASSERT_TRUE(plan->put(*element));
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "put again";
                ASSERT_TRUE(plan->setStorey(*plan->getStorey(short(2 - current)), false));
                ASSERT_TRUE(plan->put(*element));
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "put after the current storey changed";
                element->pushTransform(new Drag);
                ASSERT_TRUE(plan->transform(*element));
                ASSERT_TRUE(plan->put(*element));
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "transformed and put";
                ASSERT_TRUE(plan->putSetting(*element));
                ASSERT_TRUE(plan->put(*element));
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "settings put";
                // Settings taken from an element of another storey leave the storey alone.
                std::unique_ptr<Element> from(element->clone());
                from->setStorey(*plan->getStorey(short(0)), false);
                ASSERT_TRUE(plan->putSetting(*element, from.get()));
                EXPECT_EQ(storeysOf(guid, *element), "1/1/1") << "settings of another storey's element put";
            }
        }
    }
}

// Only a new element and one reassigned take a storey not their own: the current one, or the one
// given. A copy of an element stays on the element's storey.
TEST_F(DrawingStoreysTest, NewElementsTakeTheCurrentStoreyAndReassignedOnesTheGivenOne) {
    sim::setCurrentStorey(2);
    host.reset();
    Wall wall;
    ASSERT_TRUE(plan->put(wall));
    GS::Guid made(wall.getUniqueID());
    EXPECT_EQ(storeysOf(made, wall), "2/2/2");
    ASSERT_TRUE(plan->setStorey(*plan->getStorey(short(0)), false));
    ASSERT_TRUE(plan->put(wall));
    EXPECT_EQ(storeysOf(made, wall), "2/2/2") << "no longer new";

    GS::Guid guid = placeOn(API_ObjectID, 1);
    std::unique_ptr<Element> element((*plan)[ElementLink(Guid(guid), plan)]);
    ASSERT_NE(element, nullptr);
    std::unique_ptr<Element> copy(element->clone());
    ASSERT_TRUE(plan->put(*copy, true));
    EXPECT_EQ(storeysOf(GS::Guid(copy->getUniqueID()), *copy), "1/1/1") << "a copy is no new element";
    ASSERT_TRUE(plan->reassign(*element, nullptr, plan->getStorey(short(2)), nullptr));
    EXPECT_EQ(storeysOf(guid, *element), "2/2/2");
    ASSERT_TRUE(plan->put(*element));
    EXPECT_EQ(storeysOf(guid, *element), "2/2/2");
}
