#include "ACAPI/ElementRelations.hpp"
#include "GSRoot/BM.hpp"
#include "sim/ElementRelations.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

namespace {

GS::Guid newGuid() {
    GS::Guid guid;
    guid.Generate();
    return guid;
}

template <typename T>
std::size_t entries(T** handle) {
    return handle == nullptr ? 0
                             : std::size_t(BMGetHandleSize(reinterpret_cast<GSHandle>(handle))) / sizeof(T);
}

} // namespace

TEST(ElementRelationsTest, FiveListsAndTheOutlineInNewHandles) {
    const GS::Guid wall = newGuid(), a = newGuid(), b = newGuid();
    sim::WallRelations relations;
    relations.lists[0] = {API_ConnectionGuidItem{a, true}};
    relations.lists[3] = {API_ConnectionGuidItem{a, false}, API_ConnectionGuidItem{b, true}};
    relations.coords = {{0, 0}, {4, 0}, {4, 1}, {0, 0}};
    relations.pends = {4};
    relations.arcs = {API_PolyArc{1, 2, 0.5}};
    sim::setWallRelations(wall, relations);

    API_WallRelation record;
    ASSERT_EQ(ACAPI_Element_GetRelations(wall, API_WallID, &record), NoError);
    const Int32 counts[5] = {record.nConBeg, record.nConEnd, record.nConRef, record.nConOther,
                             record.nConCross};
    API_ConnectionGuidItem** lists[5] = {record.conBeg, record.conEnd, record.conRef, record.conOther,
                                         record.conCross};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(counts[i], Int32(relations.lists[i].size())) << i;
        EXPECT_EQ(entries(lists[i]), relations.lists[i].size()) << i;
    }
    EXPECT_TRUE((*record.conOther)[1].guid == b);
    EXPECT_TRUE((*record.conOther)[1].conWithBeg);
    EXPECT_EQ(record.wallPolygon.nCoords, 4);
    EXPECT_EQ(entries(record.coords), 5u) << "coordinate 0 is the placeholder";
    EXPECT_EQ((*record.coords)[2].x, 4.0);
    EXPECT_EQ(entries(record.pends), 2u);
    EXPECT_EQ((*record.pends)[1], 4);
    EXPECT_EQ(record.wallPolygon.nArcs, 1);
    EXPECT_EQ((*record.parcs)[0].arcAngle, 0.5);
    EXPECT_EQ(ACAPI_DisposeWallRelationHdls(&record), NoError);
    EXPECT_EQ(record.conOther, nullptr);
    EXPECT_EQ(record.coords, nullptr);
}

TEST(ElementRelationsTest, DamagedCountsAndRefusals) {
    const GS::Guid wall = newGuid();
    sim::WallRelations relations;
    relations.lists[4] = {API_ConnectionGuidItem{newGuid(), false}};
    relations.countExcess = 3;
    sim::setWallRelations(wall, relations);
    API_WallRelation record;
    ASSERT_EQ(ACAPI_Element_GetRelations(wall, API_WallID, &record), NoError);
    EXPECT_EQ(record.nConCross, 4) << "the count says more than the handle holds";
    EXPECT_EQ(entries(record.conCross), 1u);
    EXPECT_EQ(record.nConBeg, 3);
    EXPECT_EQ(record.conBeg, nullptr);
    ACAPI_DisposeWallRelationHdls(&record);

    struct Case {
        const char* name;
        GS::Guid guid;
        API_ElemTypeID other;
        int failedAllocations;
        GSErrCode expected;
    };
    for (const Case& c : {Case{"unknown wall", newGuid(), API_WallID, 0, APIERR_BADID},
                          Case{"not a wall relation", wall, API_DoorID, 0, APIERR_BADPARS},
                          Case{"no memory", wall, API_WallID, 1, APIERR_MEMFULL}}) {
        sim::failNextAllocations(c.failedAllocations);
        API_WallRelation refused;
        EXPECT_EQ(ACAPI_Element_GetRelations(c.guid, c.other, &refused), c.expected) << c.name;
        EXPECT_EQ(refused.conCross, nullptr) << c.name;
        sim::failNextAllocations(0);
    }
    EXPECT_EQ(ACAPI_Element_GetRelations(wall, API_WallID, nullptr), APIERR_BADPARS);
}
