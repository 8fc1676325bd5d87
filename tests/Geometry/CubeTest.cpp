#include "Geometry/Cube.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace zelvane;

namespace {

::testing::AssertionResult box(Cube const& actual, CadPoint const& origin, CadPoint const& end,
                               double tol = 1e-9) {
    if (near3D(actual.origin(), origin, tol) && near3D(actual.end(), end, tol))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual.origin() << "-" << actual.end();
}

} // namespace

TEST(CubeTest, ConstructionAndHostRecords) {
    EXPECT_TRUE(box(Cube(API_Box{1, 2, 5, 7}), CadPoint(1, 2, 0), CadPoint(5, 7, 0)));
    EXPECT_TRUE(box(Cube(API_Box3D{1, 2, 3, 4, 5, 6}), CadPoint(1, 2, 3), CadPoint(4, 5, 6)));
    EXPECT_TRUE(box(Cube(Box3D{1, 2, 4, 5, 3, 6}), CadPoint(1, 2, 3), CadPoint(4, 5, 6)));
    EXPECT_TRUE(box(Cube(4, 2), CadPoint(0, 0, 0), CadPoint(4, 2, 0)));

    Cube reversed(CadPoint(5, 7, 0), CadPoint(1, 2, 0));
    API_Box host = reversed;
    EXPECT_EQ(host.xMin, 1);
    EXPECT_EQ(host.yMin, 2);
    EXPECT_EQ(host.xMax, 5);
    EXPECT_EQ(host.yMax, 7);
    EXPECT_EQ(reversed.getWidth(), 4);
    EXPECT_EQ(reversed.getDepth(), 5);
    EXPECT_TRUE(near3D(reversed.getOrigin(), CadPoint(5, 7, 0))); // the conversion sorted a copy
}

TEST(CubeTest, SizesAnchorsAndChanges) {
    Cube b(0, 0, 0, 4, 2, 1);
    EXPECT_EQ(b.getSize(CadPoint::xAxis), 4);
    EXPECT_EQ(b.getSize(CadPoint::yAxis), 2);
    EXPECT_EQ(b.getSize(CadPoint::zAxis), 1);
    EXPECT_THROW(b.getSize(CadPoint::Axis(3)), std::out_of_range);
    EXPECT_EQ(b.getMaxLength(), 4);
    EXPECT_EQ(b.getArea(), 8);
    EXPECT_EQ(b.getVolume(), 8);
    EXPECT_TRUE(near3D(b.getCentre(), CadPoint(2, 1, 0.5)));

    struct Anchor {
        Cube::Anchor2D anchor;
        CadPoint at;
    } anchors[] = {
        {Cube::minXminY, {0, 0, 0}}, {Cube::midXminY, {2, 0, 0}}, {Cube::centre, {2, 1, 0}},
        {Cube::maxXmaxY, {4, 2, 0}}, {Cube::minXmaxY, {0, 2, 0}}, {Cube::maxXmidY, {4, 1, 0}},
    };
    Cube flipped(4, 2, 1, 0, 0, 0);
    for (auto const& a : anchors) {
        EXPECT_TRUE(near3D(b.getAnchor2D(a.anchor), a.at)) << a.anchor;
        EXPECT_TRUE(near3D(flipped.getAnchor2D(a.anchor), a.at)) << a.anchor;
    }

    Cube grown(b);
    grown.resize(1);
    EXPECT_TRUE(box(grown, CadPoint(-1, -1, -1), CadPoint(5, 3, 2)));
    Cube shrunk(4, 2, 1, 0, 0, 0);
    shrunk.resize(-0.25);
    EXPECT_TRUE(box(shrunk, CadPoint(0.25, 0.25, 0.25), CadPoint(3.75, 1.75, 0.75)));
    Cube magnified(b);
    magnified.magnify(2);
    EXPECT_TRUE(box(magnified, CadPoint(-2, -1, -0.5), CadPoint(6, 3, 1.5)));

    Cube moved(b);
    moved.moveTo(CadPoint(10, 10, 10));
    EXPECT_TRUE(box(moved, CadPoint(10, 10, 10), CadPoint(14, 12, 11)));
    moved.setCentre(CadPoint(0, 0, 0));
    EXPECT_TRUE(box(moved, CadPoint(-2, -1, -0.5), CadPoint(2, 1, 0.5)));
    EXPECT_TRUE(box(b + CadPoint(1, 1, 1), CadPoint(1, 1, 1), CadPoint(5, 3, 2)));
    EXPECT_TRUE(box(b - CadPoint(1, 1, 1), CadPoint(-1, -1, -1), CadPoint(3, 1, 0)));
    EXPECT_TRUE(box(b * 2.0, CadPoint(0, 0, 0), CadPoint(8, 4, 2)));
    EXPECT_TRUE(box(b / 2.0, CadPoint(0, 0, 0), CadPoint(2, 1, 0.5)));
    Cube changed;
    changed.setOrigin(CadPoint(1, 1, 1));
    changed.setEnd(CadPoint(0, 2, 0));
    changed.origin().x() = 3;
    changed.sort();
    EXPECT_TRUE(box(changed, CadPoint(0, 1, 0), CadPoint(3, 2, 1)));
}

