#include "Database/ElementLink.h"
#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Database/Section.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

Guid makeGuid(UInt32 first) {
    const UInt8 tail[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    return Guid(GS::Guid(first, 0, 0, tail));
}

API_Elem_Head header(API_ElemTypeID type, UInt32 guid, short floor = 0) {
    API_Elem_Head head;
    head.typeID = type;
    head.variationID = MakeGSType("VARI");
    head.guid = GS::Guid(makeGuid(guid));
    head.floorInd = floor;
    return head;
}

} // namespace

TEST(ElementLinkTest, EqualityByGuidOrElseByKindSelectionAndDrawings) {
    Plan plan;
    ElementLink a(header(API_WallID, 1), &plan);
    ElementLink sameGuid(header(API_DoorID, 1), nullptr);
    EXPECT_TRUE(a == sameGuid); // whatever the kind and source
    EXPECT_FALSE(a == ElementLink(header(API_WallID, 2), &plan));

    ElementLink noGuid(element_id(6, 3), 0);
    EXPECT_FALSE(a == noGuid);                               // a has a GUID, the other none
    EXPECT_FALSE(noGuid == a);                               // the other has one
    EXPECT_TRUE(noGuid == ElementLink(element_id(6, 0), 0)); // subtype 0 matches
    EXPECT_FALSE(noGuid == ElementLink(element_id(6, 4), 0));
    EXPECT_FALSE(noGuid == ElementLink(element_id(6, 3), &plan, 0)); // other drawing link

    Section s1(nullptr, makeGuid(7)), s2(nullptr, makeGuid(8));
    EXPECT_FALSE(ElementLink(element_id(6), &s1, 0) == ElementLink(element_id(6), &s2, 0));
    EXPECT_TRUE(ElementLink(element_id(6), &s1, 0) == ElementLink(element_id(6), &s1, 0));
}

TEST(ElementLinkTest, OrderByTypeSubtypeThenHostGuidOrder) {
    struct Case {
        element_id a, b;
        UInt32 guidA, guidB;
        bool less;
    };
    const Case cases[] = {
        {element_id(4, 9), element_id(5, 1), 9, 1, true},  {element_id(5, 1), element_id(4, 9), 1, 9, false},
        {element_id(6, 1), element_id(6, 2), 9, 1, true},  // subtypes decide
        {element_id(6, 0), element_id(6, 2), 9, 1, false}, // subtype 0: the GUIDs decide
        {element_id(6, 0), element_id(6, 2), 1, 9, true},  {element_id(6, 2), element_id(6, 2), 1, 1, false},
    };
    for (const Case& c : cases) {
        ElementLink a(c.a, 0), b(c.b, 0);
        a.setUniqueID(makeGuid(c.guidA));
        b.setUniqueID(makeGuid(c.guidB));
        EXPECT_EQ(a < b, c.less) << int(c.a.getType()) << "/" << int(c.a.getSubtype());
        EXPECT_EQ(b > a, c.less);
    }
}

TEST(ElementLinkTest, HeaderConversionsAndSelectionKinds) {
    Plan plan;
    ElementLink link(header(API_ObjectID, 5, 2), &plan);
    EXPECT_EQ(link.getType(), element_id(6, 0));
    EXPECT_EQ(link.getVariation(), MakeGSType("VARI"));
    EXPECT_TRUE(link.isValid());
    EXPECT_EQ(link.getSelectionValue(), 1);
    EXPECT_EQ(link.getSourceLink().getType(), APIWind_FloorPlanID);
    EXPECT_EQ(short(link.getSourceLink().getStoreyIndex()), 2);

    API_Elem_Head back = link.getHeader();
    EXPECT_EQ(back.typeID, API_ObjectID);
    EXPECT_EQ(back.guid, GS::Guid(makeGuid(5)));
    EXPECT_EQ(back.floorInd, 2);
    EXPECT_EQ(back.variationID, MakeGSType("VARI"));

    ElementLink assigned;
    assigned = header(API_WallID, 6, 1);
    EXPECT_EQ(assigned.getSelectionValue(), 0);
    EXPECT_EQ(assigned.getSourceLink().getType(), 0);
    EXPECT_EQ(short(assigned.getSourceLink().getStoreyIndex()), 1);

    struct Case {
        UInt8 type;
        Int32 neig;
    };
    for (Case c : {Case{1, 1}, Case{4, 10}, Case{6, 13}, Case{20, 0}, Case{29, 55}, Case{31, 57}, Case{32, 0},
                   Case{0, 0}}) {
        ElementLink typed(element_id(c.type), 0);
        EXPECT_EQ(typed.getSelectedType(), c.neig) << int(c.type);
    }

    std::unique_ptr<ElementLink> copy(link.clone());
    EXPECT_TRUE(*copy == link);
    EXPECT_EQ(copy->getSourceLink(), link.getSourceLink());
}

TEST(DrawingLinkTest, CompareOrderAndSameDatabase) {
    DrawingLink floor1(APIWind_FloorPlanID, DatabaseGuid(), 1),
        floor2(APIWind_FloorPlanID, DatabaseGuid(), 2);
    EXPECT_TRUE(floor1 == floor2);
    EXPECT_TRUE(floor1 < floor2);
    DrawingLink model(APIWind_3DModelID);
    EXPECT_FALSE(floor1 == model);
    EXPECT_TRUE(floor1.isSameDatabaseAs(model));
    DrawingLink sectionA(APIWind_SectionID), sectionB(APIWind_SectionID);
    EXPECT_TRUE(sectionA == sectionB); // null identifiers
    EXPECT_FALSE(sectionA.isValid());
    DrawingLink withID(APIWind_SectionID, makeGuid(3)), otherID(APIWind_SectionID, makeGuid(4));
    EXPECT_TRUE(withID.isValid());
    EXPECT_FALSE(withID == otherID);
    EXPECT_TRUE(withID < otherID);
    EXPECT_FALSE(withID.hasStoreys());
    EXPECT_FALSE(withID.isSameDatabaseAs(otherID));
    withID.clear(false);
    EXPECT_EQ(withID.getType(), 0);
    EXPECT_FALSE(DrawingLink().isValid());
}
