#include "Geometry/LinearEquation.h"
#include "Geometry/InterPoint.h"
#include "Geometry/Line.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace zelvane;

namespace {

::testing::AssertionResult coefficients(LinearEquation const& e, double a, double b, double c) {
    if (std::fabs(e.a() - a) <= 1e-12 && std::fabs(e.b() - b) <= 1e-12 && std::fabs(e.c() - c) <= 1e-12)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << e.a() << ", " << e.b() << ", " << e.c() << ")";
}

} // namespace

TEST(LinearEquationTest, CoefficientsAndDirections) {
    struct Case {
        CadPoint from, to;
        double a, b, c, azimuth;
    } cases[] = {
        {{0, 0}, {1, 1}, 1, -1, 0, kPi / 4},
        {{0, 0}, {-1, 1}, 1, 1, 0, 3 * kPi / 4},
        {{0, 0}, {2, 4}, 2, -1, 0, std::atan(2.0)},
        {{0, 0}, {1, 2}, 2, -1, 0, std::atan(2.0)},
        {{1, 0}, {1, 1}, 1, 0, -1, kPi / 2},      // vertical, upwards
        {{1, 0}, {1, -3}, -1, 0, 1, 3 * kPi / 2}, // vertical, downwards
        {{0, 2}, {5, 2}, 0, -1, 2, 0},            // horizontal, +x
        {{0, 2}, {-5, 2}, 0, 1, -2, kPi},         // horizontal, -x
        {{0, 0}, {1, 1e-6}, 0, -1, 0, 0},         // snapped onto the axis
        {{3, 1}, {1, -3}, -2, 1, 5, kPi + std::atan(2.0)},
    };
    for (auto const& c : cases) {
        auto e = LinearEquation::create(c.from, c.to);
        ASSERT_NE(e, nullptr) << c.from << c.to;
        EXPECT_TRUE(coefficients(*e, c.a, c.b, c.c)) << c.from << c.to;
        EXPECT_NEAR(e->azimuthAngle(), c.azimuth, 1e-12) << c.from << c.to;
        // The start point lies on the line, the left side is negative, the right positive.
        EXPECT_TRUE(*e == c.from);
        EXPECT_EQ(e->positionOf(c.from), CadPoint::along);
    }
    EXPECT_TRUE(*LinearEquation::create(CadPoint(0, 0), CadPoint(2, 4)) ==
                *LinearEquation::create(CadPoint(0, 0), CadPoint(1, 2)));
    EXPECT_EQ(LinearEquation::create(CadPoint(3, 3), CadPoint(3, 3)), nullptr);
    EXPECT_EQ(LinearEquation::create(CadPoint(0, 0), CadPoint(1e-5, -1e-5)), nullptr);
    EXPECT_EQ(LinearEquation::create(CadPoint(0, 0, 0)), nullptr);
    ASSERT_NE(LinearEquation::create(CadPoint(0, 2, 0)), nullptr);
    EXPECT_NEAR(LinearEquation::create(CadPoint(0, 2, 0))->azimuthAngle(), kPi / 2, 1e-12);
    EXPECT_TRUE(coefficients(LinearEquation(1e-6, CadPoint(0, 0)), 0, -1, 0));
    EXPECT_TRUE(coefficients(LinearEquation(CadPoint(2, 0), 0, 5), 1, 0, -2));
    EXPECT_TRUE(coefficients(LinearEquation(Line(CadPoint(0, 0), CadPoint(1, 1))), 1, -1, 0));

    auto e = LinearEquation::create(CadPoint(0, 0), CadPoint(1, 1));
    auto flipped = e->getFlipped();
    EXPECT_TRUE(coefficients(*flipped, -1, 1, 0));
    EXPECT_NEAR(flipped->azimuthAngle(), 5 * kPi / 4, 1e-12);
    EXPECT_TRUE(*e != *flipped);
    EXPECT_TRUE(*e < *flipped);

    LinearEquation xAxis;
    LinearEquation yAxis(kPi / 2, CadPoint(0, 0));
    EXPECT_NEAR(xAxis.angleTo(yAxis), kPi / 2, 1e-12);
    EXPECT_NEAR(yAxis.angleTo(xAxis), 3 * kPi / 2, 1e-12);
    auto parallel = e->getParallel(CadPoint(0, 5));
    EXPECT_TRUE(coefficients(*parallel, 1, -1, 5));
    auto perpendicular = xAxis.getPerpendicular(CadPoint(3, 4));
    EXPECT_NEAR(perpendicular->azimuthAngle(), 3 * kPi / 2, 1e-12); // +x turned clockwise
    EXPECT_TRUE(*perpendicular == CadPoint(3, 4));
}

