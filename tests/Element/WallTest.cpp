#include "Element/Wall.h"
#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "Attribute/Composite.h"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "GSRoot/BM.hpp"
#include "Memo/ElementMemoStore.h"
#include "PlanFixture.h"
#include "sim/Attributes.h"
#include "sim/Databases.h"
#include "sim/ElementMemos.h"
#include "sim/ElementQuantities.h"
#include "sim/ElementRelations.h"
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
using plan_testing::wallRecord;

namespace {

constexpr double pi = 3.14159265358979323846;

class WallTest : public plan_testing::PlanFixture {
protected:
    void SetUp() override {
        PlanFixture::SetUp();
        Drawing::addAdapter(element_id(API_WallID), Wall::create, false);
    }

    std::unique_ptr<Wall> load(const GS::Guid& guid) { return PlanFixture::load<Wall>(guid); }

    static GS::Guid newGuid() {
        GS::Guid guid;
        guid.Generate();
        return guid;
    }
};

} // namespace

TEST_F(WallTest, LengthRotationAndRadius) {
    const double root2 = std::sqrt(2.0);
    struct Case {
        const char* name;
        API_Coord end;
        double sweep;
        double length;
        double rotation;
        double radius;
    };
    for (const Case& c : {Case{"straight", {4, 3}, 0.0, 5.0, std::atan2(3.0, 4.0), 0.0},
                          Case{"half circle", {2, 0}, pi, pi, 0.0, 1.0},
                          Case{"clockwise half circle", {2, 0}, -pi, pi, 0.0, 1.0},
                          Case{"three quarters", {1, 1}, 1.5 * pi, 1.5 * pi, pi / 4, 1.0},
                          Case{"clockwise three quarters", {1, 1}, -1.5 * pi, 1.5 * pi, pi / 4, 1.0},
                          Case{"quarter", {root2, 0}, pi / 2, pi / 2, 0.0, 1.0}}) {
        Wall wall(wallRecord({0, 0}, c.end, c.sweep), ElementLink());
        EXPECT_NEAR(wall.getLength(), c.length, 1e-9) << c.name;
        EXPECT_NEAR(wall.getRotation2D(), c.rotation, 1e-9) << c.name;
        EXPECT_NEAR(wall.getRadius(), c.radius, 1e-9) << c.name;
    }
}

