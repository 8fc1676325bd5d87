#include "Geometry/CadPoint.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/PolyPoint.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace zelvane;

TEST(CadPointTest, EqualityIsPerAxisIn2DAndASphereIn3D) {
    struct Case {
        CadPoint a, b;
        double tol;
        bool equal2D, equal3D;
    } cases[] = {
        {{0, 0, 0}, {1e-5, 1e-5, 7}, 1e-5, true, false},   // square, z ignored
        {{0, 0, 0}, {1e-5, 1e-5, 0}, 1e-5, true, false},   // 1.414e-5 apart
        {{0, 0, 0}, {1e-5, 0, 0}, 1e-5, true, true},       // exactly tol is equal
        {{0, 0, 0}, {1.01e-5, 0, 0}, 1e-5, false, false},  // just beyond
        {{0, 0, 0}, {0, 0, 1e-5}, 1e-5, true, true},       // z counts in 3D
        {{0, 0, 0}, {0, 0, 2e-5}, 1e-5, true, false},      //
        {{0, 0, 0}, {0.003, 0.004, 0}, 0.005, true, true}, // non-default tolerance, distance 0.005
        {{0, 0, 0}, {0.004, 0.004, 0}, 0.005, true, false}, {{1, 1, 1}, {1.2, 1, 1}, 0.1, false, false},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(c.a.isEqual2D(c.b, c.tol), c.equal2D) << c.a << " " << c.b;
        EXPECT_EQ(c.b.isEqual2D(c.a, c.tol), c.equal2D) << c.a << " " << c.b;
        EXPECT_EQ(c.a.isEqual3D(c.b, c.tol), c.equal3D) << c.a << " " << c.b;
    }
    EXPECT_TRUE(CadPoint(1, 2, 0) == CadPoint(1, 2, 1e-5));
    EXPECT_TRUE(CadPoint(1, 2, 0) != CadPoint(1, 2, 2e-5));
}

TEST(CadPointTest, OrderingUsesTheToleranceOnEveryAxis) {
    CadPoint a(1, 2, 3);
    CadPoint b(1.000001, 2, 3);
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(CadPoint(1.000001, 1, 9) < CadPoint(1, 2, 0)); // x within tolerance, y decides
    EXPECT_TRUE(CadPoint(1, 2, 3) < CadPoint(1, 2.000001, 4)); // x, y within tolerance, z decides
    EXPECT_FALSE(CadPoint(1, 2, 3) < CadPoint(1, 2, 3.000001));
    EXPECT_TRUE(CadPoint(0, 9, 9) < CadPoint(1, 0, 0));
}

TEST(CadPointTest, AzimuthAndAltitude) {
    CadPoint o;
    struct Case {
        CadPoint to;
        double azimuth;
    } cases[] = {
        {{1, 0}, 0.0},           {{0, 1}, kPi / 2},          {{-1, 0}, kPi},    {{0, -1}, 3 * kPi / 2},
        {{-1, -1}, 5 * kPi / 4}, {{1, -1}, 7 * kPi / 4},     {{1, 1}, kPi / 4}, {{0, 0, 5}, 0.0},
        {{9e-6, 1}, kPi / 2},    {{-9e-6, -1}, 3 * kPi / 2},
    };
    for (auto const& c : cases)
        EXPECT_NEAR(o.azimuthAngleTo(c.to), c.azimuth, 1e-12) << c.to;
    // Vertical bearings are snapped exactly.
    EXPECT_EQ(o.azimuthAngleTo(CadPoint(0, 1)), kPi / 2);
    EXPECT_EQ(o.azimuthAngleTo(CadPoint(0, -1)), 3 * kPi / 2);
    EXPECT_EQ(o.azimuthAngleTo(o), 0.0);

    EXPECT_EQ(o.altitudeAngleTo(CadPoint(0, 0, 2)), kPi / 2);
    EXPECT_EQ(o.altitudeAngleTo(CadPoint(0, 0, -2)), -kPi / 2);
    EXPECT_EQ(o.altitudeAngleTo(CadPoint(0, 0, 0)), 0.0);
    EXPECT_NEAR(o.altitudeAngleTo(CadPoint(1, 0, 1)), kPi / 4, 1e-12);
    EXPECT_NEAR(o.altitudeAngleTo(CadPoint(0, 3, -3)), -kPi / 4, 1e-12);
}

TEST(CadPointTest, ArithmeticRoundingAndMoves) {
    CadPoint p(1, 2, 3);
    EXPECT_TRUE(near3D(p + CadPoint(1, 1, 1), CadPoint(2, 3, 4)));
    EXPECT_TRUE(near3D(p - CadPoint(1, 1, 1), CadPoint(0, 1, 2)));
    EXPECT_TRUE(near3D(p * 2.0, CadPoint(2, 4, 6)));
    EXPECT_TRUE(near3D(p / 2.0, CadPoint(0.5, 1, 1.5)));
    CadPoint q = p;
    q += CadPoint(1, 0, 0);
    q *= 2.0;
    q /= 4.0;
    EXPECT_TRUE(near3D(q, CadPoint(1, 1, 1.5)));

    EXPECT_TRUE(near3D(CadPoint(1.26, -0.74, 9).rounded2D(0.5), CadPoint(1.5, -0.5, 0)));
    EXPECT_TRUE(near3D(CadPoint(1.26, -0.74, 9.3).rounded3D(0.5), CadPoint(1.5, -0.5, 9.5)));

    CadPoint m(1, 1, 1);
    m.movePolar(2, kPi / 2);
    EXPECT_TRUE(near3D(m, CadPoint(1, 3, 1)));
    m.movePolar(2, kPi, kPi / 6); // 1.732 back along -x, 1 up
    EXPECT_TRUE(near3D(m, CadPoint(1 - std::sqrt(3.0), 3, 2)));
}

