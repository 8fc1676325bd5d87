#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/ElevationReference.h"
#include "Element/SectionReference.h"
#include "Environment/Host.h"
#include "GSRoot/BM.hpp"
#include "Memo/ElementMemoStore.h"
#include "PlanFixture.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

using namespace zelvane;

namespace {

class CutPlaneReferenceTest : public plan_testing::PlanFixture {
protected:
    // A marker on the floor plan whose line has the points (the record counting `count` of them).
    static GS::Guid addMarker(API_ElemTypeID type, const std::vector<API_Coord>& line, Int32 count,
                              double bottom = 0.0, double top = 0.0) {
        API_Element record;
        record.header.typeID = type;
        record.header.hasMemo = true;
        API_MarkerType& marker = type == API_ElevationID ? record.elevation : record.cutPlane;
        marker.bottomLevel = bottom;
        marker.topLevel = top;
        marker.nLineCoords = count;
        marker.markerPen = 5;
        const GS::Guid guid = sim::addElement(record);
        if (!line.empty()) {
            API_ElementMemo memo;
            memo.sectionLineCoords =
                reinterpret_cast<API_Coord*>(BMAllocatePtr(GSSize(line.size() * sizeof(API_Coord)), 0, 0));
            std::memcpy(memo.sectionLineCoords, line.data(), line.size() * sizeof(API_Coord));
            sim::storeMemo(guid, &memo, 0x4000);
            ACAPI_DisposeElemMemoHdls(&memo);
        }
        return guid;
    }

    std::unique_ptr<CutPlaneReference> load(const GS::Guid& guid) {
        return PlanFixture::load<CutPlaneReference>(guid);
    }

    static std::vector<API_Coord>
    storedLine(const GS::Guid& guid,
               API_Coord* API_ElementMemo::*block = &API_ElementMemo::sectionLineCoords) {
        API_ElementMemo memo;
        std::vector<API_Coord> line;
        if (ACAPI_Element_GetMemo(guid, &memo, APIMemoMask_Polygon) == NoError && memo.*block != nullptr) {
            std::size_t n =
                std::size_t(BMGetPtrSize(reinterpret_cast<GSPtr>(memo.*block))) / sizeof(API_Coord);
            line.assign(memo.*block, memo.*block + n);
        }
        ACAPI_DisposeElemMemoHdls(&memo);
        return line;
    }