TEST(CubeTest, Merging) {
    Cube b(1, 2, 0, 5, 7, 0);
    b.merge(CadPoint(10, -3, 2));
    EXPECT_TRUE(box(b, CadPoint(1, -3, 0), CadPoint(10, 7, 2)));
    b.merge(CadPoint(3, 3, 1)); // inside: nothing changes
    EXPECT_TRUE(box(b, CadPoint(1, -3, 0), CadPoint(10, 7, 2)));
    Cube unsorted(5, 7, 0, 1, 2, 0);
    unsorted.merge(Cube(CadPoint(0, 0, -1), CadPoint(2, 9, 0)));
    EXPECT_TRUE(box(unsorted, CadPoint(0, 0, -1), CadPoint(5, 9, 0)));
}

TEST(CubeTest, Rotation) {
    struct Case {
        Cube start;
        double angle;
        CadPoint origin, end;
    } cases[] = {
        {Cube(0, 0, 0, 4, 2, 1), kPi / 2, {1, -1, 0.5}, {3, 3, 0.5}},
        {Cube(0, 0, 0, 4, 2, 1), kPi, {0, 0, 0.5}, {4, 2, 0.5}},
        {Cube(0, 0, 0, 4, 2, 1), 5e-6, {0, 0, 0.5}, {4, 2, 0.5}}, // within the tolerance: no turn
        {Cube(0, 0, 0, 2, 2, 0),
         kPi / 4,
         {1 - std::sqrt(2.0), 1 - std::sqrt(2.0), 0},
         {1 + std::sqrt(2.0), 1 + std::sqrt(2.0), 0}},
        {Cube(4, 2, 0, 0, 0, 0), -kPi / 2, {1, -1, 0}, {3, 3, 0}},
    };
    for (auto const& c : cases) {
        Cube turned(c.start);
        turned.rotate(c.angle);
        EXPECT_TRUE(box(turned, c.origin, c.end, 1e-12)) << c.angle;
    }
}

