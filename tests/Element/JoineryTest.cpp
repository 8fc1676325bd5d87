#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "Attribute/Storey.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Wall.h"
#include "Element/Window.h"
#include "Environment/Host.h"
#include "GSRoot/BM.hpp"
#include "PlanFixture.h"
#include "sim/ElementMemos.h"
#include "sim/ElementQuantities.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

using namespace zelvane;
using plan_testing::wallRecord;

namespace {

constexpr double pi = 3.14159265358979323846;

API_Element openingRecord(API_ElemTypeID type, const GS::Guid& wall, double width, double offset,
                          double threshold = 0.0) {
    API_Element record;
    record.header.typeID = type;
    API_WindowType& part = type == API_DoorID ? record.door : record.window;
    part.owner = wall;
    part.openingBase.width = width;
    part.openingBase.height = 2.1;
    part.objLoc = offset;
    part.lower = threshold;
    return record;
}

class JoineryTest : public plan_testing::PlanFixture {
protected:
    void SetUp() override {
        PlanFixture::SetUp();
        Drawing::addAdapter(element_id(API_WallID), Wall::create, false);
        Drawing::addAdapter(element_id(API_DoorID), Door::create, false);
        Drawing::addAdapter(element_id(API_WindowID), Window::create, false);
    }
};

} // namespace

TEST_F(JoineryTest, FactoriesAndSourceLinks) {
    struct Case {
        API_ElemTypeID type;
        bool door;
        bool window;
    };
    for (const Case& c :
         {Case{API_DoorID, true, false}, Case{API_WindowID, false, true}, Case{API_WallID, false, false}}) {
        API_Element record;
        record.header.typeID = c.type;
        std::unique_ptr<Element> door(Door::create(record, ElementLink()));
        std::unique_ptr<Element> window(Window::create(record, ElementLink()));
        EXPECT_EQ(dynamic_cast<Door*>(door.get()) != nullptr, c.door) << c.type;
        EXPECT_EQ(dynamic_cast<Window*>(window.get()) != nullptr, c.window) << c.type;
    }

    API_Element record = openingRecord(API_WindowID, GS::Guid(), 1.0, 1.0);
    record.window.openingBase.libInd = 4;
    Window window(record, ElementLink());
    EXPECT_EQ(window.getSourceLink().getIndex(), 4);
    EXPECT_EQ(window.getSourceLink().getType(), APILib_WindowID);
    EXPECT_FALSE(window.acceptsSource(ComponentLink(9, APILib_DoorID, nullptr)));
    EXPECT_FALSE(window.setSourceLink(ComponentLink(9, APILib_DoorID, nullptr), false, false));
    EXPECT_EQ(window.getOpeningData().libInd, 4) << "a door part is refused";
    EXPECT_TRUE(window.acceptsSource(ComponentLink(7, APILib_WindowID, nullptr)));
    EXPECT_TRUE(window.setSourceLink(ComponentLink(7, APILib_WindowID, nullptr), false, false));
    EXPECT_EQ(window.getOpeningData().libInd, 7);
    EXPECT_EQ(window.getSourceLink().getIndex(), 7);
}

TEST_F(JoineryTest, PensAnchorsAndFlags) {
    Door door(openingRecord(API_DoorID, GS::Guid(), 0.9, 1.0), ElementLink());
    door.setPen(Pen(attribute_index(6)), Pen::Use(0));
    const API_OpeningBaseType& part = door.getOpeningData();
    EXPECT_EQ(part.pen, 6);
    EXPECT_EQ(part.sectContPen, 6);
    EXPECT_EQ(part.sectFillPen, 6);
    EXPECT_EQ(part.sectBGPen, 6);
    door.setPen(Pen(attribute_index(2)), Pen::Use(11));
    struct Case {
        UInt8 use;
        short pen;
    };
    for (const Case& c : {Case{0, 6}, Case{1, 6}, Case{10, 6}, Case{11, 2}, Case{12, 6}, Case{4, 0}}) {
        EXPECT_EQ(short(door.getPen(Pen::Use(c.use)).getIndex()), c.pen) << int(c.use);
    }
    EXPECT_EQ(door.getPattern(1), nullptr) << "no section fill";

    attribute_index storey(9);
    door.setAnchor(3, nullptr);
    EXPECT_EQ(door.getAnchor(nullptr), 3);
    EXPECT_EQ(door.getAnchor(&storey), 3);
    EXPECT_EQ(short(storey), 0);
    door.setAnchor(2, nullptr);
    storey = attribute_index(9);
    EXPECT_EQ(door.getAnchor(&storey), 2);
    EXPECT_EQ(short(storey), 9) << "kind 2 has no storey";
    EXPECT_DOUBLE_EQ(door.getHeight(), 2.1);
}

