#include "Element/Wall.h"
#include "Environment/String.h"
#include "Geometry/CadArc.h"
#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveDistortedHatch.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitivePoint.h"
#include "Primitive/PrimitiveText.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace zelvane {
namespace {

const double pi = 3.141592653589793;

CadPolygon unitSquare() {
    CadPolygon polygon;
    for (CadPoint p : {CadPoint(0, 0), CadPoint(1, 0), CadPoint(1, 1), CadPoint(0, 1)})
        polygon.push_back(new PolyPoint(p, 0.0, 0));
    return polygon;
}

std::vector<std::shared_ptr<Primitive>> samples() {
    return {
        std::make_shared<PrimitivePoint>(CadPoint(1, 1), 0, 1, true, false),
        std::make_shared<PrimitiveLine>(CadPoint(0, 0), CadPoint(2, 2), 0, 1, 1, true, false),
        std::make_shared<PrimitiveArc>(CadArc(CadPoint(0, 0), 1.0, pi / 2, 0.0), 0, 1, 1, true, false),
        std::make_shared<PrimitiveText>(String("t"), CadPoint(1, 1), 0.0, 0, 1, true, false),
        std::make_shared<PrimitiveDistortedHatch>(unitSquare(), 0, 1, 1, true, false),
    };
}

// Point tests before and after a move by (10, 0): what was on the primitive moves with it.
TEST(PrimitiveGeometry, EnclosesAndMoves) {
    struct Row {
        CadPoint on;
        CadPoint off;
    };
    std::vector<Row> table = {
        {CadPoint(1, 1), CadPoint(1.1, 1)},                  // point
        {CadPoint(1, 1), CadPoint(1, 1.5)},                  // line
        {CadPoint(0.70710678, 0.70710678), CadPoint(-1, 0)}, // arc
        {CadPoint(1, 1), CadPoint(1, 1.01)},                 // text
        {CadPoint(0.5, 0.5), CadPoint(1.5, 0.5)},            // hatch
    };
    auto prims = samples();
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_TRUE(prims[i]->encloses2D(table[i].on, 1e-5)) << i;
        EXPECT_FALSE(prims[i]->encloses2D(table[i].off, 1e-5)) << i;
        prims[i]->offset(CadPoint(10, 0));
        EXPECT_FALSE(prims[i]->encloses2D(table[i].on, 1e-5)) << i;
        EXPECT_TRUE(prims[i]->encloses2D(table[i].on + CadPoint(10, 0), 1e-5)) << i;
    }
}

TEST(PrimitiveGeometry, Bounds) {
    std::vector<Cube> expected = {
        Cube(1, 1, 0, 1, 1, 0), Cube(0, 0, 0, 2, 2, 0), Cube(0, 0, 0, 1, 1, 0),
        Cube(1, 1, 0, 1, 1, 0), Cube(0, 0, 0, 1, 1, 0),
    };
    auto prims = samples();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        std::unique_ptr<Cube> box = prims[i]->getBounds();
        ASSERT_NE(box, nullptr) << i;
        EXPECT_TRUE(box->getOrigin().isEqual3D(expected[i].getOrigin())) << i;
        EXPECT_TRUE(box->getEnd().isEqual3D(expected[i].getEnd())) << i;
    }
    EXPECT_EQ(PrimitivePolygon(CadPolygon(), 0, 1, 1, true, false).getBounds(), nullptr);
}

TEST(PrimitiveGeometry, HatchPensAndFill) {
    PrimitiveHatch hatch(unitSquare(), 0, 1, 1, true, false);
    hatch.setFillPen(4);
    hatch.setBackPen(9);
    EXPECT_FALSE(hatch.isFilled());
    EXPECT_EQ(short(hatch.getBackPen()), 4); // not filled: the fill pen
    hatch.setGradient(true);
    EXPECT_TRUE(hatch.isFilled());
    EXPECT_EQ(short(hatch.getBackPen()), 9);
    hatch.setGradient(false);
    hatch.setFill(3);
    EXPECT_TRUE(hatch.isFilled());
    EXPECT_FALSE(hatch.isHatchLine());
    EXPECT_FALSE(hatch.isHatchBody());
    PrimitiveDistortedHatch distorted(unitSquare(), 0, 1, 1, true, false);
    EXPECT_EQ(distorted.getDistortionFlags(), 8);
}

} // namespace
} // namespace zelvane

namespace zelvane {
namespace {

TEST(PrimitiveGeometry, FromAnElement) {
    API_Element record{};
    record.header.typeID = API_WallID;
    record.header.drwIndex = 4;
    record.wall.contPen = 7;
    record.wall.contLtype = 3;
    Wall wall(record, ElementLink());
    PrimitiveLine line(CadPoint(0, 0), CadPoint(1, 0), wall, true, false);
    EXPECT_EQ(short(line.getPen()), 7);
    EXPECT_EQ(short(line.getLineStyle()), 3);
    EXPECT_EQ(line.getDisplayOrder(), 4);
}

} // namespace
} // namespace zelvane
