#include "Geometry/CadPolygon.h"

#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Geometry/Leveller.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Plane.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "Geometry/Rotater.h"
#include "PointExpect.h"
#include "PolygonCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>

namespace zelvane {
namespace {

// Polygons with arc edges and their exact measures (listed anticlockwise).
struct ArcCase {
    char const* name;
    Contour outline;
    std::vector<Contour> holes;
    double area; // holes subtracted
    double perimeter;
    CadPoint low;
    CadPoint high;
};

std::vector<ArcCase> const& arcCases() {
    double const r2 = std::sqrt(2.0);
    static std::vector<ArcCase> const cases = {
        {"half disc",
         {{1, 0, kPi}, {-1, 0, 0}},
         {},
         kPi / 2,
         2 + kPi,
         CadPoint(-1, -1, 0),
         CadPoint(1, 0, 0)},
        {"square, bulge out",
         {{0, 0, 0}, {2, 0, 0}, {2, 2, kPi}, {0, 2, 0}},
         {},
         4 + kPi / 2,
         6 + kPi,
         CadPoint(0, 0, 0),
         CadPoint(3, 2, 0)},
        {"square, bulge in",
         {{0, 0, 0}, {2, 0, 0}, {2, 2, -kPi}, {0, 2, 0}},
         {},
         4 - kPi / 2,
         6 + kPi,
         CadPoint(0, 0, 0),
         CadPoint(2, 2, 0)},
        {"sector",
         {{0, 0, 0}, {1, 0, 0}, {0, 1, kPi / 2}},
         {},
         kPi / 4,
         2 + kPi / 2,
         CadPoint(0, 0, 0),
         CadPoint(1, 1, 0)},
        {"beyond a half turn",
         {{0, 1, 0}, {1, 0, 1.5 * kPi}},
         {},
         0.75 * kPi + 0.5,
         1.5 * kPi + r2,
         CadPoint(-1, -1, 0),
         CadPoint(1, 1, 0)},
        {"beyond a half turn with hole",
         {{0, 1, 0}, {1, 0, 1.5 * kPi}},
         {{{-0.5, -0.5, 0}, {0, -0.5, 0}, {0, 0, 0}, {-0.5, 0, 0}}},
         0.75 * kPi + 0.25,
         1.5 * kPi + r2,
         CadPoint(-1, -1, 0),
         CadPoint(1, 1, 0)},
        {"disc with round hole",
         {{1, 0, kPi}, {-1, 0, kPi}},
         {{{0.5, 0, kPi}, {-0.5, 0, kPi}}},
         0.75 * kPi,
         2 * kPi,
         CadPoint(-1, -1, 0),
         CadPoint(1, 1, 0)},
    };
    return cases;
}

PolygonCase asCase(ArcCase const& c) {
    return PolygonCase{c.name, c.outline, c.holes};
}

TEST(CadPolygonTest, StraightMeasuresAgainstBoost) {
    forEachStraightVariant([&](PolygonCase const& c, bool reverse, bool withHoles,
                               std::unique_ptr<CadPolygon> const& polygon, BoostPolygon const& oracle) {
        EXPECT_NEAR(polygon->getArea(true, false), bg::area(oracle), 1e-9);
        EXPECT_NEAR(polygon->getArea(false, true), (reverse ? -1 : 1) * bg::area(toBoost(c, false)), 1e-9);
        EXPECT_EQ(polygon->getDirection(), reverse ? PolyPoint::clockwise : PolyPoint::anticlockwise);
        EXPECT_NEAR(polygon->getPerimeter2D(), bg::perimeter(toBoost(c, false)), 1e-9);
        bg::model::box<BoostPoint> envelope;
        bg::envelope(oracle, envelope);
        auto box = polygon->getBounds();
        ASSERT_TRUE(box);
        EXPECT_DOUBLE_EQ(box->getOrigin().x(), envelope.min_corner().x());
        EXPECT_DOUBLE_EQ(box->getOrigin().y(), envelope.min_corner().y());
        EXPECT_DOUBLE_EQ(box->getEnd().x(), envelope.max_corner().x());
        EXPECT_DOUBLE_EQ(box->getEnd().y(), envelope.max_corner().y());
        EXPECT_TRUE(polygon->isValid(true));
        EXPECT_EQ(polygon->getHoleCount(), withHoles ? int(c.holes.size()) : 0);
        int holeVertices = 0;
        for (Contour const& h : c.holes)
            holeVertices += withHoles ? int(h.size()) : 0;
        EXPECT_EQ(polygon->getVertexCount(false), int(c.outline.size()) + holeVertices);
        EXPECT_EQ(polygon->getVertexCount(true), int(c.outline.size()));
        EXPECT_EQ(polygon->getArcCount(false), 0);
        // Every internal angle adds up to (n - 2) pi, whatever the direction.
        double angles = 0.0;
        for (int i = 0; i < polygon->vertSize(); ++i)
            angles += polygon->getInternalAngleAt(i);
        EXPECT_NEAR(angles, (polygon->vertSize() - 2) * kPi, 1e-9);
    });
}

TEST(CadPolygonTest, MeasuresWithArcEdgesAndHoles) {
    for (ArcCase const& c : arcCases()) {
        for (bool reverse : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (reverse ? " reversed" : ""));
            auto polygon = build(asCase(c), reverse, true);
            EXPECT_TRUE(polygon->isValid(false));
            EXPECT_TRUE(polygon->isValid(true));
            EXPECT_NEAR(polygon->getArea(true, false), c.area, 1e-9);
            EXPECT_NEAR(polygon->getArea(true, true), (reverse ? -1 : 1) * c.area, 1e-9);
            EXPECT_EQ(polygon->getDirection(), reverse ? PolyPoint::clockwise : PolyPoint::anticlockwise);
            EXPECT_NEAR(polygon->getPerimeter2D(), c.perimeter, 1e-9);
            EXPECT_NEAR(polygon->getPerimeter3D(), c.perimeter, 1e-9);
            auto box = polygon->getBounds();
            ASSERT_TRUE(box);
            EXPECT_TRUE(near3D(box->getOrigin(), c.low, 1e-9));
            EXPECT_TRUE(near3D(box->getEnd(), c.high, 1e-9));
            // Reversing keeps every arc: the same edges, run the other way.
            CadPolygon turned(*polygon);
            turned.reverse();
            EXPECT_NEAR(turned.getArea(false, true), -polygon->getArea(false, true), 1e-9);
            for (int j = 0; j < polygon->vertSize(); ++j) {
                PolyEdge e = polygon->edgeTo(j);
                bool found = false;
                for (int k = 0; k < turned.vertSize() && !found; ++k)
                    found = turned.edgeTo(k).isEqual2D(e, 1e-9);
                EXPECT_TRUE(found) << "edge " << j;
            }
        }
    }
    auto halfDisc = build(asCase(arcCases()[0]), false, false);
    EXPECT_EQ(halfDisc->getArcCount(true), 1);
    EXPECT_NEAR(halfDisc->getInternalAngleAt(0), kPi / 2, 1e-9);
}

TEST(CadPolygonTest, ValidityAndDirection) {
    CadPolygon two;
    fill(two, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_FALSE(two.isValid(false));
    EXPECT_EQ(two.getArea(false, false), 0.0);
    EXPECT_EQ(two.getDirection(), PolyPoint::noRotation);
    two.setClosed(false);
    EXPECT_TRUE(two.isValid(true));
    CadPolygon bowTie;
    fill(bowTie, {{0, 0, 0}, {1, 1, 0}, {1, 0, 0}, {0, 1, 0}});
    EXPECT_TRUE(bowTie.isValid(false));
    EXPECT_FALSE(bowTie.isValid(true));
    // An arc that swings across the opposite side.
    CadPolygon crossing;
    fill(crossing, {{0, 0, 0}, {2, 0, 0}, {2, 1, -1.5 * kPi}, {0, 1, 0}});
    EXPECT_FALSE(crossing.isValid(true));

    // A hole as large as the outline leaves nothing.
    CadPolygon full;
    fill(full, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    fill(*full.addHole(nullptr), {{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}});
    EXPECT_EQ(full.getArea(true, false), 0.0);

    auto polygon = build(straightCases()[4], false, true);
    polygon->setDirection(PolyPoint::clockwise, true, true);
    EXPECT_EQ(polygon->getDirection(), PolyPoint::clockwise);
    for (int k = 0; k < polygon->getHoleCount(); ++k)
        EXPECT_EQ(polygon->getHole(k).getDirection(), PolyPoint::anticlockwise);
    polygon->setDirection(PolyPoint::anticlockwise, true, false);
    for (int k = 0; k <= polygon->getHoleCount(); ++k)
        EXPECT_EQ(polygon->getShape(k).getDirection(), PolyPoint::anticlockwise);
    EXPECT_NEAR(polygon->getArea(true, false), 16 - 1 - 0.5, 1e-12);
}

TEST(CadPolygonTest, IndexingAndHoles) {
    CadPolygon five;
    fill(five, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    EXPECT_EQ(five.wrapIndex(-1), 4);
    EXPECT_EQ(five.wrapIndex(5), 0);
    EXPECT_EQ(five.wrapIndex(-11), 4);
    CadPolygon const& fixed = five;
    EXPECT_EQ(fixed[7].x(), 2.0);
    EXPECT_EQ(five[-1]->x(), 4.0);
    EXPECT_EQ((*five.iteratorAt(6))->x(), 1.0);

    CadPolygon empty;
    CadPolygon const& none = empty;
    EXPECT_EQ(empty.wrapIndex(3), 0);
    EXPECT_THROW(none[0], std::out_of_range);
    EXPECT_THROW(empty[3], std::out_of_range);
    EXPECT_TRUE(empty.iteratorAt(2) == empty.end());
    EXPECT_FALSE(empty.getBounds());

    CadPolygon polygon(4, 0, true);
    EXPECT_EQ(polygon.getHoles(), nullptr);
    EXPECT_NE(CadPolygon(4, 2, true).getHoles(), nullptr);
    CadPolygon* added = polygon.addHole(nullptr);
    EXPECT_TRUE(added->isHole());
    EXPECT_TRUE(added->isClosed());
    EXPECT_EQ(added->capacity(), 5u);
    EXPECT_EQ(polygon.getHoleCount(), 1);
    EXPECT_THROW(polygon.getHole(1), std::out_of_range);
    EXPECT_THROW(polygon.getHole(-1), std::out_of_range);
    EXPECT_THROW(polygon.removeHole(2), std::out_of_range);
    EXPECT_EQ(polygon.getHoleCount(), 1);
    EXPECT_THROW(polygon.addHole(&polygon), std::invalid_argument);
    EXPECT_EQ(polygon.addHole(added), added);
    EXPECT_EQ(polygon.getHoleCount(), 1);
    polygon.removeHole(0);
    EXPECT_EQ(polygon.getHoles(), nullptr);

    // An adopted hole loses its own holes and ids.
    auto hole = std::make_unique<CadPolygon>();
    fill(*hole, {{1, 1, 0}, {2, 1, 0}, {2, 2, 0}});
    hole->renumber(true);
    hole->addHole(nullptr);
    CadPolygon* adopted = polygon.addHole(hole.release());
    EXPECT_EQ(adopted->getHoleCount(), 0);
    for (PolyPoint const* v : *adopted)
        EXPECT_EQ(v->getID(), 0u);
    std::unique_ptr<CadPolygon> released = polygon.releaseHole(0);
    EXPECT_EQ(released.get(), adopted);
    EXPECT_EQ(polygon.getHoles(), nullptr);
    polygon.addHole(released.release());
    std::unique_ptr<PolyVector> holes = polygon.releaseHoles();
    EXPECT_EQ(holes->size(), 1u);
    EXPECT_EQ(polygon.getHoleCount(), 0);
    polygon.setHoles(holes.release());
    EXPECT_EQ(polygon.getHoleCount(), 1);
    // Adopting its own hole vector keeps it.
    polygon.setHoles(polygon.getHoles());
    EXPECT_EQ(polygon.getHoleCount(), 1);
    EXPECT_EQ(polygon.getHole(0).vertSize(), 3);
}

TEST(CadPolygonTest, CopyingAndAssignment) {
    auto original = build(straightCases()[4], false, true);
    original->renumber(false);
    CadPolygon copy(*original);
    EXPECT_TRUE(copy.isEqual3D(*original));
    EXPECT_EQ(copy.getTopID(), original->getTopID());
    EXPECT_NE(copy.getHoles(), original->getHoles());
    std::unique_ptr<CadPolygon> cloned(original->clone());
    EXPECT_TRUE(cloned->isEqual2D(*original));
    EXPECT_EQ((*cloned)[2]->getID(), (*original)[2]->getID());

    // Assigning one of its own holes copies the hole before the old holes go.
    CadPolygon holey(*original);
    CadPolygon hole(holey.getHole(0));
    holey = holey.getHole(0);
    EXPECT_TRUE(holey.isEqual3D(hole));
    EXPECT_TRUE(holey.isHole());
    EXPECT_EQ(holey.getHoleCount(), 0);
    CadPolygon& self = copy;
    copy = self;
    EXPECT_TRUE(copy.isEqual3D(*original));

    copy.clear();
    EXPECT_EQ(copy.vertSize(), 0);
    EXPECT_EQ(copy.getHoles(), nullptr);
    EXPECT_EQ(copy.getTopID(), 0u);
    EXPECT_TRUE(copy.isClosed());
    EXPECT_FALSE(copy.isHole());
    copy.initialise(false, true);
    EXPECT_FALSE(copy.isClosed());
    EXPECT_TRUE(copy.isHole());

    PolyVector vector(3);
    EXPECT_EQ(vector.capacity(), 3u);
    vector.push_back(original->clone());
    std::unique_ptr<PolyVector> vectorCopy(vector.clone());
    EXPECT_NE((*vectorCopy)[0], vector[0]);
    EXPECT_TRUE((*vectorCopy)[0]->isEqual2D(*vector[0]));
}

TEST(CadPolygonTest, EqualityAndIds) {
    auto a = build(straightCases()[1], false, false);
    auto b = build(straightCases()[1], false, false);
    EXPECT_TRUE(a->isEqual2D(*b));
    *(*b)[0] += CadPoint(0, 0, 1);
    EXPECT_TRUE(a->isEqual2D(*b));
    EXPECT_FALSE(a->isEqual3D(*b));
    auto rotatedStart = std::make_unique<CadPolygon>();
    Contour outline = straightCases()[1].outline;
    std::rotate(outline.begin(), outline.begin() + 1, outline.end());
    fill(*rotatedStart, outline);
    EXPECT_FALSE(a->isEqual2D(*rotatedStart));
    EXPECT_FALSE(a->isEqual2D(*build(straightCases()[4], false, true)));

    CadPolygon ids;
    fill(ids, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    ids[0]->setID(7);
    ids[1]->setID(7);
    CadPolygon all(ids);
    ids.renumber(false);
    EXPECT_EQ(ids[1]->getID(), 7u);
    EXPECT_EQ(ids[2]->getID(), 8u);
    EXPECT_EQ(ids[0]->getID(), 9u);
    EXPECT_EQ(ids.getTopID(), 9u);
    all.renumber(true);
    EXPECT_EQ(all[2]->getID(), 8u);
    EXPECT_EQ(all[1]->getID(), 9u);
    EXPECT_EQ(all[0]->getID(), 10u);
    EXPECT_EQ(all.allocateID(), 11u);

    auto holey = build(straightCases()[4], false, true);
    holey->renumber(false);
    std::set<unsigned int> seen;
    for (int k = 0; k <= holey->getHoleCount(); ++k) {
        EXPECT_EQ(holey->getShape(k).getTopID(), holey->getTopID());
        for (PolyPoint const* v : holey->getShape(k))
            EXPECT_TRUE(seen.insert(v->getID()).second);
    }
    int contour = -1;
    unsigned int holeId = holey->getHole(1)[2]->getID();
    EXPECT_EQ(holey->findVertexById(holeId, &contour), 2);
    EXPECT_EQ(contour, 2);
    EXPECT_EQ(holey->findVertexById(holeId, nullptr), CadPolygon::notFound);
    EXPECT_EQ(holey->findVertexById((*holey)[3]->getID(), &contour), 3);
    EXPECT_EQ(contour, 0);
    EXPECT_EQ(holey->findVertexById(999, &contour), CadPolygon::notFound);
    EXPECT_EQ(contour, CadPolygon::notFound);
    EXPECT_EQ(holey->findVertexByLocation(CadPoint(2, 2.000001, 0), &contour), 1);
    EXPECT_EQ(contour, 1);
    EXPECT_EQ(holey->findVertexByLocation(CadPoint(4, 4, 0), nullptr), 2);
    EXPECT_EQ(holey->findVertexByLocation(CadPoint(9, 4, 0), &contour), CadPolygon::notFound);
}

TEST(CadPolygonTest, TransformsAndBoxes) {
    CadPolygon box(Cube(CadPoint(0, 0, 3), CadPoint(2, 1, 1)));
    ASSERT_EQ(box.vertSize(), 4);
    CadPolygon const& fixed = box;
    EXPECT_TRUE(near3D(fixed[0], CadPoint(0, 0, 1)));
    EXPECT_TRUE(near3D(fixed[1], CadPoint(2, 0, 1)));
    EXPECT_TRUE(near3D(fixed[2], CadPoint(2, 1, 1)));
    EXPECT_TRUE(near3D(fixed[3], CadPoint(0, 1, 1)));
    CadPolygon turned(Cube(CadPoint(0, 0, 0), CadPoint(2, 1, 0)), kPi / 2);
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(turned)[1], CadPoint(0, 2, 0), 1e-12));
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(turned)[2], CadPoint(-1, 2, 0), 1e-12));

    // A mirror negates every sweep, so arcs stay mirror images; a rotation keeps them.
    ArcCase const& bulge = arcCases()[1];
    auto polygon = build(asCase(bulge), false, false);
    auto halfDisc = build(asCase(arcCases()[0]), true, false);
    *halfDisc += CadPoint(1, 1.5, 0);
    polygon->addHole(halfDisc.release());
    CadPolygon mirrored = *polygon * Matrix3x3(-1, 0, 0, 0, 1, 0, 0, 0, 1);
    EXPECT_NEAR(mirrored.getArea(true, false), polygon->getArea(true, false), 1e-9);
    EXPECT_DOUBLE_EQ(mirrored[2]->getSweep(), -kPi);
    EXPECT_DOUBLE_EQ(mirrored.getHole(0)[0]->getSweep(), kPi);
    auto mirroredBox = mirrored.getBounds();
    EXPECT_TRUE(near3D(mirroredBox->getOrigin(), CadPoint(-3, 0, 0), 1e-9));
    CadPolygon rotated = *polygon * Matrix3x3::createZRotate(kPi / 2);
    EXPECT_DOUBLE_EQ(rotated[2]->getSweep(), kPi);
    EXPECT_NEAR(rotated.getArea(true, false), polygon->getArea(true, false), 1e-9);

    CadPolygon shifted = (*polygon + CadPoint(1, 1, 1)) * 2.0;
    EXPECT_TRUE(near3D(*shifted.getHole(0)[1], CadPoint(6, 5, 2)));
    EXPECT_NEAR(shifted.getArea(true, false), 4 * polygon->getArea(true, false), 1e-9);
    CadPolygon back = (shifted / 2.0) - CadPoint(1, 1, 1);
    EXPECT_TRUE(back.isEqual3D(*polygon, 1e-12));

    ZRotater turn(kPi / 2);
    CadPolygon rotatedAgain(*polygon);
    turn.transform(rotatedAgain);
    EXPECT_TRUE(rotatedAgain.isEqual3D(rotated, 1e-12));

    // A square laid on the plane z = y, levelled: its true area.
    CadPolygon square(Cube(CadPoint(0, 0, 0), CadPoint(1, 1, 0)));
    Plane slope(CadPoint(), Vector3(0, -1, 1));
    square.alignTo(slope);
    EXPECT_NEAR(square[2]->z(), 1.0, 1e-12);
    Leveller leveller(Vector3(0, -1, 1), 0.0);
    leveller.transform(square);
    for (PolyPoint const* v : square)
        EXPECT_NEAR(v->z(), square[0]->z(), 1e-12);
    EXPECT_NEAR(square.getArea(false, false), std::sqrt(2.0), 1e-9);
    square.setBaseLevel(5.0);
    EXPECT_EQ(square[1]->z(), 5.0);
}

TEST(CadPolygonTest, PerimeterTraceAndAngles) {
    auto square = build(straightCases()[0], false, false);
    PolyPoint p;
    EXPECT_EQ(square->tracePerimeter(0.5, p), 0);
    EXPECT_TRUE(near3D(p, CadPoint(0.5, 0, 0)));
    EXPECT_EQ(square->tracePerimeter(1.0, p), 0);
    EXPECT_TRUE(near3D(p, CadPoint(1, 0, 0)));
    EXPECT_EQ(square->tracePerimeter(2.5, p), 2);
    EXPECT_TRUE(near3D(p, CadPoint(0.5, 1, 0)));
    EXPECT_EQ(square->tracePerimeter(10.0, p), 3);
    EXPECT_TRUE(near3D(p, CadPoint(0, 1, 0)));
    EXPECT_EQ(square->tracePerimeter(0.0, p), 0);
    EXPECT_TRUE(near3D(p, CadPoint(0, 0, 0)));
    CadPolygon empty;
    p = PolyPoint(CadPoint(3, 3, 3), 0, 0);
    EXPECT_EQ(empty.tracePerimeter(1.0, p), 0);
    EXPECT_TRUE(near3D(p, CadPoint()));
    // Along an arc edge: a quarter of the way round the bulge.
    auto bulge = build(asCase(arcCases()[1]), false, false);
    EXPECT_EQ(bulge->tracePerimeter(2 + kPi / 4, p), 1);
    EXPECT_TRUE(near3D(p, CadPoint(2 + std::sqrt(0.5), 1 - std::sqrt(0.5), 0), 1e-9));

    for (bool reverse : {false, true}) {
        auto s = build(straightCases()[0], reverse, false);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(s->getInternalAngleAt(i), kPi / 2, 1e-12);
        auto l = build(straightCases()[1], reverse, false);
        EXPECT_NEAR(l->getInternalAngleAt(reverse ? 2 : 3), 1.5 * kPi, 1e-12);
    }
    EXPECT_TRUE(bulge->isTangentialAt(1, 1e-6));
    EXPECT_TRUE(bulge->isTangentialAt(2, 1e-6));
    EXPECT_FALSE(bulge->isTangentialAt(0, 1e-6));
    EXPECT_FALSE(CadPolygon().isTangentialAt(0, 1.0));
}

TEST(CadPolygonTest, CleaningVertices) {
    CadPolygon repeated;
    fill(repeated, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    (*repeated.addHole(nullptr)).push_back(new PolyPoint(CadPoint(0.5, 0.5, 0), 0, 0));
    repeated.addHole(nullptr); // empty contours are skipped
    CadPolygon* same = repeated.addHole(nullptr);
    fill(*same, {{0.2, 0.2, 0}, {0.2, 0.2, 0}, {0.2, 0.2, 0}});
    EXPECT_TRUE(repeated.removeDuplicates2D());
    EXPECT_EQ(repeated.vertSize(), 4);
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(repeated)[0], CadPoint(1, 0, 0)));
    EXPECT_EQ(repeated.getHole(0).vertSize(), 1);
    EXPECT_EQ(repeated.getHole(1).vertSize(), 0);
    EXPECT_EQ(repeated.getHole(2).vertSize(), 1);
    EXPECT_FALSE(repeated.removeDuplicates2D());