    // Writes a memo holding both lines with the mask.
    static void storeLines(const GS::Guid& guid, const std::vector<API_Coord>& line,
                           const std::vector<API_Coord>& second, UInt64 mask) {
        API_ElementMemo memo;
        auto block = [](const std::vector<API_Coord>& points) {
            auto* made =
                reinterpret_cast<API_Coord*>(BMAllocatePtr(GSSize(points.size() * sizeof(API_Coord)), 0, 0));
            std::memcpy(made, points.data(), points.size() * sizeof(API_Coord));
            return made;
        };
        memo.sectionLineCoords = block(line);
        memo.sectionSecondLineCoords = block(second);
        sim::storeMemo(guid, &memo, mask);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
};

} // namespace

TEST_F(CutPlaneReferenceTest, EachFactoryTakesItsOwnType) {
    struct Case {
        API_ElemTypeID type;
        bool section;
        bool elevation;
    };
    for (const Case& c : {Case{API_CutPlaneID, true, false}, Case{API_ElevationID, false, true},
                          Case{API_SectElemID, false, false}}) {
        API_Element record;
        record.header.typeID = c.type;
        std::unique_ptr<Element> section(SectionReference::create(record, ElementLink()));
        std::unique_ptr<Element> elevation(ElevationReference::create(record, ElementLink()));
        EXPECT_EQ(dynamic_cast<SectionReference*>(section.get()) != nullptr, c.section) << c.type;
        EXPECT_EQ(dynamic_cast<ElevationReference*>(elevation.get()) != nullptr, c.elevation) << c.type;
    }
}

TEST_F(CutPlaneReferenceTest, LevelsPensAndTheDatabase) {
    API_Element defaults;
    defaults.header.typeID = API_ElevationID;
    defaults.elevation.bottomLevel = 1.0;
    defaults.elevation.topLevel = 2.0;
    defaults.elevation.databaseID.Generate();
    sim::setDefaults(defaults);
    ElevationReference marker;
    EXPECT_TRUE(marker.getHead().hasMemo);
    EXPECT_TRUE(GS::Guid(marker.getDatabaseID()) == defaults.elevation.databaseID);
    EXPECT_DOUBLE_EQ(marker.getHeight(), 1.0);
    marker.setHeight(2.5);
    EXPECT_DOUBLE_EQ(marker.getHeight(), 2.5);
    std::unique_ptr<API_Element> data(marker.getData());
    EXPECT_DOUBLE_EQ(data->elevation.topLevel, 3.5);
    marker.setBaseLevel(3.0, true);
    EXPECT_DOUBLE_EQ(marker.getBaseLevel(true), 3.0);
    EXPECT_DOUBLE_EQ(marker.getBaseLevel(false), 3.0) << "no storey is known to the marker";

    struct Case {
        UInt8 use;
        short pen;
    };
    marker.setPen(Pen(attribute_index(9)), Pen::Use(1));
    marker.setPen(Pen(attribute_index(4)), Pen::Use(5)); // not the marker's
    for (const Case& c : {Case{0, 9}, Case{1, 9}, Case{2, 0}, Case{10, 0}}) {
        EXPECT_EQ(short(marker.getPen(Pen::Use(c.use)).getIndex()), c.pen) << int(c.use);
    }
}

TEST_F(CutPlaneReferenceTest, OriginAndDirectionFollowTheLine) {
    const double bottom = 2.0;
    struct Case {
        const char* name;
        std::vector<API_Coord> line;
        Int32 count;
        double x;
        double y;
        double rotation;
    };
    for (const Case& c :
         {Case{"line to the north-east", {{1, 1}, {3, 3}, {5, 3}}, 3, 1, 1, std::atan2(2.0, 2.0)},
          Case{"line to the west", {{4, 0}, {0, 0}}, 2, 4, 0, std::atan2(0.0, -1.0)},
          Case{"no line", {}, 0, 0, 0, 0.0}, Case{"count beyond the block", {{1, 1}, {3, 3}}, 5, 0, 0, 0.0},
          Case{"a single point", {{7, 7}}, 1, 0, 0, 0.0}}) {
        const GS::Guid guid = addMarker(API_CutPlaneID, c.line, c.count, bottom);
        auto marker = load(guid);
        ASSERT_NE(marker, nullptr) << c.name;
        CadPoint origin = marker->getOrigin();
        EXPECT_DOUBLE_EQ(origin.x(), c.x) << c.name;
        EXPECT_DOUBLE_EQ(origin.y(), c.y) << c.name;
        EXPECT_DOUBLE_EQ(origin.z(), c.line.size() >= 2 && c.count <= Int32(c.line.size()) ? bottom : 0.0)
            << c.name;
        EXPECT_NEAR(marker->getRotation2D(), c.rotation, 1e-9) << c.name;
    }
}

TEST_F(CutPlaneReferenceTest, AChangedLineIsPutBackWithItsCount) {
    const GS::Guid guid = addMarker(API_CutPlaneID, {{0, 0}, {4, 0}}, 2, 1.0, 4.0);
    auto marker = load(guid);
    ASSERT_NE(marker, nullptr);
    marker->setOrigin(CadPoint(10.0, 5.0, 2.0));
    CadPolygon* line = marker->getPolygon();
    ASSERT_NE(line, nullptr);
    line->push_back(new PolyPoint(CadPoint(14.0, 9.0), 0.0, 0));
    ASSERT_TRUE(host.getFrontPlan()->put(*marker));

    const API_Element stored = sim::element(guid);
    EXPECT_EQ(stored.cutPlane.nLineCoords, 3) << "the record counts the line put with it";
    EXPECT_DOUBLE_EQ(stored.cutPlane.bottomLevel, 2.0);
    std::vector<API_Coord> points = storedLine(guid);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[0].x, 10.0);
    EXPECT_DOUBLE_EQ(points[1].x, 14.0);
    EXPECT_DOUBLE_EQ(points[1].y, 5.0);
    EXPECT_DOUBLE_EQ(points[2].y, 9.0);

    auto again = load(guid);
    ASSERT_NE(again, nullptr);
    EXPECT_DOUBLE_EQ(again->getOrigin().x(), 10.0);
    EXPECT_EQ(again->getPolygon()->vertSize(), 3);

