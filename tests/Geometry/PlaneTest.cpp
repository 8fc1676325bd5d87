#include "Geometry/Plane.h"
#include "Geometry/Cube.h"
#include "Geometry/InterPoint.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelvane;

namespace {

CadPoint point(Vector3 const& v) {
    return v;
}

} // namespace

TEST(PlaneTest, Construction) {
    EXPECT_EQ(Plane::create(CadPoint(0, 0), CadPoint(1, 1), CadPoint(3, 3)), nullptr);
    EXPECT_EQ(Plane::create(CadPoint(1, 1), CadPoint(1, 1), CadPoint(3, 3)), nullptr);
    auto plane = Plane::create(CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(0, 1, 0));
    ASSERT_NE(plane, nullptr);
    EXPECT_TRUE(near3D(point(plane->getNormal()), CadPoint(0, 0, -1)));
    EXPECT_EQ(plane->getOffset(), 0.0);

    Plane fromPoint(CadPoint(0, 0, 2), Vector3(0, 0, 5));
    EXPECT_TRUE(near3D(point(fromPoint.getNormal()), CadPoint(0, 0, 1)));
    EXPECT_EQ(fromPoint.getOffset(), 2.0);
    EXPECT_EQ(Plane::create(1.0, Vector3(0, 1e-6, 0)), nullptr);
    EXPECT_EQ(Plane::create(CadPoint(), Vector3()), nullptr);
    ASSERT_NE(Plane::create(1.0, Vector3(0, 2, 0)), nullptr);
    EXPECT_TRUE(near3D(point(Plane::create(1.0, Vector3(0, 2, 0))->getNormal()), CadPoint(0, 1, 0)));

    // A bare normal is kept as given, or replaced by +Z when it has no length.
    EXPECT_TRUE(near3D(point(Plane(Vector3(0, 0, 3)).getNormal()), CadPoint(0, 0, 3)));
    EXPECT_TRUE(near3D(point(Plane(Vector3(0, 0, 1e-6)).getNormal()), CadPoint(0, 0, 1)));
    Plane plane2;
    plane2.setNormal(Vector3(0, 0, 1e-6));
    EXPECT_TRUE(near3D(point(plane2.getNormal()), CadPoint(0, 0, 1)));
    plane2.setNormal(Vector3(0, 2, 0));
    EXPECT_TRUE(near3D(point(plane2.getNormal()), CadPoint(0, 2, 0)));
}

TEST(PlaneTest, PositionsDistancesAndHeights) {
    Plane plane;
    struct Case {
        CadPoint p;
        double tol;
        CadPoint::Pos pos;
    } cases[] = {
        {{0, 0, 2e-5}, 1e-5, CadPoint::inside}, {{0, 0, -2e-5}, 1e-5, CadPoint::outside},
        {{0, 0, 1e-5}, 1e-5, CadPoint::along},  {{5, 5, -1e-5}, 1e-5, CadPoint::along},
        {{0, 0, 2e-5}, 1e-4, CadPoint::along},  {{0, 0, -0.02}, 0.01, CadPoint::outside},
    };
    for (auto const& c : cases)
        EXPECT_EQ(plane.positionOf(c.p, c.tol), c.pos) << c.p;

    Plane raised(CadPoint(0, 0, 1), Vector3(0, 0, 1));
    EXPECT_TRUE(near3D(raised.closestPointTo(CadPoint(2, 3, 5)), CadPoint(2, 3, 1)));
    EXPECT_EQ(raised.lengthTo(CadPoint(2, 3, 5)), 4.0);
    EXPECT_EQ(raised.lengthTo(CadPoint(2, 3, -1)), -2.0);
    EXPECT_EQ(raised.heightAt(CadPoint(17, -4, 0)), 1.0);
    Plane wall(CadPoint(0, 0, 0), Vector3(1, 0, 0));
    EXPECT_EQ(wall.heightAt(CadPoint(0, 3, 7.5)), 7.5);
    Plane slope(CadPoint(0, 0, 0), Vector3(1, 0, 1)); // z = -x
    EXPECT_NEAR(slope.heightAt(CadPoint(2, 5, 9)), -2.0, 1e-12);
    // A nearly vertical plane counts as vertical under a wider tolerance.
    Plane steep(CadPoint(0, 0, 0), Vector3(1, 0, 0.001));
    EXPECT_EQ(steep.heightAt(CadPoint(2, 0, 9), 0.01), 9.0);
}