TEST_F(WallTest, TurningKeepsTheChordAndTheRadius) {
    struct Case {
        const char* name;
        API_Coord end;
        double sweep;
        double angle;
    };
    for (const Case& c : {Case{"straight anticlockwise", {4, 3}, 0.0, pi / 2},
                          Case{"straight clockwise", {4, 3}, 0.0, -pi / 3},
                          Case{"curved anticlockwise", {2, 0}, pi / 2, pi / 2},
                          Case{"curved clockwise", {2, 0}, -pi / 2, -pi / 4}}) {
        Wall wall(wallRecord({1, 1}, {1 + c.end.x, 1 + c.end.y}, c.sweep), ElementLink());
        const double chord = wall.getOrigin().lengthTo2D(wall.getEnd());
        const double radius = wall.getRadius();
        wall.setRotation2D(c.angle);
        EXPECT_NEAR(wall.getOrigin().lengthTo2D(wall.getEnd()), chord, 1e-9) << c.name;
        EXPECT_NEAR(wall.getRadius(), radius, 1e-9) << c.name;
        double rotation = wall.getRotation2D();
        double expected = c.angle < 0 ? c.angle + 2 * pi : c.angle;
        EXPECT_NEAR(rotation, expected, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(wall.getOrigin().x(), 1.0) << c.name;
    }
}

TEST_F(WallTest, RecordMembersAndTheCentreLine) {
    Wall wall(wallRecord({0, 0}, {4, 0}), ElementLink());
    wall.setJunctionOrder(3);
    EXPECT_EQ(wall.getWallData().sequence, 4500);
    EXPECT_EQ(wall.getJunctionOrder(), 3);
    wall.getWallData().sequence = 0;
    EXPECT_EQ(wall.getJunctionOrder(), 0);
    wall.setEndThickness(0.5);
    EXPECT_DOUBLE_EQ(wall.getEndThickness(), 0.3) << "only trapezoid walls have their own";
    wall.getWallData().type = Wall::trapezoid;
    EXPECT_DOUBLE_EQ(wall.getEndThickness(), 0.5);
    EXPECT_EQ(wall.getShapeType(), 0);
    EXPECT_TRUE(wall.isHomeStoreyOnly());

    struct Case {
        bool flipped;
        double offset;
        double y;
    };
    for (const Case& c : {Case{false, 0.0, -0.15}, Case{true, 0.0, 0.15}, Case{false, 0.1, -0.05}}) {
        wall.getWallData().flipped = c.flipped;
        wall.getWallData().offset = c.offset;
        PolyEdge centre = wall.getCentreLine();
        EXPECT_NEAR(centre.origin().y(), c.y, 1e-12) << c.flipped << " " << c.offset;
        EXPECT_NEAR(centre.end().y(), c.y, 1e-12) << c.flipped << " " << c.offset;
        EXPECT_NEAR(centre.origin().x(), 0.0, 1e-12);
    }

    wall.setOrigin(CadPoint(1.0, 2.0, 0.5));
    EXPECT_DOUBLE_EQ(wall.getBaseLevel(true), 0.5);
    EXPECT_DOUBLE_EQ(wall.getOrigin().y(), 2.0);
    wall.setEnd(CadPoint(5.0, 2.0, 0.5));
    wall.stretchEnd(CadPoint(7.0, 3.0));
    EXPECT_NEAR(wall.getEnd().x(), 7.0, 1e-9);
    EXPECT_NEAR(wall.getEnd().y(), 2.0, 1e-9) << "projected onto the wall";
    std::unique_ptr<API_Element> data(wall.getData());
    EXPECT_DOUBLE_EQ(data->wall.endC.x, wall.getEnd().x());
}

TEST_F(WallTest, RelationsFromAllFiveLists) {
    const GS::Guid guid = sim::addElement(wallRecord({0, 0}, {4, 0}));
    const GS::Guid a = newGuid(), b = newGuid(), c = newGuid(), d = newGuid(), e = newGuid(), f = newGuid();
    sim::WallRelations relations;
    relations.lists[0] = {{a, true}};
    relations.lists[1] = {{b, false}, {c, true}};
    relations.lists[2] = {{d, true}};
    relations.lists[3] = {{e, false}};
    relations.lists[4] = {{f, false}};
    sim::setWallRelations(guid, relations);
    auto wall = load(guid);
    ASSERT_NE(wall, nullptr);
    ASSERT_EQ(wall->getRelationCount(), 6u);
    struct Expected {
        GS::Guid other;
        int thisPos;
        int otherPos;
    };
    // Each list is taken from its last entry to its first.
    const Expected expected[] = {{a, 2, 2}, {c, 8, 2}, {b, 8, 8}, {d, 2, 4}, {e, 4, 8}, {f, 4, 4}};
    for (std::size_t i = 0; i < 6; ++i) {
        const Wall::Relation* relation = wall->getRelation(i);
        ASSERT_NE(relation, nullptr);
        EXPECT_TRUE(GS::Guid(relation->getOtherLink().getUniqueID()) == expected[i].other) << i;
        EXPECT_EQ(int(relation->getThisPos()), expected[i].thisPos) << i;
        EXPECT_EQ(int(relation->getOtherPos()), expected[i].otherPos) << i;
        EXPECT_EQ(relation->getOtherLink().getSource(), host.getFrontPlan()) << i;
    }
    EXPECT_THROW(wall->getRelation(6), std::out_of_range);
    sim::clearCalls();
    EXPECT_EQ(wall->getRelationCount(), 6u);
    EXPECT_EQ(sim::callCount("ACAPI_Element_GetRelations"), 0u) << "read once";
}

TEST_F(WallTest, RelationsThatCannotBeRead) {
    const GS::Guid guid = sim::addElement(wallRecord({0, 0}, {4, 0}));
    struct Case {
        const char* name;
        bool known;
        std::size_t entries;
        Int32 excess;
        const char* failing;
        bool checked;
    };
    for (const Case& c : {Case{"no joined walls", true, 0, 0, nullptr, true},
                          Case{"count beyond its handle", true, 2, 1, nullptr, false},
                          Case{"unknown to the host", false, 0, 0, nullptr, false},
                          Case{"host refuses", true, 1, 0, "ACAPI_Element_GetRelations", false}}) {
        sim::removeWallRelations(guid);
        if (c.known) {
            sim::WallRelations relations;
            for (std::size_t i = 0; i < c.entries; ++i) {
                relations.lists[3].push_back({newGuid(), false});
            }
            relations.countExcess = c.excess;
            sim::setWallRelations(guid, relations);
        }
        if (c.failing != nullptr) {
            sim::failCall(c.failing, APIERR_GENERAL, -1);
        }
        auto wall = load(guid);
        ASSERT_NE(wall, nullptr) << c.name;
        sim::clearCalls();
        EXPECT_EQ(wall->checkRelations(), c.checked) << c.name;
        EXPECT_EQ(wall->getRelationCount(), 0u) << c.name;
        EXPECT_EQ(wall->getRelation(0), nullptr) << c.name;
        EXPECT_EQ(sim::callCount("ACAPI_Element_GetRelations"), 3u) << c.name << ": asked again each time";
        EXPECT_EQ(sim::callCount("ACAPI_DisposeWallRelationHdls"), 3u)
            << c.name << ": the record is always given back";
        sim::clearFaults();
    }
    Wall unplaced(wallRecord({0, 0}, {1, 0}), ElementLink());
    EXPECT_FALSE(unplaced.checkRelations()) << "no drawing";
}

TEST_F(WallTest, OtherWallsLoadFromTheFloorPlan) {
    const GS::Guid guid = sim::addElement(wallRecord({0, 0}, {4, 0}));
    const GS::Guid other = sim::addElement(wallRecord({4, 0}, {4, 4}));
    API_Element object;
    object.header.typeID = API_ObjectID;
    const GS::Guid notAWall = sim::addElement(object);
    sim::WallRelations relations;
    relations.lists[1] = {{notAWall, true}, {other, true}};
    sim::setWallRelations(guid, relations);
    auto wall = load(guid);
    ASSERT_EQ(wall->getRelationCount(), 2u);
    std::unique_ptr<Wall> first(wall->getRelation(0)->getOtherWall());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(GS::Guid(first->getUniqueID()) == other);
    EXPECT_DOUBLE_EQ(first->getOrigin().x(), 4.0);
    EXPECT_EQ(wall->getRelation(1)->getOtherWall(), nullptr) << "not a wall";
}

TEST_F(WallTest, WindowAndDoorLists) {
    // The wall stands on a storey that is not the current one; its openings stand on it too.
    sim::setStoreys({{0, 0, 0.0, "Ground"}, {1, 1, 3.0, "First"}}, 6.0);
    sim::setCurrentStorey(0);
    API_Element onFirst = wallRecord({0, 0}, {4, 0});
    onFirst.header.floorInd = 1;
    const GS::Guid guid = sim::addElement(onFirst);
    const GS::Guid window = newGuid(), door1 = newGuid(), door2 = newGuid();
    API_ElementMemo memo;
    auto handleOf = [](const std::vector<GS::Guid>& guids) {
        GSHandle h = BMAllocateHandle(GSSize(guids.size() * sizeof(GS::Guid)), 0, 0);
        std::memcpy(*h, guids.data(), guids.size() * sizeof(GS::Guid));
        return reinterpret_cast<GS::Guid**>(h);
    };
    memo.wallWindows = handleOf({window});
    memo.wallDoors = handleOf({door1, door2});
    sim::storeMemo(guid, &memo, APIMemoMask_WallWindows | APIMemoMask_WallDoors);
    ACAPI_DisposeElemMemoHdls(&memo);

    auto wall = load(guid);
    ElementLinkList windows;
    ElementLinkList doors;
    EXPECT_TRUE(wall->getWindowList(windows));
    EXPECT_TRUE(wall->getDoorList(doors));
    ASSERT_EQ(windows.size(), 1u);
    ASSERT_EQ(doors.size(), 2u);
    EXPECT_TRUE(GS::Guid(windows[0]->getUniqueID()) == window);
    EXPECT_EQ(windows[0]->getType().getType(), API_WindowID);
    EXPECT_TRUE(GS::Guid(doors[1]->getUniqueID()) == door2);
    EXPECT_EQ(doors[1]->getType().getType(), API_DoorID);
    EXPECT_EQ(short(windows[0]->getSourceLink().getStoreyIndex()), 1);
    EXPECT_EQ(short(doors[1]->getSourceLink().getStoreyIndex()), 1);
    EXPECT_EQ(wall->getWindowCount(), 1u);
    EXPECT_EQ(wall->getDoorCount(), 2u);

    // A list handle is counted by whole GUIDs: a ragged end is no entry.
    API_ElementMemo ragged;
    GSHandle h = BMAllocateHandle(GSSize(sizeof(GS::Guid) + 7), 0, 0);
    std::memcpy(*h, &window, sizeof(GS::Guid));
    std::memset(*h + sizeof(GS::Guid), 0x5A, 7);
    ragged.wallWindows = reinterpret_cast<GS::Guid**>(h);
    sim::storeMemo(guid, &ragged, APIMemoMask_WallWindows);
    ACAPI_DisposeElemMemoHdls(&ragged);
    EXPECT_EQ(wall->getWindowCount(), 1u);

    sim::failCall("ACAPI_Element_GetMemo", APIERR_GENERAL);
    ElementLinkList refused;
    EXPECT_FALSE(wall->getDoorList(refused));
    EXPECT_TRUE(refused.empty());
    Wall unplaced(wallRecord({0, 0}, {1, 0}), ElementLink());
    EXPECT_EQ(unplaced.getWindowCount(), 0u);
}

TEST_F(WallTest, APolygonalWallsOutlineIsItsOwn) {
    // Wall A is polygonal: its memo holds a 4 x 2 rectangle that its record describes.
    API_Element recordA = wallRecord({0, 0}, {4, 0});
    recordA.wall.type = Wall::polygonal;
    recordA.wall.poly.nCoords = 5;
    recordA.wall.poly.nSubPolys = 1;
    const GS::Guid a = sim::addElement(recordA);
    {
        API_ElementMemo memo;
        const API_Coord coords[] = {{0, 0}, {0, 0}, {4, 0}, {4, 2}, {0, 2}, {0, 0}};
        const Int32 ends[] = {0, 5};
        GSHandle c = BMAllocateHandle(sizeof coords, 0, 0);
        std::memcpy(*c, coords, sizeof coords);
        GSHandle e = BMAllocateHandle(sizeof ends, 0, 0);
        std::memcpy(*e, ends, sizeof ends);
        memo.coords = reinterpret_cast<API_Coord**>(c);
        memo.pends = reinterpret_cast<Int32**>(e);
        sim::storeMemo(a, &memo, APIMemoMask_Polygon);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    // Wall B's drawn outline is a triangle: its counts must not leak into A's.
    const GS::Guid b = sim::addElement(wallRecord({10, 0}, {14, 0}));
    sim::WallRelations triangle;
    triangle.coords = {{10, 0}, {14, 0}, {12, 3}, {10, 0}};
    triangle.pends = {4};
    sim::setWallRelations(b, triangle);

    auto wallB = load(b);
    auto wallA = load(a);
    std::unique_ptr<CadPolygon> outlineB(wallB->getBoundingPolygon());
    ASSERT_NE(outlineB, nullptr);
    EXPECT_EQ(outlineB->vertSize(), 3);
    const CadPolygon* outlineA = wallA->PolygonMemo::getPolygon();
    ASSERT_NE(outlineA, nullptr) << "A's memo unpacks with A's own description";
    EXPECT_EQ(outlineA->vertSize(), 4);
    EXPECT_NEAR(outlineA->getArea(true, false), 8.0, 1e-9);

    // A changed outline is put back with a record that describes it.
    CadPolygon square(4, 0, true);
    for (const API_Coord& p : {API_Coord{0, 0}, API_Coord{3, 0}, API_Coord{3, 3}, API_Coord{0, 3}}) {
        square.push_back(new PolyPoint(p, 0.0, 0));
    }
    wallA->setPolygon(square);
    std::unique_ptr<API_Element> data(wallA->getData());
    EXPECT_EQ(data->wall.poly.nSubPolys, 1);
    EXPECT_EQ(data->wall.poly.nCoords, 5);
    ASSERT_TRUE(host.getFrontPlan()->put(*wallA));
    EXPECT_EQ(sim::element(a).wall.poly.nCoords, 5);

    // B's outline as the host draws it, counted beyond its handles, does not unpack.
    triangle.countExcess = 2;
    sim::setWallRelations(b, triangle);
    auto damaged = load(b);
    EXPECT_EQ(damaged->getBoundingPolygon(), nullptr);
}

TEST_F(WallTest, AttributesByUse) {
    Specification::startup();
    API_Attribute materialRecord = sim::makeAttribute(API_BuildingMaterialID, "Brick");
    materialRecord.buildingMaterial.cutFill = 3;
    materialRecord.buildingMaterial.cutFillPen = 7;
    materialRecord.buildingMaterial.cutFillBackgroundPen = 8;
    materialRecord.buildingMaterial.cutMaterial = 4;
    const short brick = short(sim::addAttribute(materialRecord));

    API_Element record = wallRecord({0, 0}, {4, 0});
    record.wall.buildingMaterial = brick;
    record.wall.contPen = 1;
    record.wall.sectContPen = 2;
    record.wall.sectPen = 21;
    record.wall.sectBGPen = 22;
    record.wall.poly5Pen = 5;
    Wall wall(record, ElementLink());

    struct PenCase {
        UInt8 use;
        bool compositePens;
        short pen;
    };
    for (const PenCase& c : {PenCase{0, false, 1}, PenCase{1, false, 1}, PenCase{5, false, 5},
                             PenCase{10, false, 2}, PenCase{11, false, 7}, PenCase{11, true, 21},
                             PenCase{12, false, 8}, PenCase{12, true, 22}, PenCase{3, false, 0}}) {
        wall.setCompositePens(c.compositePens);
        EXPECT_EQ(short(wall.getPen(Pen::Use(c.use)).getIndex()), c.pen)
            << int(c.use) << " " << c.compositePens;
    }

    struct SetCase {
        UInt8 use;
        short contour, section, fill, background;
    };
    for (const SetCase& c : {SetCase{0, 9, 9, 9, 9}, SetCase{1, 9, 2, 21, 22}, SetCase{6, 1, 2, 9, 22},
                             SetCase{11, 1, 2, 9, 22}, SetCase{8, 1, 2, 21, 9}, SetCase{12, 1, 2, 21, 9},
                             SetCase{10, 1, 9, 21, 22}, SetCase{3, 1, 2, 21, 22}}) {
        Wall changed(record, ElementLink());
        changed.setPen(Pen(attribute_index(9)), Pen::Use(c.use));
        const API_WallType& data = changed.getWallData();
        EXPECT_EQ(data.contPen, c.contour) << int(c.use);
        EXPECT_EQ(data.sectContPen, c.section) << int(c.use);
        EXPECT_EQ(data.sectPen, c.fill) << int(c.use);
        EXPECT_EQ(data.sectBGPen, c.background) << int(c.use);
    }

    // Patterns: the material's cut fill for a basic wall, the composite for a composite one.
    std::unique_ptr<Pattern> fill(wall.getPattern(1));
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(short(fill->getIndex()), 3);
    EXPECT_EQ(wall.getPattern(2), nullptr);
    wall.setPattern(Fill(attribute_index(6)), 0);
    EXPECT_EQ(wall.getStructureType(), Element::basic) << "a fill changes nothing";
    wall.setPattern(Composite(attribute_index(2)), 0);
    EXPECT_EQ(wall.getStructureType(), Element::composite);
    std::unique_ptr<Pattern> composite(wall.getPattern(3));
    ASSERT_NE(composite, nullptr);
    EXPECT_NE(dynamic_cast<Composite*>(composite.get()), nullptr);
    EXPECT_EQ(short(static_cast<Composite&>(*composite).getLink().getIndex()), 2) << "by its absolute index";
    EXPECT_EQ(short(wall.getMaterial().getIndex()), 0) << "only a basic wall has its building material";

    // Finishes: the building material's surface unless the side overrides it.
    Wall sides(record, ElementLink());
    sides.setFinish(Finish(attribute_index(11)), Finish::Use(2));
    struct FinishCase {
        UInt8 use;
        short finish;
    };
    for (const FinishCase& c : {FinishCase{0, 4}, FinishCase{2, 11}, FinishCase{3, 4}, FinishCase{7, 4}}) {
        EXPECT_EQ(short(sides.getFinish(Finish::Use(c.use)).getIndex()), c.finish) << int(c.use);
    }
    sides.setLineStyle(LineStyle(attribute_index(6)), LineStyle::Use(1));
    EXPECT_EQ(short(sides.getLineStyle(LineStyle::Use(0)).getIndex()), 6);
    EXPECT_EQ(short(sides.getLineStyle(LineStyle::Use(2)).getIndex()), 0);
    sides.setComplexProfile(ComplexProfile(attribute_index(5)));
    EXPECT_EQ(short(sides.getComplexProfile().getIndex()), 0) << "read only for profiled walls";
    sides.setStructureType(Element::profiled);
    EXPECT_EQ(short(sides.getComplexProfile().getIndex()), 5);
    Specification::shutdown();
}

TEST_F(WallTest, QuantitiesAreMeasuredOneAtATime) {
    const GS::Guid guid = sim::addElement(wallRecord({0, 0}, {4, 0}));
    API_ElementQuantity measured;
    double value = 1.0;
    for (double API_WallQuantity::*member :
         {&API_WallQuantity::surface1, &API_WallQuantity::surface2, &API_WallQuantity::surface3,
          &API_WallQuantity::volume, &API_WallQuantity::grossVolume, &API_WallQuantity::grossSurf1,
          &API_WallQuantity::grossSurf2, &API_WallQuantity::refLength, &API_WallQuantity::oppLength,
          &API_WallQuantity::centerLength, &API_WallQuantity::doorsSurf, &API_WallQuantity::doorsWidth,
          &API_WallQuantity::windowsSurf, &API_WallQuantity::minHeight, &API_WallQuantity::maxHeight,
          &API_WallQuantity::holesSurf, &API_WallQuantity::holesVolume}) {
        measured.wall.*member = value;
        value += 1.0;
    }
    measured.wall.columnsNumber = 4;
    sim::setQuantities(guid, measured);
    auto wall = load(guid);
    using Getter = double (Wall::*)() const;
    struct Case {
        const char* name;
        Getter getter;
        double API_WallQuantity::*member;
    };
    const Case cases[] = {
        {"surface A", &Wall::getSurfaceA, &API_WallQuantity::surface1},
        {"reference surface", &Wall::getSurfaceRef, &API_WallQuantity::surface1},
        {"surface B", &Wall::getSurfaceB, &API_WallQuantity::surface2},
        {"edge surface", &Wall::getSurfaceEdge, &API_WallQuantity::surface3},
        {"volume", &Wall::getVolume, &API_WallQuantity::volume},
        {"gross volume", &Wall::getGrossVolume, &API_WallQuantity::grossVolume},
        {"gross reference surface", &Wall::getSurfaceRefGross, &API_WallQuantity::grossSurf1},
        {"gross opposite surface", &Wall::getSurfaceOppGross, &API_WallQuantity::grossSurf2},
        {"reference length", &Wall::getLengthRef, &API_WallQuantity::refLength},
        {"opposite length", &Wall::getLengthOpp, &API_WallQuantity::oppLength},
        {"centre length", &Wall::getlengthCtr, &API_WallQuantity::centerLength},
        {"door surface", &Wall::getDoorSurface, &API_WallQuantity::doorsSurf},
        {"door width", &Wall::getDoorWidth, &API_WallQuantity::doorsWidth},
        {"window surface", &Wall::getWindowSurface, &API_WallQuantity::windowsSurf},
        {"minimum height", &Wall::getMinHeight, &API_WallQuantity::minHeight},
        {"maximum height", &Wall::getMaxHeight, &API_WallQuantity::maxHeight},
        {"holes surface", &Wall::getHolesSurface, &API_WallQuantity::holesSurf},
        {"holes volume", &Wall::getHolesVolume, &API_WallQuantity::holesVolume},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(((*wall).*c.getter)(), measured.wall.*c.member) << c.name;
        const API_QuantitiesMask mask = sim::lastQuantityMask();
        API_WallQuantity expected;
        std::memset(static_cast<void*>(&(expected.*c.member)), 0xFF, 1);
        EXPECT_EQ(std::memcmp(&mask.elements.wall, &expected, sizeof expected), 0) << c.name << ": alone";
        sim::failCall("ACAPI_Element_GetQuantities", APIERR_GENERAL);
        EXPECT_DOUBLE_EQ(((*wall).*c.getter)(), 0.0) << c.name << ": refused";
    }
    EXPECT_EQ(wall->getColumnCount(), 4);
    EXPECT_DOUBLE_EQ(wall->getMaterialArea(attribute_index(9)), measured.wall.surface1) << "a basic wall";
    wall->setStructureType(Element::profiled);
    EXPECT_DOUBLE_EQ(wall->getMaterialArea(attribute_index(9)), 0.0);

    // Holes come from the outline the host draws: a 4 x 4 square with a 1 x 1 hole.
    sim::WallRelations outline;
    outline.coords = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {1, 1}, {2, 1}, {2, 2}, {1, 2}, {1, 1}};
    outline.pends = {5, 10};
    sim::setWallRelations(guid, outline);
    auto holed = load(guid);
    EXPECT_EQ(holed->getHolesCount(), 1);
    EXPECT_NEAR(holed->getHolesPerimeter(), 4.0, 1e-9);
}

TEST_F(WallTest, LevelsAndStoreys) {
    sim::setStoreys({{0, 0, 0.0, "Ground"}, {1, 1, 3.0, "First"}, {2, 2, 6.0, "Second"}}, 9.0);
    API_Element record = wallRecord({0, 0}, {4, 0});
    record.header.floorInd = 1;
    record.wall.bottomOffset = 0.5;
    const GS::Guid guid = sim::addElement(record);
    auto wall = load(guid);
    ASSERT_NE(wall, nullptr);
    EXPECT_DOUBLE_EQ(wall->getBaseLevel(false), 0.5);
    EXPECT_DOUBLE_EQ(wall->getBaseLevel(true), 3.5);
    EXPECT_DOUBLE_EQ(wall->getOrigin().z(), 3.5);
    wall->setBaseLevel(4.0, true);
    EXPECT_DOUBLE_EQ(wall->getWallData().bottomOffset, 1.0);

    Plan* plan = host.getFrontPlan();
    EXPECT_EQ(wall->getTopLinkedStorey(), nullptr) << "not linked";
    wall->setTopLinkedStorey(plan->getStorey(2));
    EXPECT_EQ(wall->getWallData().relativeTopStory, 1);
    EXPECT_EQ(wall->getTopLinkedStorey(), plan->getStorey(2));
    wall->setTopLinkedStorey(plan->getStorey(0));
    EXPECT_EQ(wall->getWallData().relativeTopStory, 0) << "below the home storey";

    // A wall 3 high standing on level 0.
    API_Element low = wallRecord({0, 0}, {4, 0});
    struct Case {
        const char* name;
        bool everyStorey;
        short storey;
        bool within;
    };
    for (const Case& c :
         {Case{"home storey", false, 0, true}, Case{"storey above, home only", false, 1, false},
          Case{"home storey, every storey", true, 0, true}, Case{"touching the storey above", true, 1, false},
          Case{"storey below the base", true, 2, false}}) {
        low.wall.isAutoOnStoryVisibility = c.everyStorey;
        auto standing = load(sim::addElement(low));
        EXPECT_EQ(standing->isHomeStoreyOnly(), !c.everyStorey) << c.name;
        EXPECT_EQ(standing->isWithinStorey(*plan->getStorey(c.storey), 0.01), c.within) << c.name;
    }
}

TEST_F(WallTest, NewWallsAndTheirGables) {
    API_Element defaults = wallRecord({0, 0}, {2, 0});
    defaults.wall.thickness = 0.25;
    sim::setDefaults(defaults);
    Wall fresh;
    EXPECT_EQ(fresh.getHead().typeID, API_WallID);
    EXPECT_TRUE(fresh.getHead().hasMemo);
    EXPECT_DOUBLE_EQ(fresh.getThickness(), 0.25);
    unsigned long long mask = 0xFF;
    std::unique_ptr<API_ElementMemo, void (*)(API_ElementMemo*)> none(fresh.getMemo(mask),
                                                                      ElementMemoStore::disposeRecord);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(mask, 0u) << "nothing to pack";

    // Gables go back and forth through the host's memo.
    const GS::Guid guid = sim::addElement(wallRecord({0, 0}, {4, 0}));
    auto wall = load(guid);
    API_Gable record;
    record.a = 1.0;
    record.d = 2.5;
    wall->addGable(new Gable(record));
    ASSERT_TRUE(host.getFrontPlan()->put(*wall));
    auto again = load(guid);
    ASSERT_EQ(again->getGableCount(), 1);
    EXPECT_DOUBLE_EQ(again->getGable(0)->getRecord().d, 2.5);
    std::unique_ptr<Element> copy(again->clone());
    EXPECT_EQ(static_cast<Wall&>(*copy).getGableCount(), 1);
}