TEST(CubeTest, PositionsAndContainment) {
    Cube b(0, 0, 0, 4, 2, 1);
    struct Case {
        CadPoint p;
        double tol;
        CadPoint::Pos plan, space;
    } cases[] = {
        {{2, 1, 0.5}, 1e-5, CadPoint::inside, CadPoint::inside},
        {{5, 1, 0.5}, 1e-5, CadPoint::outside, CadPoint::outside},
        {{2, 1, 3}, 1e-5, CadPoint::inside, CadPoint::outside},
        {{4, 1, 0.5}, 1e-5, CadPoint::along, CadPoint::along},
        {{4, 2, 1}, 1e-5, CadPoint::along, CadPoint::along},
        {{4.00001, 1, 0.5}, 1e-5, CadPoint::along, CadPoint::along},     // within tol counts as on
        {{4.00002, 1, 0.5}, 1e-5, CadPoint::outside, CadPoint::outside}, // more than tol is out
        {{-0.004, 1, 0.5}, 0.005, CadPoint::along, CadPoint::along},
        {{-0.006, 1, 0.5}, 0.005, CadPoint::outside, CadPoint::outside},
        {{2, 1, 1.004}, 0.005, CadPoint::inside, CadPoint::along},
    };
    Cube reversed(4, 2, 1, 0, 0, 0);
    for (auto const& c : cases) {
        EXPECT_EQ(b.positionOf2D(c.p, c.tol), c.plan) << c.p;
        EXPECT_EQ(b.positionOf3D(c.p, c.tol), c.space) << c.p;
        EXPECT_EQ(reversed.positionOf2D(c.p, c.tol), c.plan) << c.p;
        EXPECT_EQ(reversed.positionOf3D(c.p, c.tol), c.space) << c.p;
    }

    struct Enclose {
        Cube inner;
        double tol;
        bool plan, space;
    } encloses[] = {
        {Cube(1, 0.5, 0.25, 3, 1.5, 0.75), 1e-5, true, true},
        {Cube(0, 0, 0, 4, 2, 1), 1e-5, true, true},
        {Cube(3, 1.5, 0.5, 1, 0.5, 0.25), 1e-5, true, true},
        {Cube(1, 1, 0, 5, 1.5, 1), 1e-5, false, false},
        {Cube(1, 1, -0.5, 3, 1.5, 0.5), 1e-5, true, false},
        {Cube(1, 1, -0.5, 3, 1.5, 0.5), 1.0, true, true},
        {Cube(0, 0, 0, 4.00001, 2, 1), 1e-5, true, true},
        {Cube(0, 0, 0, 4.1, 2, 1), 1.0, false, false}, // plan test ignores tol
    };
    for (auto const& e : encloses) {
        EXPECT_EQ(b.encloses2D(e.inner, e.tol), e.plan) << e.inner.origin() << e.inner.end();
        EXPECT_EQ(b.encloses3D(e.inner, e.tol), e.space) << e.inner.origin() << e.inner.end();
    }

    // The heights are compared as stored: a box with its corners reversed encloses nothing in 3D.
    EXPECT_FALSE(Cube(4, 2, 1, 0, 0, 0).encloses3D(Cube(1, 0.5, 0.25, 3, 1.5, 0.75)));
    EXPECT_TRUE(Cube(4, 2, 1, 0, 0, 0).encloses2D(Cube(1, 0.5, 0.25, 3, 1.5, 0.75)));

    Cube unit(0, 0, 0, 1, 1, 0);
    EXPECT_FALSE(unit.overlaps2D(Cube(1, 0, 0, 2, 1, 0)));        // shared edge
    EXPECT_TRUE(unit.overlaps2D(Cube(0.5, 0.5, 0, 1.5, 1.5, 0))); // overlap by 0.5
    EXPECT_TRUE(unit.overlaps2D(Cube(1.5, 1.5, 0, 0.5, 0.5, 0))); // unsorted corners
    EXPECT_FALSE(unit.overlaps2D(Cube(0.5, 1, 0, 1.5, 2, 0)));    // touching in y
    EXPECT_FALSE(unit.overlaps2D(Cube(0.999995, 0, 0, 2, 1, 0))); // overlap within 1e-5
    EXPECT_TRUE(unit.overlaps2D(Cube(0.99998, 0, 0, 2, 1, 0)));
    EXPECT_FALSE(unit.overlaps2D(Cube(3, 3, 0, 4, 4, 0)));

    EXPECT_TRUE(Cube(0, 0, 0, 1, 1, 0) == Cube(0, 0, 0, 1, 1, 1e-5));
    EXPECT_TRUE(Cube(0, 0, 0, 1, 1, 1) != Cube(1, 1, 1, 0, 0, 0)); // corners are not matched crosswise
    EXPECT_TRUE(Cube(0, 0, 0, 1, 1, 1).isEqual2D(Cube(0, 0, 5, 1, 1, 9)));
    EXPECT_FALSE(Cube(0, 0, 0, 1, 1, 1).isEqual3D(Cube(0, 0, 5, 1, 1, 9)));
}
