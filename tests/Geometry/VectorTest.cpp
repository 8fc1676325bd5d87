#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Vector3.h"
#include "Geometry/Vector4.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelvane;

namespace {

CadPoint point(Vector3 const& v) {
    return v;
}

} // namespace

TEST(Vector3Test, ProductsAndNormalisation) {
    EXPECT_TRUE(near3D(point(Vector3(1, 0, 0).vectorProduct(Vector3(0, 1, 0))), CadPoint(0, 0, 1)));
    EXPECT_TRUE(near3D(point(Vector3(0, 1, 0).vectorProduct(Vector3(1, 0, 0))), CadPoint(0, 0, -1)));
    EXPECT_EQ(Vector3(1, 2, 3).dotProduct(Vector3(4, -5, 6)), 12);
    EXPECT_EQ(Vector3(3, 0, 4).magnitude(), 5);
    EXPECT_TRUE(near3D(point(Vector3(0, 0, 0).normalised()), CadPoint(0, 0, 0)));
    EXPECT_TRUE(near3D(point(Vector3(3, 0, 4).normalised()), CadPoint(0.6, 0, 0.8), 1e-15));
    EXPECT_TRUE(near3D(point(Vector3(1, 2, 3) + Vector3(1, 1, 1) - Vector3(0, 0, 2)), CadPoint(2, 3, 2)));
    EXPECT_TRUE(near3D(point(Vector3(1, 2, 3) * 2.0), CadPoint(2, 4, 6)));
    EXPECT_TRUE(near3D(point(Vector3(Line(CadPoint(1, 1, 1), CadPoint(2, 3, 4)))), CadPoint(1, 2, 3)));
    ModelerAPI::Vector mv = Vector3(1, 2, 3);
    EXPECT_EQ(mv.y, 2);
    EXPECT_TRUE(near3D(point(Vector3(API_Coord3D{4, 5, 6})), CadPoint(4, 5, 6)));
}

