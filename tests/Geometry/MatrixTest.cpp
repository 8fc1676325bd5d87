#include "Geometry/Leveller.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Plane.h"
#include "Geometry/Rotater.h"
#include "Geometry/Vector3.h"
#include "Geometry/Vector4.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

using namespace zelvane;

TEST(Matrix3x3Test, ElementsProductsAndInverse) {
    Matrix3x3 m(2, 0, 1, 1, 3, 2, 1, 1, 2);
    EXPECT_EQ(m(1, 2), 2);
    EXPECT_THROW(m(3, 0), std::out_of_range);
    EXPECT_THROW(m(0, 3), std::out_of_range);
    Matrix3x3 const& constant = m;
    EXPECT_THROW(constant(5, 5), std::out_of_range);
    EXPECT_DOUBLE_EQ(m.getDeterminant(), 6.0);
    EXPECT_TRUE(m * m.getInverse() == Matrix3x3::createIdentity());
    EXPECT_TRUE(m.getInverse() * m == Matrix3x3::createIdentity());
    // Every pivot row of column 0.
    for (Matrix3x3 const& other : {Matrix3x3(1, 2, 0, 5, 1, 1, 2, 0, 3), Matrix3x3(1, 2, 0, 2, 1, 1, 5, 0, 3),
                                   Matrix3x3::createXRotate(0.3) * Matrix3x3::createZRotate(1.2)})
        EXPECT_TRUE(other * other.getInverse() == Matrix3x3::createIdentity());
    // Singular matrices fall back to the identity.
    EXPECT_TRUE(Matrix3x3().getInverse() == Matrix3x3::createIdentity());
    EXPECT_TRUE(Matrix3x3(1, 2, 3, 2, 4, 6, 0, 0, 1).getInverse() == Matrix3x3::createIdentity());
    // The thresholds are absolute: a small but regular matrix also inverts to the identity.
    EXPECT_TRUE(Matrix3x3::createScale(0.01, 0.01, 0.01).getInverse() == Matrix3x3::createIdentity());
    EXPECT_TRUE(Matrix3x3(1e-6, 0, 0, 0, 1, 0, 0, 0, 1).getInverse() == Matrix3x3::createIdentity());
    EXPECT_TRUE(Matrix3x3::createScale(0.5, 0.5, 0.5).getInverse() == Matrix3x3::createScale(2, 2, 2));

    Matrix3x3 a = Matrix3x3::createIdentity();
    Matrix3x3 b = a;
    b(2, 1) = 5e-6;
    EXPECT_TRUE(a == b);
    b(2, 1) = 2e-5;
    EXPECT_TRUE(a != b);
    Matrix3x3 product = Matrix3x3::createZRotate(0.5);
    product *= Matrix3x3::createZRotate(0.25);
    EXPECT_TRUE(product == Matrix3x3::createZRotate(0.75));
}

TEST(Matrix3x3Test, Factories) {
    CadPoint x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    EXPECT_TRUE(near3D(y * Matrix3x3::createXRotate(kPi / 2), z, 1e-12));
    EXPECT_TRUE(near3D(z * Matrix3x3::createYRotate(kPi / 2), x, 1e-12));
    EXPECT_TRUE(near3D(x * Matrix3x3::createZRotate(kPi / 2), y, 1e-12));
    EXPECT_TRUE(near3D(CadPoint(1, 1, 1) * Matrix3x3::createScale(2, 3, 4), CadPoint(2, 3, 4)));
    Matrix3x3 t = Matrix3x3::createTranslate(5, 6, 7);
    EXPECT_EQ(t(2, 0), 5);
    EXPECT_EQ(t(2, 2), 7);
}