TEST_F(JoineryTest, CentreLinesOnStraightCurvedAndImpossibleWalls) {
    const GS::Guid straight = sim::addElement(wallRecord({0, 0}, {5, 0}, 0.0, 0.2));
    // A quarter circle about the origin with radius 5, its reference line in the middle.
    API_Element curvedRecord = wallRecord({5, 0}, {0, 5}, pi / 2, 0.2);
    curvedRecord.wall.referenceLineLocation = Wall::centre;
    const GS::Guid curved = sim::addElement(curvedRecord);

    {
        auto door = load<Door>(sim::addElement(openingRecord(API_DoorID, straight, 0.9, 2.0)));
        ASSERT_NE(door, nullptr);
        PolyEdge edge;
        double thickness = 0.0;
        ASSERT_TRUE(door->getCentreLine(edge, thickness));
        EXPECT_DOUBLE_EQ(thickness, 0.2);
        EXPECT_NEAR(edge.origin().x(), 1.55, 1e-9);
        EXPECT_NEAR(edge.end().x(), 2.45, 1e-9);
        EXPECT_NEAR(edge.origin().y(), -0.1, 1e-9);
        EXPECT_NEAR(door->getOrigin().x(), 1.55, 1e-9);
        EXPECT_NEAR(door->getOrigin().y(), -0.2, 1e-9) << "on the wall's side";
    }
    {
        auto window = load<Window>(sim::addElement(openingRecord(API_WindowID, curved, 1.0, 2.5, 0.9)));
        ASSERT_NE(window, nullptr);
        PolyEdge edge;
        double thickness = 0.0;
        ASSERT_TRUE(window->getCentreLine(edge, thickness));
        EXPECT_NEAR(edge.origin().lengthTo2D(edge.end()), 1.0, 1e-9) << "spans the opening's width";
        const double h = std::asin(0.1);
        EXPECT_NEAR(edge.origin().x(), 5.0 * std::cos(0.5 - h), 1e-9);
        EXPECT_NEAR(edge.origin().y(), 5.0 * std::sin(0.5 - h), 1e-9);
        EXPECT_NEAR(edge.getSweep(), 2.0 * h, 1e-9);
        EXPECT_NEAR(edge.origin().z(), 0.9, 1e-9) << "lifted to the sill";
    }
    // A reference line on a face of a curved wall: the opening moves by half the thickness towards
    // the wall's body, and the span is measured on the face the flags pick (radius `on`).
    struct Shifted {
        const char* name;
        API_Coord begin;
        API_Coord end;
        double sweep;
        Int32 reference;
        bool rightHand;
        bool revealInside;
        double radius; // of the opening's centre line
        double on;
    };
    for (const Shifted& c : {
             Shifted{"anticlockwise, outside", {5, 0}, {0, 5}, pi / 2, Wall::outside, false, false, 4.9, 4.8},
             Shifted{"anticlockwise, inside", {5, 0}, {0, 5}, pi / 2, Wall::inside, false, false, 5.1, 5.2},
             Shifted{"anticlockwise, outside, right hand",
                     {5, 0},
                     {0, 5},
                     pi / 2,
                     Wall::outside,
                     true,
                     false,
                     4.9,
                     5.0},
             Shifted{"anticlockwise, inside, reveal inside",
                     {5, 0},
                     {0, 5},
                     pi / 2,
                     Wall::inside,
                     false,
                     true,
                     5.1,
                     5.0},
             Shifted{"clockwise, outside", {0, 5}, {5, 0}, -pi / 2, Wall::outside, false, false, 5.1, 5.2},
             Shifted{"clockwise, inside", {0, 5}, {5, 0}, -pi / 2, Wall::inside, false, false, 4.9, 4.8},
         }) {
        SCOPED_TRACE(c.name);
        API_Element wallData = wallRecord(c.begin, c.end, c.sweep, 0.2);
        wallData.wall.referenceLineLocation = c.reference;
        API_Element windowData = openingRecord(API_WindowID, sim::addElement(wallData), 1.0, 2.5);
        windowData.window.oSide = c.rightHand;
        windowData.window.revealInside = c.revealInside;
        auto window = load<Window>(sim::addElement(windowData));
        ASSERT_NE(window, nullptr);
        PolyEdge edge;
        double thickness = 0.0;
        ASSERT_TRUE(window->getCentreLine(edge, thickness));
        const double h = std::asin(0.5 / c.on);
        EXPECT_NEAR(edge.origin().lengthTo2D(CadPoint(0, 0)), c.radius, 1e-9);
        EXPECT_NEAR(edge.end().lengthTo2D(CadPoint(0, 0)), c.radius, 1e-9);
        EXPECT_NEAR(std::fabs(edge.getSweep()), 2.0 * h, 1e-9);
        if (c.sweep > 0.0) {
            EXPECT_NEAR(edge.origin().x(), c.radius * std::cos(0.5 - h), 1e-9);
            EXPECT_NEAR(edge.origin().y(), c.radius * std::sin(0.5 - h), 1e-9);
        }
    }
    struct Impossible {
        const char* name;
        GS::Guid wall;
        double width;
    };
    GS::Guid gone;
    gone.Generate();
    for (const Impossible& c :
         {Impossible{"wider than the arc", curved, 11.0}, Impossible{"no wall", gone, 1.0}}) {
        auto window = load<Window>(sim::addElement(openingRecord(API_WindowID, c.wall, c.width, 2.5)));
        PolyEdge edge;
        double thickness = -1.0;
        EXPECT_FALSE(window->getCentreLine(edge, thickness)) << c.name;
        EXPECT_DOUBLE_EQ(window->getOrigin().x(), 0.0) << c.name;
        EXPECT_DOUBLE_EQ(window->getOrigin().y(), 0.0) << c.name;
    }
}