    // A marker without a usable line packs no memo.
    SectionReference empty;
    unsigned long long mask = 0xFF;
    EXPECT_EQ(empty.getMemo(mask), nullptr);
    EXPECT_EQ(mask, 0u);
}

TEST_F(CutPlaneReferenceTest, TheSecondLineIsLoadedMovedAndPutBack) {
    const struct {
        const char* name;
        API_ElemTypeID type;
        std::vector<API_Coord> second;
    } table[] = {{"section with a second line", API_CutPlaneID, {{0, 2}, {4, 2}}},
                 {"elevation with a second line", API_ElevationID, {{1, -3}, {2, -3}, {3, -1}}},
                 {"section without one", API_CutPlaneID, {}}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        const GS::Guid guid = addMarker(row.type, {{0, 0}, {4, 0}}, 2);
        if (!row.second.empty()) {
            // Each line has its own bit.
            storeLines(guid, {{0, 0}, {4, 0}}, {{9, 9}}, 0x4000);
            EXPECT_TRUE(storedLine(guid, &API_ElementMemo::sectionSecondLineCoords).empty());
            storeLines(guid, {{7, 7}}, row.second, 0x8000);
            EXPECT_EQ(storedLine(guid).size(), 2u);
        }
        auto marker = load(guid);
        ASSERT_NE(marker, nullptr);
        ASSERT_EQ(marker->getSecondLine().size(), row.second.size());

        unsigned long long mask = 0;
        API_ElementMemo* packed = marker->getMemo(mask);
        ASSERT_NE(packed, nullptr);
        EXPECT_EQ((mask & 0x8000) != 0, !row.second.empty());
        EXPECT_EQ(packed->sectionSecondLineCoords != nullptr, !row.second.empty());
        ElementMemoStore::disposeRecord(packed);

        marker->setOrigin(CadPoint(10.0, 5.0, 0.0));
        ASSERT_TRUE(host.getFrontPlan()->put(*marker));
        std::vector<API_Coord> stored = storedLine(guid, &API_ElementMemo::sectionSecondLineCoords);
        ASSERT_EQ(stored.size(), row.second.size());
        for (std::size_t i = 0; i < stored.size(); ++i) {
            EXPECT_DOUBLE_EQ(stored[i].x, row.second[i].x + 10.0);
            EXPECT_DOUBLE_EQ(stored[i].y, row.second[i].y + 5.0);
        }
        std::unique_ptr<Element> copy(marker->clone());
        EXPECT_EQ(static_cast<CutPlaneReference&>(*copy).getSecondLine().size(), row.second.size());
    }
}

TEST_F(CutPlaneReferenceTest, TheStartMarkerIsNamedInTheMarkersDrawing) {
    GS::Guid start;
    start.Generate();
    API_Element record;
    record.header.typeID = API_CutPlaneID;
    record.cutPlane.startMarkerGuid = start;
    const GS::Guid guid = sim::addElement(record);
    auto marker = load(guid);
    ASSERT_NE(marker, nullptr);
    ElementLink link = marker->getStartMarkerLink();
    EXPECT_TRUE(GS::Guid(link.getUniqueID()) == start);
    EXPECT_EQ(link.getSource(), host.getFrontPlan());
    EXPECT_TRUE(marker->isForwardDirection());
}

TEST_F(CutPlaneReferenceTest, LevelsAreAbsoluteAndRelativeToTheStorey) {
    sim::setStoreys({{0, 0, 0.0, "Ground"}, {1, 1, 3.0, "First"}}, 6.0);
    API_Element record;
    record.header.typeID = API_CutPlaneID;
    record.header.floorInd = 1;
    record.cutPlane.bottomLevel = 3.0;
    auto marker = load(sim::addElement(record));
    ASSERT_NE(marker, nullptr);
    EXPECT_DOUBLE_EQ(marker->getBaseLevel(false), 0.0);
    EXPECT_DOUBLE_EQ(marker->getBaseLevel(true), 3.0);
    marker->setBaseLevel(1.0, false);
    EXPECT_DOUBLE_EQ(marker->getBaseLevel(true), 4.0);
    marker->setBaseLevel(1.0, true);
    EXPECT_DOUBLE_EQ(marker->getBaseLevel(false), -2.0);
}
