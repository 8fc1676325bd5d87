#include "ACAPI/ElementTable.hpp"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Element.h"
#include "Element/ElementQuantity.h"
#include "Element/Group.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "Geometry/Cube.h"
#include "sim/ElementBounds.h"
#include "sim/ElementGroups.h"
#include "sim/ElementQuantities.h"
#include "sim/ElementTable.h"
#include "sim/ElementTrims.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/SolidLinks.h"
#include "support/RecordElement.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

using namespace zelvane;

namespace {

// An element kind of a plain host record, whose memo read can be made to throw.
class Plain : public RecordElement {
public:
    explicit Plain(const ElementLink& link) : RecordElement(link) {}

    Element* clone() const override { return new Plain(*this); }
    using RecordElement::getMemo;
    void getMemo(unsigned long long mask, MemoStore*& store) const override {
        seenMinData = m_isMinData;
        if (throwOnMemo) {
            throw std::bad_alloc();
        }
        Element::getMemo(mask, store);
    }
    StructureType getStructureType() const override { return structure; }
    double getBaseLevel(bool) const override { return level; }

    bool throwOnMemo = false;
    mutable bool seenMinData = true;
    StructureType structure = basic;
    double level = 0.0;
};

class ElementHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        plan = host.getProject()->getFloorPlan();
    }
    void TearDown() override {
        Element::m_isMinData = true;
        host.reset();
    }

    GS::Guid add(API_ElemTypeID type = API_ObjectID) {
        API_Element record;
        record.header.typeID = type;
        return sim::addElement(record);
    }
    Plain elementOf(const GS::Guid& guid) {
        Plain element(ElementLink(Guid(guid), plan));
        element.record() = sim::element(guid);
        return element;
    }

    Plan* plan = nullptr;
};

} // namespace

TEST_F(ElementHostTest, ListingIDsWithAndWithoutAPrefix) {
    struct Case {
        const char* element;
        const char* compound;
        bool compoundFails;
        const char* master;
    } cases[] = {
        {"D-7", "Floor 1/D-7", false, "Floor 1/"},
        {"D-7", "D-7", false, ""},
        {"LONGER-ID", "X", false, ""}, // shorter compound: no prefix
        {"D-7", "Floor 1/D-7", true, ""},
    };
    for (const Case& c : cases) {
        GS::Guid guid = add();
        sim::setElementInfo(guid, c.element, c.compound);
        if (c.compoundFails) {
            sim::failCall("ACAPI_Database:GCIS", APIERR_GENERAL);
        }
        Plain element = elementOf(guid);
        EXPECT_EQ(element.getListingID(false), c.element) << c.compound;
        EXPECT_EQ(element.getMasterID(), c.master) << c.compound;
        String whole(c.master);
        whole += String(c.element);
        EXPECT_EQ(element.getListingID(true), whole) << c.compound;
        sim::clearFaults();
    }
}

TEST_F(ElementHostTest, AssignmentReadsTheListingIDAfresh) {
    GS::Guid first = add(), second = add();
    sim::setElementInfo(first, "A-1", "A-1");
    sim::setElementInfo(second, "B-2", "M/B-2");
    Plain a = elementOf(first), b = elementOf(second);
    EXPECT_EQ(a.getListingID(false), "A-1");
    EXPECT_EQ(b.getListingID(false), "B-2");
    a = b;
    EXPECT_EQ(a.getListingID(true), "M/B-2");
}