TEST(Matrix4x4Test, HostRecordDeterminantAndInverse) {
    API_Tranmat tran{};
    for (int i = 0; i < 12; ++i)
        tran.tmx[i] = i + 1;
    Matrix4x4 m(tran);
    EXPECT_EQ(m(2, 3), 12);
    EXPECT_EQ(m(3, 3), 1);
    EXPECT_EQ(m(3, 0), 0);
    API_Tranmat back = m;
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(back.tmx[i], i + 1);
    EXPECT_THROW(m(4, 0), std::out_of_range);
    EXPECT_THROW(m(0, 4), std::out_of_range);

    Matrix3x3 sub = m.getSubmatrix(1, 2);
    EXPECT_TRUE(sub == Matrix3x3(1, 2, 4, 9, 10, 12, 0, 0, 1));

    EXPECT_TRUE(Matrix4x4().getInverse() == Matrix4x4::createIdentity());
    EXPECT_TRUE(Matrix4x4::createScale(0.01, 0.01, 0.01).getInverse() == Matrix4x4::createIdentity());
    EXPECT_TRUE(Matrix4x4::createScale(0.5, 0.5, 0.5).getInverse() == Matrix4x4::createScale(2, 2, 2));
    EXPECT_TRUE(Matrix4x4::createZRotate(0.7).getInverse() == Matrix4x4::createZRotate(-0.7));
    Matrix4x4 general = Matrix4x4::createXRotate(0.4) * Matrix4x4::createTranslate(1, 2, 3) *
                        Matrix4x4::createScale(2, 3, 0.5);
    EXPECT_NEAR(general.getDeterminant(), 3.0, 1e-12);
    EXPECT_TRUE(general * general.getInverse() == Matrix4x4::createIdentity());
    CadPoint p(4, -2, 7);
    EXPECT_TRUE(near3D(p * general * general.getInverse(), p, 1e-12));

    Matrix4x4 a = Matrix4x4::createIdentity();
    Matrix4x4 b = a;
    b(1, 3) = 5e-6;
    EXPECT_TRUE(a != b); // 4x4 compares within 1e-6
    b(1, 3) = 1e-6;
    EXPECT_TRUE(a == b);
}

TEST(Matrix4x4Test, Factories) {
    CadPoint x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    // The X and Y rotations turn by -angle under M . v; Z turns by +angle.
    EXPECT_TRUE(near3D(y * Matrix4x4::createXRotate(kPi / 2), CadPoint(0, 0, -1), 1e-12));
    EXPECT_TRUE(near3D(z * Matrix4x4::createYRotate(kPi / 2), CadPoint(-1, 0, 0), 1e-12));
    EXPECT_TRUE(near3D(x * Matrix4x4::createZRotate(kPi / 2), y, 1e-12));
    EXPECT_TRUE(near3D(CadPoint(1, 1, 1) * Matrix4x4::createScale(2, 3, 4), CadPoint(2, 3, 4)));
    EXPECT_TRUE(near3D(CadPoint(1, 1, 1) * Matrix4x4::createTranslate(2, 3, 4), CadPoint(3, 4, 5)));
    API_Tranmat tran = Matrix4x4::createTranslate(2, 3, 4);
    EXPECT_EQ(tran.tmx[3], 2);
    EXPECT_EQ(tran.tmx[11], 4);
}

TEST(RotaterTest, AxisRotations) {
    struct Case {
        Rotater* rotater;
        CadPoint in, out;
    } cases[] = {
        {new XRotater(kPi / 2), {0, 1, 0}, {0, 0, 1}},
        {new YRotater(kPi / 2), {1, 0, 0}, {0, 0, 1}}, // constructed: the base rule
        {new ZRotater(kPi / 2), {1, 0, 0}, {0, 1, 0}},
        {new ZRotater(5e-6), {1, 0, 0}, {1, 0, 0}},     // inactive
        {new ZRotater(0.5, 1.0), {1, 0, 0}, {1, 0, 0}}, // inactive under a wide tolerance
    };
    for (auto& c : cases) {
        std::unique_ptr<Rotater> rotater(c.rotater);
        CadPoint p = c.in;
        rotater->transformPt(p);
        EXPECT_TRUE(near3D(p, c.out, 1e-12)) << rotater->getAxis();
        std::unique_ptr<Rotater> copy(rotater->clone());
        EXPECT_EQ(copy->getAxis(), rotater->getAxis());
        copy->reverse();
        copy->transformPt(p);
        EXPECT_TRUE(near3D(p, c.in, 1e-12)) << rotater->getAxis();
    }
    ZRotater z(5e-6);
    EXPECT_FALSE(z.isActive());
    z.setAngle(5e-6, 1e-6);
    EXPECT_TRUE(z.isActive());

    YRotater y(kPi / 2);
    EXPECT_EQ(y.getAngle(), -kPi / 2);
    y.setAngle(kPi / 2, 1e-5);
    EXPECT_EQ(y.getAngle(), kPi / 2);
    CadPoint p(1, 0, 0);
    y.transformPt(p);
    EXPECT_TRUE(near3D(p, CadPoint(0, 0, -1), 1e-12));
    y.reverse();
    y.transformPt(p);
    EXPECT_TRUE(near3D(p, CadPoint(1, 0, 0), 1e-12));
    EXPECT_EQ(y.getAngle(), -kPi / 2);
}