    CadPolygon stacked;
    fill(stacked, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    stacked.push_back(new PolyPoint(CadPoint(1, 1, 2), 0, 0));
    CadPolygon stacked2D(stacked);
    EXPECT_FALSE(stacked.removeDuplicates3D());
    EXPECT_TRUE(stacked2D.removeDuplicates2D());
    EXPECT_EQ(stacked2D.vertSize(), 3);

    CadPolygon unique;
    fill(unique, {{0, 0, 0}, {1, 0, 0}});
    EXPECT_FALSE(unique.insertUniqueVertex(new PolyPoint(CadPoint(1, 0.000001, 0), 0, 0), 1));
    EXPECT_TRUE(unique.insertUniqueVertex(new PolyPoint(CadPoint(1, 1, 0), 0, 0), 1));
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(unique)[1], CadPoint(1, 1, 0)));
    EXPECT_TRUE(unique.insertUniqueVertex(new PolyPoint(CadPoint(0, 1, 0), 0, 0), CadPolygon::notFound));
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(unique)[3], CadPoint(0, 1, 0)));
    EXPECT_TRUE(unique.insertUniqueVertex(new PolyPoint(CadPoint(5, 5, 0), 0, 0), 5));
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(unique)[1], CadPoint(5, 5, 0)));
    EXPECT_FALSE(unique.insertUniqueVertex(nullptr, 0));
}

TEST(CadPolygonTest, PolyList) {
    PolyList list;
    EXPECT_TRUE(list.findLargest() == list.end());
    list.push_back(new CadPolygon());
    EXPECT_TRUE(list.findLargest() == list.end());
    list.push_back(build(straightCases()[0], false, false).release());
    list.push_back(build(straightCases()[4], true, true).release());
    list.push_back(build(straightCases()[4], false, true).release());
    list.push_back(nullptr);
    auto largest = list.findLargest();
    ASSERT_TRUE(largest != list.end());
    EXPECT_EQ(std::distance(list.begin(), largest), 2);
    PolyList const& fixed = list;
    EXPECT_EQ(std::distance(fixed.begin(), fixed.findLargest()), 2);
    std::unique_ptr<PolyList> copy(list.clone());
    ASSERT_EQ(copy->size(), 5u);
    EXPECT_EQ(copy->back(), nullptr);
    EXPECT_NE(*std::next(copy->begin(), 2), *largest);
    EXPECT_TRUE((*std::next(copy->begin(), 2))->isEqual2D(**largest));
}

} // namespace
} // namespace zelvane