TEST_F(JoineryTest, BaseLevelWithAndWithoutItsWall) {
    sim::setStoreys({{0, 0, 0.0, "Ground"}, {1, 1, 3.0, "First"}}, 6.0);
    API_Element wall = wallRecord({0, 0}, {5, 0}, 0.0, 0.2);
    wall.header.floorInd = 1;
    wall.wall.bottomOffset = 0.5;
    const GS::Guid wallID = sim::addElement(wall);
    GS::Guid gone;
    gone.Generate();
    struct Case {
        const char* name;
        GS::Guid wall;
        double relative;
        double absolute;
    };
    for (const Case& c : {Case{"in its wall", wallID, 1.3, 4.3}, Case{"wall gone", gone, 0.8, 3.8}}) {
        API_Element record = openingRecord(API_WindowID, c.wall, 1.0, 1.0, 0.8);
        record.header.floorInd = 1;
        auto window = load<Window>(sim::addElement(record));
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_DOUBLE_EQ(window->getBaseLevel(false), c.relative) << c.name;
        EXPECT_DOUBLE_EQ(window->getBaseLevel(true), c.absolute) << c.name;
    }
}

TEST_F(JoineryTest, OffsetJoineryMovesEveryOpeningOrNone) {
    struct Case {
        const char* name;
        bool missingOpening;
        const char* failing;
        bool result;
        double moved;
    };
    for (const Case& c : {Case{"all move", false, nullptr, true, 0.5},
                          Case{"an opening cannot be loaded", true, nullptr, false, 0.0},
                          Case{"a put fails", false, "ACAPI_Element_Change", false, 0.5}}) {
        const GS::Guid wallID = sim::addElement(wallRecord({0, 0}, {5, 0}, 0.0, 0.2));
        const GS::Guid window = sim::addElement(openingRecord(API_WindowID, wallID, 1.0, 1.0));
        const GS::Guid door = sim::addElement(openingRecord(API_DoorID, wallID, 0.9, 3.0));
        GS::Guid gone;
        gone.Generate();
        std::vector<GS::Guid> windows{window};
        if (c.missingOpening) {
            windows.push_back(gone);
        }
        API_ElementMemo memo;
        GSHandle w = BMAllocateHandle(GSSize(windows.size() * sizeof(GS::Guid)), 0, 0);
        std::memcpy(*w, windows.data(), windows.size() * sizeof(GS::Guid));
        GSHandle d = BMAllocateHandle(sizeof(GS::Guid), 0, 0);
        std::memcpy(*d, &door, sizeof(GS::Guid));
        memo.wallWindows = reinterpret_cast<GS::Guid**>(w);
        memo.wallDoors = reinterpret_cast<GS::Guid**>(d);
        sim::storeMemo(wallID, &memo, APIMemoMask_WallWindows | APIMemoMask_WallDoors);
        ACAPI_DisposeElemMemoHdls(&memo);

        auto wall = load<Wall>(wallID);
        ASSERT_NE(wall, nullptr) << c.name;
        if (c.failing != nullptr) {
            sim::failCall(c.failing, APIERR_GENERAL, 1, 1); // the second put
        }
        EXPECT_EQ(wall->offsetJoinery(0.5), c.result) << c.name;
        EXPECT_DOUBLE_EQ(sim::element(window).window.objLoc, 1.0 + c.moved) << c.name;
        if (c.failing == nullptr) {
            EXPECT_DOUBLE_EQ(sim::element(door).door.objLoc, 3.0 + c.moved) << c.name;
        } else {
            EXPECT_DOUBLE_EQ(sim::element(door).door.objLoc, 3.0) << c.name << ": its put failed";
        }
        sim::clearFaults();
    }
    Wall unplaced(wallRecord({0, 0}, {1, 0}, 0.0, 0.2), ElementLink());
    EXPECT_FALSE(unplaced.offsetJoinery(1.0));
}