TEST_F(ElementHostTest, OwnerDataBothWays) {
    GS::Guid guid = add();
    Plain element = elementOf(guid);
    int version = 5;
    Platform::Endianness order = Platform::bigEndian;
    EXPECT_EQ(element.getOwnerData(&version, &order), nullptr); // none attached: 0x8106006D is no data
    EXPECT_EQ(version, 0);

    sim::UserDataRecord record;
    record.bytes = {'a', 'b', 'c'};
    record.version = 3;
    record.platformSign = 0x5757;
    sim::setUserData(guid, record);
    std::unique_ptr<MemoryBlock> block(element.getOwnerData(&version, &order));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->size(), 3);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(order, Platform::littleEndian);

    element.setUserData(new MemoryBlock("xy", 2));
    version = 9;
    block.reset(element.getOwnerData(&version, nullptr));
    EXPECT_EQ(block->size(), 2);
    EXPECT_EQ(version, 9); // the held block: untouched

    EXPECT_FALSE(element.setOwnerData(MemoryBlock(), 0, false, 12));
    block.reset(element.getOwnerData(nullptr, nullptr));
    EXPECT_EQ(block->size(), 3) << "the held block is dropped: the host's is read";
    EXPECT_TRUE(element.setOwnerData(MemoryBlock("wxyz", 4), 0, true, 7));
    sim::UserDataRecord written = sim::userData(guid);
    EXPECT_EQ(written.bytes.size(), 4u);
    EXPECT_EQ(written.version, 1);
    EXPECT_EQ(written.platformSign, 19789);
    EXPECT_EQ(written.flags, 7u);
    EXPECT_TRUE(sim::isObserved(guid));

    sim::failCall("ACAPI_Element_SetUserData", APIERR_GENERAL);
    EXPECT_FALSE(element.setOwnerData(MemoryBlock("q", 1), 0, false, 12));
}

TEST_F(ElementHostTest, TrimsAreCopiedAndAFailedReadStops) {
    GS::Guid source = add(), target = add(), cutter = add(), other = add();
    ASSERT_EQ(ACAPI_Element_Trim_ElementsWith(source, cutter, APITrim_KeepInside), NoError);
    ASSERT_EQ(ACAPI_Element_Trim_ElementsWith(source, other, APITrim_KeepAll), NoError);
    Plain from = elementOf(source), to = elementOf(target);
    ElementLinkList trimming;
    from.getTrimmingElements(trimming);
    ASSERT_EQ(trimming.size(), 2u);
    EXPECT_EQ(trimming.front()->getUniqueID(), Guid(cutter));

    EXPECT_TRUE(to.copyTrim(from));
    auto trims = sim::trimsOf(target);
    ASSERT_EQ(trims.size(), 2u);
    EXPECT_EQ(trims[0].second, APITrim_KeepInside);
    EXPECT_EQ(trims[1].second, APITrim_KeepAll);

    sim::failCall("ACAPI_Element_Trim_GetTrimType", APIERR_GENERAL, 1, 1);
    GS::Guid third = add();
    Plain fresh = elementOf(third);
    EXPECT_FALSE(fresh.copyTrim(from));
    EXPECT_EQ(sim::trimsOf(third).size(), 1u); // the first was made before the failure
}

TEST_F(ElementHostTest, SolidOperationsAreCopiedReplacedAndAFailedCreationIsReported) {
    GS::Guid source = add(), target = add(), a = add(), b = add(), own = add();
    ASSERT_EQ(ACAPI_Element_SolidLink_Create(source, a, APISolid_Substraction, 3), NoError);
    ASSERT_EQ(ACAPI_Element_SolidLink_Create(source, b, APISolid_Addition, 0), NoError);
    Plain to = elementOf(target);
    EXPECT_TRUE(to.addSEO(ElementLink(Guid(own), plan), APISolid_Intersection, 1));

    EXPECT_TRUE(to.copySEO(ElementLink(Guid(source), plan), true));
    auto links = sim::solidLinksOf(target);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].op, a);
    EXPECT_EQ(links[0].operation, APISolid_Substraction);
    EXPECT_EQ(links[0].flags, 3u);
    EXPECT_EQ(links[1].operation, APISolid_Addition);

    GS::Guid other = add();
    Plain second = elementOf(other);
    sim::failCall("ACAPI_Element_SolidLink_Create", APIERR_GENERAL);
    EXPECT_FALSE(second.copySEO(ElementLink(Guid(source), plan), false));
    EXPECT_EQ(sim::solidLinksOf(other).size(), 1u); // the other one is still made

    sim::failCall("ACAPI_Element_SolidLink_GetOperators", APIERR_BADID);
    EXPECT_FALSE(second.copySEO(ElementLink(Guid(source), plan), false));
    EXPECT_TRUE(second.copySEO(ElementLink(Guid(own), plan), true)); // no operators: unchanged
    EXPECT_EQ(sim::solidLinksOf(other).size(), 1u);
}