TEST(CadPointTest, AxesAndHostRecords) {
    CadPoint p(1, 2, 3);
    EXPECT_EQ(p[CadPoint::xAxis], 1);
    EXPECT_EQ(p[CadPoint::yAxis], 2);
    EXPECT_EQ(p[CadPoint::zAxis], 3);
    EXPECT_EQ(p[CadPoint::Axis(3)], 3);
    p[CadPoint::Axis(7)] = 9;
    EXPECT_EQ(p.z(), 9);

    CadPoint::Axis axis = CadPoint::zAxis;
    EXPECT_EQ(++axis, CadPoint::xAxis);
    EXPECT_EQ(axis, CadPoint::xAxis);
    CadPoint::Axis const fixed = CadPoint::yAxis;
    EXPECT_EQ(++fixed, CadPoint::zAxis);
    EXPECT_EQ(fixed, CadPoint::yAxis);

    API_Coord c = CadPoint(4, 5, 6);
    EXPECT_EQ(c.x, 4);
    EXPECT_EQ(c.y, 5);
    API_Coord3D c3 = CadPoint(4, 5, 6);
    EXPECT_EQ(c3.z, 6);
    ModelerAPI::Vertex v = CadPoint(4, 5, 6);
    EXPECT_EQ(v.z, 6);
    EXPECT_TRUE(near3D(CadPoint(API_Coord{1, 2}, 7), CadPoint(1, 2, 7)));
    EXPECT_TRUE(near3D(CadPoint(ModelerAPI::TextureCoordinate{0.25, 0.5}), CadPoint(0.25, 0.5, 0)));
    EXPECT_TRUE(near3D(CadPoint(API_VertType{1, 2, 3}), CadPoint(1, 2, 3)));
    CadPoint assigned(9, 9, 9);
    assigned = API_Coord{1, 2};
    EXPECT_TRUE(near3D(assigned, CadPoint(1, 2, 0)));
    assigned = API_VectType{3, 4, 5};
    EXPECT_TRUE(near3D(assigned, CadPoint(3, 4, 5)));
    CadPoint const& self = assigned;
    assigned = self;
    EXPECT_TRUE(near3D(assigned, CadPoint(3, 4, 5)));

    std::unique_ptr<CadPoint> copy(PolyPoint(CadPoint(1, 2, 3), 0.5, 7).clone());
    auto* vertex = dynamic_cast<PolyPoint*>(copy.get());
    ASSERT_NE(vertex, nullptr);
    EXPECT_EQ(vertex->getSweep(), 0.5);
    EXPECT_EQ(vertex->getID(), 7u);
}

TEST(CadPointTest, MatrixProducts) {
    CadPoint p(1, 2, 3);
    EXPECT_TRUE(near3D(p * Matrix3x3::createZRotate(kPi / 2), CadPoint(-2, 1, 3), 1e-12));
    API_Tranmat tran{};
    double values[12] = {1, 0, 0, 10, 0, 1, 0, 20, 0, 0, 1, 30};
    for (int i = 0; i < 12; ++i)
        tran.tmx[i] = values[i];
    CadPoint moved;
    moved *= Matrix4x4(tran);
    EXPECT_TRUE(near3D(moved, CadPoint(10, 20, 30)));
    // A point is (x, y, z, 1) with no division by w.
    Matrix4x4 perspective = Matrix4x4::createIdentity();
    perspective(3, 3) = 2.0;
    EXPECT_TRUE(near3D(p * perspective, p));
}

TEST(PolyPointTest, SweepFromARadiusLine) {
    struct Case {
        CadPoint vertex;
        double sweep;
    } cases[] = {
        {{0, 1}, kPi / 2},    // quarter circle anticlockwise from (1, 0)
        {{0, -1}, -kPi / 2},  // right of the radius line: clockwise
        {{-1, 0}, kPi},       // the opposite point
        {{1, 0}, 2 * kPi},    // on the start: a full circle
        {{1, 1e-6}, 2 * kPi}, //
        {{5, 0}, kPi},        // farther than a diameter: held at the opposite point
    };
    Line radius(CadPoint(0, 0), CadPoint(1, 0));
    for (auto const& c : cases) {
        PolyPoint vertex(c.vertex, 0.0, 3);
        vertex.setSweep(radius);
        EXPECT_NEAR(vertex.getSweep(), c.sweep, 1e-9) << c.vertex;
        EXPECT_EQ(vertex.getID(), 3u);
    }
}

TEST(PolyPointTest, SweepFromATangentLine) {
    // The tangent ends at the arc's start (0, 0) and points along +x.
    Line tangent(CadPoint(-1, 0), CadPoint(0, 0));
    struct Case {
        CadPoint vertex;
        double sweep;
    } cases[] = {
        {{1, 1}, kPi / 2},   // left: anticlockwise quarter circle of radius 1 about (0, 1)
        {{0, 2}, kPi},       // half circle
        {{1, -1}, -kPi / 2}, // right: clockwise quarter circle about (0, -1)
        {{3, 0}, 0.0},       // on the tangent
    };
    for (auto const& c : cases) {
        PolyPoint vertex(c.vertex, 9.0, 0);
        vertex.setSweepParallel(tangent);
        EXPECT_NEAR(vertex.getSweep(), c.sweep, 1e-9) << c.vertex;
    }
    PolyPoint vertex(CadPoint(1, 1), 9.0, 0);
    vertex.setSweepParallel(Line(CadPoint(2, 2), CadPoint(2, 2)));
    EXPECT_EQ(vertex.getSweep(), 0.0);
}