TEST(LinearEquationTest, SidesAndDistances) {
    LinearEquation xAxis;
    struct Case {
        CadPoint p;
        double tol;
        CadPoint::Pos pos;
    } cases[] = {
        {{0, 1}, 1e-5, CadPoint::outside},
        {{0, -1}, 1e-5, CadPoint::inside},
        {{5, 0.000001}, 1e-5, CadPoint::along},
        {{5, 0.0009765625}, 0.0009765625, CadPoint::along},
        {{5, -0.0009766}, 0.0009765625, CadPoint::inside},
        {{5, 2e-5}, 1e-5, CadPoint::outside},
        {{5, -0.004}, 0.005, CadPoint::along},
        {{5, -0.006}, 0.005, CadPoint::inside},
    };
    for (auto const& c : cases)
        EXPECT_EQ(xAxis.positionOf(c.p, c.tol), c.pos) << c.p;
    EXPECT_NEAR(xAxis.lengthTo(CadPoint(3, 4)), 4.0, 1e-12);
    EXPECT_TRUE(near3D(xAxis.closestPointTo(CadPoint(3, 4, 9)), CadPoint(3, 0, 0)));
    auto diagonal = LinearEquation::create(CadPoint(0, 0), CadPoint(1, 1));
    EXPECT_NEAR(diagonal->lengthTo(CadPoint(0, 2)), std::sqrt(2.0), 1e-12);
    EXPECT_TRUE(near3D(diagonal->closestPointTo(CadPoint(0, 2)), CadPoint(1, 1, 0), 1e-12));

    double x = 0, y = 0;
    EXPECT_FALSE(xAxis.xAtY(0, x));
    EXPECT_TRUE(xAxis.yAtX(7, y));
    EXPECT_EQ(y, 0.0);
    EXPECT_TRUE(diagonal->xAtY(3, x));
    EXPECT_EQ(x, 3.0);
    LinearEquation vertical(CadPoint(2, 0), 0, 1);
    EXPECT_FALSE(vertical.yAtX(2, y));
    EXPECT_TRUE(vertical.xAtY(9, x));
    EXPECT_EQ(x, 2.0);
}

TEST(LinearEquationTest, Intersections) {
    LinearEquation xAxis;
    auto vertical = LinearEquation::create(CadPoint(1, 0), CadPoint(1, 1));
    EXPECT_TRUE(coefficients(*vertical, 1, 0, -1));
    auto hit = xAxis.intersectionWith(*vertical);
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(near3D(*hit, CadPoint(1, 0, 0)));
    EXPECT_EQ(hit->getPosition(InterPoint::first), CadPoint::none);
    EXPECT_TRUE(xAxis.isPerpendicularTo(*vertical));
    EXPECT_TRUE(vertical->isPerpendicularTo(xAxis));
    EXPECT_FALSE(xAxis.isParallelTo(*vertical));

    LinearEquation shifted(CadPoint(0, 3), -1, 0); // (0, 1, -3): y = 3 run towards -x
    EXPECT_TRUE(coefficients(shifted, 0, 1, -3));
    EXPECT_TRUE(xAxis.isParallelTo(shifted));
    EXPECT_EQ(xAxis.intersectionWith(shifted), nullptr);
    EXPECT_EQ(vertical->intersectionWith(*LinearEquation::create(CadPoint(4, 0), CadPoint(4, -2))), nullptr);

    auto a = LinearEquation::create(CadPoint(0, 0), CadPoint(2, 1));
    auto b = LinearEquation::create(CadPoint(0, 3), CadPoint(1, 1));
    auto crossing = a->intersectionWith(*b);
    ASSERT_NE(crossing, nullptr);
    EXPECT_TRUE(near3D(*crossing, CadPoint(1.2, 0.6, 0), 1e-12));
    EXPECT_TRUE(a->isPerpendicularTo(*LinearEquation::create(CadPoint(0, 0), CadPoint(-1, 2))));
    EXPECT_TRUE(a->isPerpendicularTo(*LinearEquation::create(CadPoint(0, 0), CadPoint(1, -2))));
    // Nearly parallel lines meet only when the slopes differ by more than the tolerance.
    auto c = LinearEquation::create(CadPoint(0, 0), CadPoint(2, 1.001));
    EXPECT_NE(a->intersectionWith(*c), nullptr);
    EXPECT_EQ(a->intersectionWith(*c, 0.01), nullptr);
    EXPECT_TRUE(a->isParallelTo(*c, 0.01));
    EXPECT_FALSE(a->isParallelTo(*c));
}

TEST(LinearEquationTest, NearlyHorizontalCrossing) {
    // A rise of 4e-5 over 2000 gives coefficients of about 5e7; the steep line crosses it at
    // x = 1000 + 1007.00002 / 20000, where the first line stands at 1000 + 4e-5 * x / 2000.
    auto flat = LinearEquation::create(CadPoint(0, 1000), CadPoint(2000, 1000.00004));
    auto steep = LinearEquation::create(CadPoint(1000, -7), CadPoint(1000.001, 13));
    double x = 1000.0 + 1007.00002 / 20000.0;
    CadPoint expected(x, 1000.0 + 4e-5 * x / 2000.0, 0.0);
    for (auto const& pair :
         {std::make_pair(flat.get(), steep.get()), std::make_pair(steep.get(), flat.get())}) {
        auto hit = pair.first->intersectionWith(*pair.second);
        ASSERT_NE(hit, nullptr);
        EXPECT_TRUE(near3D(*hit, expected, 1e-9));
    }
    EXPECT_TRUE(near3D(flat->closestPointTo(expected), expected, 1e-9));
}