TEST_F(JoineryTest, NewDoorsAndWindowsFromTheToolDefaults) {
    for (API_ElemTypeID type : {API_DoorID, API_WindowID}) {
        API_Element defaults = openingRecord(type, GS::Guid(), 0.9, 0.0);
        API_WindowType& part = type == API_DoorID ? defaults.door : defaults.window;
        part.openingBase.libInd = 12;
        part.sillInset = 0.05;
        sim::setDefaults(defaults);
    }
    Door door(false);
    EXPECT_EQ(door.getHead().typeID, API_DoorID);
    EXPECT_DOUBLE_EQ(door.getOpenWidth(), 0.9);
    EXPECT_DOUBLE_EQ(door.getSillInset(), 0.05);
    EXPECT_EQ(door.getSourceLink().getIndex(), 12);
    EXPECT_EQ(door.getSourceLink().getType(), APILib_DoorID);
    Window window;
    EXPECT_EQ(window.getHead().typeID, API_WindowID);
    EXPECT_EQ(window.getSourceLink().getType(), APILib_WindowID);
    EXPECT_DOUBLE_EQ(window.getOpenWidth(), 0.9);

    Door named(ComponentLink(5, APILib_DoorID, nullptr));
    EXPECT_TRUE(named.getHead().hasMemo);
    EXPECT_EQ(named.getHead().typeID, API_DoorID);
    EXPECT_EQ(named.getOpeningData().libInd, 5) << "the part's, not the tool's";
    EXPECT_DOUBLE_EQ(named.getOpenWidth(), 0.9);
    std::unique_ptr<API_Element> data(named.getData());
    EXPECT_EQ(data->door.openingBase.libInd, 5);

    // Without the tool's defaults a new door is still a door, of no part.
    sim::failCall("ACAPI_Element_GetDefaults", APIERR_GENERAL);
    Door bare(false);
    EXPECT_EQ(bare.getHead().typeID, API_DoorID);
    EXPECT_EQ(bare.getSourceLink().getIndex(), 0);
}

TEST_F(JoineryTest, QuantitiesAreMeasuredOneAtATime) {
    for (API_ElemTypeID type : {API_DoorID, API_WindowID}) {
        const GS::Guid guid = sim::addElement(openingRecord(type, GS::Guid(), 0.9, 1.0));
        API_ElementQuantity measured;
        API_WindowQuantity& part = type == API_DoorID ? measured.door : measured.window;
        part = API_WindowQuantity{1.5, 2.5, 4.0, 0.3, 0.35, 0.12, 0.2};
        sim::setQuantities(guid, measured);
        auto opening = load<Joinery>(guid);
        ASSERT_NE(opening, nullptr);
        using Getter = double (Joinery::*)() const;
        struct Case {
            Getter getter;
            double API_WindowQuantity::*member;
        };
        for (const Case& c : {Case{&Joinery::getSurfaceA, &API_WindowQuantity::surface1},
                              Case{&Joinery::getSurfaceB, &API_WindowQuantity::surface2},
                              Case{&Joinery::getTotalSurfaceArea, &API_WindowQuantity::surface},
                              Case{&Joinery::getVolume, &API_WindowQuantity::volume},
                              Case{&Joinery::getGrossVolume, &API_WindowQuantity::grossVolume},
                              Case{&Joinery::getWidthReveal, &API_WindowQuantity::revealWidth},
                              Case{&Joinery::getHeightReveal, &API_WindowQuantity::revealHeight}}) {
            EXPECT_DOUBLE_EQ(((*opening).*c.getter)(), part.*c.member) << type;
            const API_QuantitiesMask mask = sim::lastQuantityMask();
            API_WindowQuantity expected;
            std::memset(static_cast<void*>(&(expected.*c.member)), 0xFF, 1);
            const API_WindowQuantity& asked = type == API_DoorID ? mask.elements.door : mask.elements.window;
            EXPECT_EQ(std::memcmp(&asked, &expected, sizeof expected), 0)
                << type << ": alone, in its own part";
            sim::failCall("ACAPI_Element_GetQuantities", APIERR_GENERAL);
            EXPECT_DOUBLE_EQ(((*opening).*c.getter)(), 0.0) << type << ": refused";
        }
        EXPECT_DOUBLE_EQ(opening->getSurfaceReveal(), 1.5);
    }
}