TEST_F(ElementHostTest, ToolDefaultsWithMemoAndUserData) {
    API_Element defaults;
    defaults.header.typeID = API_ObjectID;
    defaults.header.variationID = 9;
    defaults.header.layer = 4;
    sim::setDefaults(defaults);
    ElementLink link(element_id(API_ObjectID), 9);
    Plain element(link);
    API_Element record;
    ASSERT_TRUE(element.getDefaultData(&record, nullptr));
    EXPECT_EQ(record.header.layer, 4);
    sim::failCall("ACAPI_Element_GetDefaults", APIERR_GENERAL);
    EXPECT_FALSE(element.getDefaultData(&record, nullptr));

    element.record().header.layer = 6;
    element.record().header.variationID = 9;
    EXPECT_TRUE(element.makeDefault()); // user data not loaded: not stored
    EXPECT_EQ(sim::defaults(API_ObjectID, 9).header.layer, 6);
    EXPECT_FALSE(sim::hasDefaultUserData(API_ObjectID, 9));

    element.setUserData(new MemoryBlock("def", 3));
    element.setUserDataVersion(2);
    EXPECT_TRUE(element.makeDefault());
    ASSERT_TRUE(sim::hasDefaultUserData(API_ObjectID, 9));
    EXPECT_EQ(sim::defaultUserData(API_ObjectID, 9).version, 2);
    EXPECT_EQ(sim::defaultUserData(API_ObjectID, 9).bytes.size(), 3u);

    sim::failCall("ACAPI_Element_ChangeDefaults", APIERR_GENERAL);
    EXPECT_FALSE(element.makeDefault());
}

TEST_F(ElementHostTest, MaterialQuantitiesByStructure) {
    GS::Guid guid = add(API_WallID);
    sim::setQuantities(guid, API_ElementQuantity{}, {{3, 1.5, 2.0}, {4, 0.5, 1.0}, {3, 0.25, 4.0}});
    Plain element = elementOf(guid);
    element.structure = Element::composite;
    EXPECT_DOUBLE_EQ(element.getMaterialVolume(attribute_index(3)), 1.75);
    EXPECT_DOUBLE_EQ(element.getMaterialVolume(attribute_index(9)), 0.0);
    EXPECT_DOUBLE_EQ(sim::lastQuantityParameters().minOpeningSize, 1e-5);
    EXPECT_EQ(static_cast<unsigned char>(sim::lastQuantityMask().composites.buildMatIndices & 0xFF), 0xFF);
    EXPECT_EQ(sim::lastQuantityMask().elements.volume, 0.0);
    EXPECT_DOUBLE_EQ(element.getMaterialArea(attribute_index(3)), 0.0); // no composite pattern

    sim::failCall("ACAPI_Element_GetQuantities", APIERR_GENERAL);
    EXPECT_DOUBLE_EQ(element.getMaterialVolume(attribute_index(3)), 0.0);
    element.structure = Element::profiled;
    EXPECT_DOUBLE_EQ(element.getMaterialVolume(attribute_index(3)), 0.0);

    ElementQuantity quantity;
    ElementQuantity::setMask(&quantity.compositeMask().volumes);
    ElementQuantity copy(quantity);
    ASSERT_TRUE(copy.measure(element.getLink()));
    EXPECT_EQ(copy.getComposites().GetSize(), 3u);
    EXPECT_DOUBLE_EQ(copy.getComposites()[1].volumes, 0.5);
    EXPECT_EQ(copy.getComposites()[1].buildMatIndices, 0); // not asked for
}