TEST(Vector3Test, Angles) {
    EXPECT_EQ(Vector3(1, 1, 0).angleTo(Vector3(0, 0, 0)), 0.0);
    EXPECT_NEAR(Vector3(1, 0, 0).angleTo(Vector3(-1, 0, 0)), kPi, 1e-12);
    EXPECT_NEAR(Vector3(1, 0, 0).angleTo(Vector3(0, 2, 0)), kPi / 2, 1e-12);
    // Nearly parallel vectors whose ratio rounds past 1 still give an angle, not NaN.
    for (double scale : {0.1, 0.3, 0.7, 1.1, 3.3, 7.77, 1e3}) {
        Vector3 a(scale * 0.1, scale * 0.2, scale * 0.3);
        double angle = a.angleTo(a * 3.0);
        EXPECT_FALSE(std::isnan(angle)) << scale;
        EXPECT_NEAR(angle, 0.0, 1e-7) << scale;
        double opposite = a.angleTo(a * -3.0);
        EXPECT_FALSE(std::isnan(opposite)) << scale;
        EXPECT_NEAR(opposite, kPi, 1e-7) << scale;
    }
    EXPECT_NEAR(Vector3(0, -1, 0).azimuthAngle(), 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(Vector3(1, 0, 1).altitudeAngle(), kPi / 4, 1e-12);
}

TEST(Vector3Test, TolerantTests) {
    struct Case {
        Vector3 a, b;
        double tol;
        bool parallel, perpendicular, sameSense;
    } cases[] = {
        {{1, 0, 0}, {-2, 0, 0}, 1e-5, true, false, false},
        {{1, 0, 0}, {2, 0, 0}, 1e-5, true, false, true},
        {{0, 0, 0}, {1, 0, 0}, 1e-5, false, false, true},
        {{1, 0, 0}, {0, 1, 0}, 1e-5, false, true, true},
        {{1, -1e-6, 0}, {1, 1, 0}, 1e-5, false, false, true},
        {{1, -1, 0}, {1, 1, 0}, 1e-5, false, true, false},
        {{10, 0, 0}, {10, 1e-6, 0}, 1e-5, true, false, true}, // cross product 1e-5: equal is within
        {{10, 0, 0}, {10, 2e-6, 0}, 1e-5, false, false, true},
        {{10, 0, 0}, {10, 2e-6, 0}, 1e-4, true, false, true}, // non-default tolerance
        {{1, 0.001, 0}, {0, 1, 0}, 0.01, false, true, true},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(c.a.isParallelTo(c.b, c.tol), c.parallel) << point(c.a) << point(c.b);
        EXPECT_EQ(c.a.isPerpendicularTo(c.b, c.tol), c.perpendicular) << point(c.a) << point(c.b);
        EXPECT_EQ(c.a.isSameSense(c.b, c.tol), c.sameSense) << point(c.a) << point(c.b);
    }
    EXPECT_TRUE(Vector3(1e-5, -1e-5, 0).isEmpty());
    EXPECT_FALSE(Vector3(1.1e-5, 0, 0).isEmpty());
    EXPECT_TRUE(Vector3(0.01, 0, 0).isEmpty(0.01));
}

TEST(Vector3Test, MatrixProducts) {
    Matrix4x4 move = Matrix4x4::createIdentity();
    move(0, 3) = 10;
    move(1, 3) = 20;
    move(2, 3) = 30;
    // A Vector3 under a 4x4 matrix is moved like a point.
    EXPECT_TRUE(near3D(point(Vector3(1, 2, 3) * move), CadPoint(11, 22, 33)));
    Vector3 v(1, 0, 0);
    v *= Matrix3x3::createZRotate(kPi / 2);
    EXPECT_TRUE(near3D(point(v), CadPoint(0, 1, 0), 1e-12));
    v *= Matrix3x3::createScale(2, 3, 4);
    EXPECT_TRUE(near3D(point(v), CadPoint(0, 3, 0), 1e-12));
}

TEST(Vector4Test, HomogeneousComponents) {
    Vector4 empty;
    EXPECT_EQ(empty.w(), 0.0);
    EXPECT_EQ(Vector4(CadPoint(1, 2, 3)).w(), 1.0);
    EXPECT_EQ(Vector4(Vector3(1, 2, 3)).w(), 1.0);
    EXPECT_EQ(Vector4(Line(CadPoint(1, 1, 1), CadPoint(2, 2, 2))).x(), 1.0);

    Vector4 doubled = Vector4(1, 2, 3) * 2.0;
    EXPECT_EQ(doubled.w(), 2.0);
    EXPECT_TRUE(near3D(CadPoint(doubled), CadPoint(2, 4, 6)));
    Vector4 sum = doubled + Vector4(1, 1, 1);
    EXPECT_EQ(sum.w(), 2.0);
    EXPECT_TRUE(near3D(CadPoint(sum), CadPoint(3, 5, 7)));

    Vector4 n = Vector4(3, 0, 4).normalised();
    EXPECT_NEAR(n.w(), 0.2, 1e-15);
    EXPECT_TRUE(near3D(CadPoint(n), CadPoint(0.6, 0, 0.8), 1e-15));

    // No emptiness test: a zero vector is parallel and perpendicular to everything.
    EXPECT_TRUE(Vector4(0, 0, 0).isParallelTo(Vector4(1, 2, 3)));
    EXPECT_TRUE(Vector4(0, 0, 0).isPerpendicularTo(Vector4(1, 2, 3)));
    EXPECT_FALSE(Vector3(0, 0, 0).isParallelTo(Vector3(1, 2, 3)));
    // w takes part in the sense test.
    Vector4 backwards(1, 1, 1);
    backwards.w() = -1;
    EXPECT_FALSE(Vector4(1, 1, 1).isSameSense(backwards));
    EXPECT_TRUE(Vector4(1, 1, 1).isSameSense(Vector4(2, 2, 2)));

    Matrix4x4 project = Matrix4x4::createIdentity();
    project(3, 2) = 1.0;
    Vector4 moved = Vector4(1, 2, 3) * project;
    EXPECT_EQ(moved.w(), 4.0); // the last row is applied to w
    EXPECT_TRUE(near3D(CadPoint(moved), CadPoint(1, 2, 3)));
}