TEST(RotaterTest, ValueTypes) {
    XRotater x(kPi / 2);
    Line line(CadPoint(0, 1, 0), CadPoint(0, 2, 0));
    x.transform(line);
    EXPECT_TRUE(near3D(line.origin(), CadPoint(0, 0, 1), 1e-12));
    EXPECT_TRUE(near3D(line.end(), CadPoint(0, 0, 2), 1e-12));

    Vector4 v(0, 1, 0);
    v.w() = 3;
    x.transform(v);
    EXPECT_TRUE(near3D(CadPoint(v), CadPoint(0, 0, 1), 1e-12));
    EXPECT_EQ(v.w(), 3);

    Plane plane(5.0, Vector3(0, 0, 1));
    x.transform(plane);
    EXPECT_TRUE(near3D(CadPoint(plane.getNormal()), CadPoint(0, -1, 0), 1e-12));
    EXPECT_EQ(plane.getOffset(), 5.0);
}

TEST(LevellerTest, LevelsASlopedPlaneAndReversesExactly) {
    Leveller flat(Vector3(0, 0, 1), 0.0);
    CadPoint p(1.5, -2, 3);
    CadPoint q = p;
    flat.transform(q);
    EXPECT_EQ(q.x(), p.x());
    EXPECT_EQ(q.y(), p.y());
    EXPECT_EQ(q.z(), p.z());

    Vector3 normals[] = {{1, 2, 3}, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {-3, 1, 0.5}, {0.2, -0.1, -4}};
    CadPoint points[] = {{0, 0, 0}, {1, 2, 3}, {-5, 4, 0.25}, {100, -30, 7}};
    for (Vector3 const& n : normals) {
        for (double angle : {0.0, 0.6, -2.0}) {
            Leveller leveller(n, angle);
            CadPoint normal = n;
            leveller.transform(normal);
            EXPECT_TRUE(near3D(normal, CadPoint(0, 0, n.magnitude()), 1e-12)) << CadPoint(n) << angle;
            Leveller back(leveller);
            back.reverse();
            for (CadPoint const& start : points) {
                CadPoint moved = start;
                leveller.transform(moved);
                back.transform(moved);
                EXPECT_TRUE(near3D(moved, start, 1e-9)) << CadPoint(n) << angle << start;
            }
        }
    }
    // The plan rotation turns everything by -angle after levelling.
    Leveller turned(Vector3(0, 0, 1), kPi / 2);
    CadPoint x(1, 0, 0);
    turned.transform(x);
    EXPECT_TRUE(near3D(x, CadPoint(0, -1, 0), 1e-12));
    turned.setZRotation(-kPi / 2);
    x = CadPoint(1, 0, 0);
    turned.transform(x);
    EXPECT_TRUE(near3D(x, CadPoint(0, 1, 0), 1e-12));

    // Points of a sloped plane come out at one height.
    Vector3 n(1, 1, 1);
    Leveller leveller(n, 0.0);
    Line line(CadPoint(1, 0, 0), CadPoint(0, 1, 0));
    leveller.transform(line);
    EXPECT_NEAR(line.origin().z(), line.end().z(), 1e-12);
    EXPECT_NEAR(line.origin().z(), 1 / std::sqrt(3.0), 1e-12);
    Leveller assigned;
    assigned = leveller;
    EXPECT_TRUE(near3D(CadPoint(assigned.getNormal()), CadPoint(1, 1, 1)));
}