TEST(PlaneTest, Intersections) {
    Plane ground;
    auto hit = ground.intersectionWith(Line(CadPoint(1, 1, 1), CadPoint(1, 1, 2)));
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(near3D(*hit, CadPoint(1, 1, 0)));
    EXPECT_EQ(hit->getPosition(InterPoint::first), CadPoint::none);
    EXPECT_EQ(ground.intersectionWith(Line(CadPoint(0, 0, 1), CadPoint(5, 0, 1))), nullptr);
    EXPECT_EQ(ground.intersectionWith(Line(CadPoint(0, 0, 1), CadPoint(0, 0, 1))), nullptr);

    auto line = ground.intersectionWith(Plane(CadPoint(0, 0, 0), Vector3(1, 0, 0)));
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(near3D(line->origin(), CadPoint(0, 0, 0)));
    EXPECT_TRUE(near3D(line->end(), CadPoint(0, 1, 0)));

    auto other = Plane(3.0, Vector3(0, 0, 1)).intersectionWith(Plane(2.0, Vector3(1, 0, 0)));
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(near3D(other->origin(), CadPoint(2, 0, 3)));
    auto skewed = Plane(1.0, Vector3(1, 0, 0)).intersectionWith(Plane(2.0, Vector3(0, 1, 0)));
    ASSERT_NE(skewed, nullptr);
    EXPECT_TRUE(near3D(skewed->origin(), CadPoint(1, 2, 0)));
    EXPECT_TRUE(near3D(skewed->end(), CadPoint(1, 2, 1)));
    auto slanted = Plane(0.0, Vector3(0, 1, 1)).intersectionWith(Plane(1.0, Vector3(0, 0, 1)));
    ASSERT_NE(slanted, nullptr);
    EXPECT_EQ(ground.positionOf(slanted->origin()), CadPoint::inside);
    EXPECT_NEAR(slanted->origin().z(), 1.0, 1e-12);
    EXPECT_NEAR(slanted->origin().y(), -1.0, 1e-12);

    EXPECT_EQ(ground.intersectionWith(Plane(CadPoint(0, 0, 5), Vector3(0, 0, -1))), nullptr);
    EXPECT_TRUE(ground.isParallelTo(Plane(CadPoint(0, 0, 5), Vector3(0, 0, -1))));
    EXPECT_FALSE(ground.isParallelTo(Plane(CadPoint(0, 0, 5), Vector3(0, 1, 1))));
}

TEST(PlaneTest, CutsThroughBoxes) {
    Plane ground;
    struct Case {
        Cube box;
        bool cuts;
    } cases[] = {
        {Cube(0, 0, 0, 1, 1, 1), true},  // four corners on the plane, four in front
        {Cube(0, 0, 1, 1, 1, 2), false}, // all in front
        {Cube(1, 1, 2, 0, 0, 1), false}, // unsorted corners
        {Cube(0, 0, -1, 1, 1, 1), true}, {Cube(0, 0, -2, 1, 1, -1), false},
        {Cube(0, 0, 0, 1, 1, 0), false}, // all on the plane
    };
    for (auto const& c : cases)
        EXPECT_EQ(ground.cutsThrough(c.box), c.cuts) << c.box.origin() << c.box.end();
}

TEST(PlaneTest, Transforms) {
    Plane scaled(1.0, Vector3(0, 0, 1));
    scaled *= -2.0;
    EXPECT_TRUE(near3D(point(scaled.getNormal()), CadPoint(0, 0, -1)));
    EXPECT_EQ(scaled.getOffset(), -2.0);
    EXPECT_EQ(scaled.positionOf(CadPoint(0, 0, 2)), CadPoint::along);

    Plane moved = Plane(1.0, Vector3(0, 0, 1)) + CadPoint(7, 8, 3);
    EXPECT_NEAR(moved.getOffset(), 4.0, 1e-12);

    // The identity keeps a plane below the origin where it is.
    Plane below(-2.0, Vector3(0, 0, 1));
    Plane same = below * Matrix3x3::createIdentity();
    EXPECT_NEAR(same.getOffset(), -2.0, 1e-12);
    EXPECT_EQ(same.positionOf(CadPoint(0, 0, -2)), CadPoint::along);
    Plane flipped = Plane(2.0, Vector3(0, 0, 1)) * Matrix3x3::createXRotate(kPi);
    EXPECT_EQ(flipped.positionOf(CadPoint(4, 4, -2)), CadPoint::along);
    Plane turned = Plane(1.0, Vector3(1, 0, 0)) * Matrix3x3::createZRotate(kPi / 2);
    EXPECT_EQ(turned.positionOf(CadPoint(5, 1, 5)), CadPoint::along);

    // A translation moves the plane but does not tilt it.
    Plane lifted = Plane(1.0, Vector3(0, 0, 1)) * Matrix4x4::createTranslate(3, 4, 5);
    EXPECT_TRUE(near3D(point(lifted.getNormal()), CadPoint(0, 0, 1), 1e-12));
    EXPECT_NEAR(lifted.getOffset(), 6.0, 1e-12);
    Plane below4 = Plane(-2.0, Vector3(0, 0, 1)) * Matrix4x4::createIdentity();
    EXPECT_NEAR(below4.getOffset(), -2.0, 1e-12);
    Matrix4x4 turnAndMove = Matrix4x4::createTranslate(0, 0, 1) * Matrix4x4::createZRotate(kPi / 2);
    Plane wall = Plane(1.0, Vector3(1, 0, 0)) * turnAndMove;
    EXPECT_TRUE(near3D(point(wall.getNormal()), CadPoint(0, 1, 0), 1e-12));
    EXPECT_EQ(wall.positionOf(CadPoint(-3, 1, 9)), CadPoint::along);
}