TEST_F(ElementHostTest, BoundsComeFromTheHostFlatAtTheBaseLevel) {
    GS::Guid guid = add();
    Plain element = elementOf(guid);
    EXPECT_EQ(element.getBoundingCube(true), nullptr); // no body
    EXPECT_DOUBLE_EQ(element.getWidth(), 0.0);
    sim::setElementBounds(guid, API_Box3D{2.1, 1.0, 0.5, 0.1, 3.0, 2.5});
    element.level = 0.75;
    std::unique_ptr<Cube> box(element.getBoundingCube(true));
    ASSERT_NE(box, nullptr);
    EXPECT_NEAR(box->getOrigin().x(), 0.1, 1e-6);
    EXPECT_NEAR(box->getEnd().x(), 2.1, 1e-6);
    EXPECT_DOUBLE_EQ(box->getOrigin().z(), 0.75);
    EXPECT_DOUBLE_EQ(box->getEnd().z(), 0.75);
    EXPECT_NEAR(element.getWidth(), 2.0, 1e-6);
    EXPECT_NEAR(element.getDepth(), 2.0, 1e-6);
    EXPECT_DOUBLE_EQ(element.getHeight(), 0.0);
}

TEST_F(ElementHostTest, ForceLoadRestoresTheSwitchOnEveryPath) {
    Plain element(ElementLink(Guid(add()), plan));
    for (bool was : {true, false}) {
        Element::m_isMinData = was;
        element.throwOnMemo = false;
        element.forceLoad();
        EXPECT_FALSE(element.seenMinData);
        EXPECT_EQ(Element::m_isMinData, was);
        element.throwOnMemo = true;
        EXPECT_THROW(element.forceLoad(), std::bad_alloc);
        EXPECT_EQ(Element::m_isMinData, was);
    }
}

TEST_F(ElementHostTest, HeaderValuesReachTheHostWithTheElement) {
    struct Case {
        const char* name;
        void (*set)(Element&);
        bool (*stored)(const API_Elem_Head&);
    };
    const Case cases[] = {
        {"group layer", [](Element& e) { e.setRefGroupLayer(12); },
         [](const API_Elem_Head& h) { return h.groupLayer == 12; }},
        {"drawing order", [](Element& e) { e.setDisplayOrder(3); },
         [](const API_Elem_Head& h) { return h.drwIndex == 3; }},
        {"hotlink", [](Element& e) { e.setHotlinkID(Guid().generate()); },
         [](const API_Elem_Head& h) { return !h.hotlinkGuid.IsNull(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GS::Guid guid = add();
        Plain element = elementOf(guid);
        c.set(element);
        EXPECT_FALSE(c.stored(sim::element(guid).header)); // not before the put
        ASSERT_TRUE(plan->put(element, false, false));
        EXPECT_TRUE(c.stored(sim::element(guid).header));
    }
    Plain read = elementOf(add());
    read.record().header.groupLayer = -4;
    EXPECT_EQ(read.getRefGroupLayer(), -4);
}

TEST_F(ElementHostTest, DeltasTakeOnlyWhatChanged) {
    Plain reference(ElementLink(element_id(6), 0)), edited(reference), mine(reference);
    mine.record().header.layer = 7;
    edited.record().header.renovationStatus = 3;
    mine.applyDelta(edited, reference);
    EXPECT_EQ(mine.getHead().renovationStatus, 3);
    EXPECT_EQ(mine.getHead().layer, 7);
    EXPECT_TRUE(mine.getHead().groupGuid.IsNull());
}

TEST_F(ElementHostTest, GroupsLinksAndObservers) {
    GS::Guid guid = add(), to = add();
    Plain element = elementOf(guid);
    EXPECT_EQ(element.getMainGroupID(), Guid()); // in no group
    Guid inner, outer;
    inner.generate();
    outer.generate();
    sim::setGroupParent(inner, outer);
    element.setGroup(Group(inner));
    std::unique_ptr<Group> main(element.getMainGroup());
    EXPECT_EQ(main->getID(), outer);

    ElementLink target(Guid(to), plan);
    EXPECT_TRUE(element.addLinkTo(target, 0x20));
    EXPECT_EQ(element.getLinkUserData(target), 0x20u);
    ElementLinkList links;
    element.getLinks(links);
    EXPECT_EQ(links.size(), 1u);
    EXPECT_TRUE(element.removeLinkTo(target));
    EXPECT_EQ(element.getLinkUserData(target), 0u);
    EXPECT_FALSE(element.removeLinkTo(target));
    EXPECT_TRUE(element.setObserved(true));
    EXPECT_TRUE(sim::isObserved(guid));
    EXPECT_TRUE(element.setObserved(false));
    EXPECT_FALSE(element.setObserved(false));
}
