#include "Model3D/Element3D.h"
#include "ACAPI/ElementBounds.hpp"
#include "ACAPI/ElementMemo.hpp"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Plane.h"
#include "Geometry/PolyList.h"
#include "sim/Component3D.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Model3D.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"
#include "support/RecordElement.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

using namespace zelvane;

namespace {

class Element3DTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        plan = host.getProject()->getFloorPlan();
    }
    void TearDown() override {
        Face::m_isFacetLoaded = false;
        host.reset();
    }
    GS::Guid add(const std::vector<sim::Body3D>& bodies) {
        API_Element record;
        record.header.typeID = API_ObjectID;
        GS::Guid guid = sim::addElement(record);
        sim::setBodies(guid, bodies);
        return guid;
    }
    Element3D read(const GS::Guid& guid) { return Element3D(ElementLink(Guid(guid), plan), plan); }

    Plan* plan = nullptr;
};

} // namespace

TEST_F(Element3DTest, BoxesShareEdgesBetweenFacesInOppositeDirections) {
    Element3D model = read(add({sim::boxBody(1, 2, 3), sim::boxBody(1, 1, 1)}));
    ASSERT_EQ(model.bodySize(), 2u);
    EXPECT_EQ(model.vertexSize(Element3D::allBodies), 16u);
    EXPECT_EQ(model.edgeSize(0), 12u);
    EXPECT_EQ(model.faceSize(Element3D::allBodies), 12u);
    Body body = model.body(0);
    EXPECT_TRUE(body.isClosed());
    for (std::size_t e = 0; e < body.edgeSize(); ++e) {
        Edge edge = body.edge(e);
        EXPECT_NE(edge.getFirstFace(), Edge::none) << e;
        EXPECT_NE(edge.getSecondFace(), Edge::none) << e;
        EXPECT_EQ(edge.getPen().getIndex(), 1);
    }
    // Every edge is run once each way by the two faces it bounds.
    std::vector<int> forward(12), backward(12);
    for (std::size_t f = 0; f < body.faceSize(); ++f) {
        Face face = body.face(f);
        for (std::size_t j = 0; j < face.edgeSize(); ++j) {
            Int32 entry = face.edge(j, true);
            (entry > 0 ? forward : backward)[std::size_t(std::abs(entry) - 1)]++;
        }
    }
    EXPECT_EQ(forward, std::vector<int>(12, 1));
    EXPECT_EQ(backward, std::vector<int>(12, 1));
    EXPECT_DOUBLE_EQ(body.face(0).getNormal().z(), -1.0);
    EXPECT_THROW(model.body(2), std::out_of_range);
    EXPECT_THROW(body.face(6), std::out_of_range);
}

TEST_F(Element3DTest, AnEdgeOfThreeFacesKeepsTheFirstTwoVisitedLastFirst) {
    // Three triangles hinged on the edge from (0, 0, 0) to (1, 0, 0), like the pages of a book.
    sim::Body3D fins;
    fins.status = 0;
    fins.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, -1, 0}};
    for (auto [a, b] :
         std::vector<std::pair<Int32, Int32>>{{1, 2}, {2, 3}, {3, 1}, {2, 4}, {4, 1}, {2, 5}, {5, 1}}) {
        fins.edges.push_back(sim::Body3D::Edge{a, b, 0, 1});
    }
    fins.vectors = {{0, 0, 1}, {0, -1, 0}};
    fins.polygons = {{{1, 2, 3}, 1, 0, 1, {}}, {{1, 4, 5}, 2, 0, 1, {}}, {{1, 6, 7}, -1, 0, 1, {}}};
    Element3D model = read(add({fins}));
    ASSERT_EQ(model.bodySize(), 1u);
    ASSERT_EQ(model.faceSize(0), 3u);
    Edge hinge = model.edge(0, 0);
    ASSERT_EQ(std::abs(model.face(0, 2).edge(0, true)), 1);
    EXPECT_EQ(hinge.getFirstFace(), 2);
    EXPECT_EQ(hinge.getSecondFace(), 1);
    // An edge of one face only has no second face.
    Edge rim = model.edge(0, 1);
    EXPECT_EQ(rim.getFirstFace(), 0);
    EXPECT_EQ(rim.getSecondFace(), Edge::none);
}

TEST_F(Element3DTest, VerticesAreTransformedOnce) {
    sim::Body3D moved = sim::boxBody(1, 1, 1);
    moved.transformation.tmx[3] = 10.0; // x + 10
    moved.transformation.tmx[11] = 2.0; // z + 2
    Element3D model = read(add({sim::boxBody(1, 1, 1), moved}));
    // Vertices are numbered as first used: the bottom face starts along host edge 4 (vertex 4 to 1).
    EXPECT_TRUE(model.vertex(0, 0).isEqual3D(CadPoint(0, 1, 0), 1e-12));
    EXPECT_TRUE(model.vertex(1, 0).isEqual3D(CadPoint(10, 1, 2), 1e-12));
    std::unique_ptr<Cube> bounds(model.getBounds());
    ASSERT_NE(bounds, nullptr);
    EXPECT_NEAR(bounds->getEnd().x(), 11.0, 1e-6);
    EXPECT_NEAR(bounds->getEnd().z(), 3.0, 1e-6);
}

TEST_F(Element3DTest, FacesWithHolesAndFacets) {
    sim::Body3D body = sim::squareWithHoleBody();
    body.polygons[0].facets = {2, 3, 0, 1, 4, 4, 0, 1, 2}; // the second facet runs past the handle
    Face::m_isFacetLoaded = true;
    Element3D model = read(add({body}));
    ASSERT_EQ(model.bodySize(), 1u);
    Face face = model.face(0, 0);
    EXPECT_EQ(face.edge(4, true), Face::separator);
    EXPECT_EQ(face.edge(4, false), Face::separator);
    EXPECT_EQ(face.holeSize(), 1u);
    EXPECT_EQ(face.getFinishIndex(), 3);
    ASSERT_EQ(face.facetSize(), 1u);
    EXPECT_EQ(face.facet(0).vertexSize(), 3u);
    EXPECT_EQ(model.edge(0, 0).getSecondFace(), Edge::none);
    EXPECT_FALSE(model.body(0).edge(0, 4)); // a separator has no edge

    CadPolygon polygon;
    model.body(0).extractFacePolygon(0, polygon);
    EXPECT_EQ(polygon.vertSize(), 4u);
    ASSERT_EQ(polygon.getHoleCount(), 1);
    EXPECT_NEAR(polygon.getArea(true, false), 12.0, 1e-9);
}

TEST_F(Element3DTest, FailingComponentsLeaveBodiesOut) {
    GS::Guid guid = add({sim::boxBody(1, 1, 1), sim::boxBody(2, 2, 2)});
    struct Case {
        const char* call;
        int skip;
        std::size_t bodies;
    } cases[] = {
        {"ACAPI_Element_Get3DInfo", 0, 0},
        {"ACAPI_3D_GetComponent", 0, 1}, // the first body record
        {"ACAPI_3D_GetComponent", 5, 1}, // inside the first body
        {"ACAPI_3D_GetComponent", 0, 1},
    };
    for (const Case& c : cases) {
        sim::failCall(c.call, APIERR_GENERAL, 1, c.skip);
        EXPECT_EQ(read(guid).bodySize(), c.bodies) << c.call << c.skip;
        sim::clearFaults();
    }
    EXPECT_EQ(read(add({})).bodySize(), 0u);
    sim::Body3D empty;
    EXPECT_EQ(read(add({empty})).bodySize(), 0u); // no polygons: not kept
}

TEST_F(Element3DTest, PlaneCutsAndFacesAlongAPlane) {
    Element3D model = read(add({sim::boxBody(1, 1, 1)}));
    IntersectList list;
    EXPECT_EQ(model.intersectionWith(Plane(CadPoint(0, 0, 0.5), Vector3(0, 0, 1)), list, 1e-5), 4u);
    PolyList faces;
    EXPECT_EQ(model.getFacesAlong(Plane(CadPoint(0, 0, 0), Vector3(0, 0, 1)), faces, true, false, 1e-5), 1u);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_NEAR(faces.front()->getArea(true, false), 1.0, 1e-9);
    EXPECT_EQ(model.getFacesAlong(Plane(CadPoint(0, 0, 0.5), Vector3(0, 0, 1)), faces, true, false, 1e-5),
              0u);
}

TEST_F(Element3DTest, ElementsCacheTheirModelForBoundsAndSurfaces) {
    GS::Guid guid = add({sim::boxBody(1, 2, 3)});
    RecordElement element(sim::element(guid), ElementLink(Guid(guid), plan));
    EXPECT_NEAR(element.getTotalSurfaceArea(), 22.0, 1e-6);
    std::unique_ptr<Cube> fromModel(element.getBoundingCube(false));
    std::unique_ptr<Cube> fromHost(element.getBoundingCube(true));
    ASSERT_NE(fromModel, nullptr);
    ASSERT_NE(fromHost, nullptr);
    EXPECT_NEAR(fromModel->getHeight(), 3.0, 1e-6);
    EXPECT_NEAR(fromHost->getWidth(), 1.0, 1e-6);
    EXPECT_DOUBLE_EQ(fromHost->getHeight(), 0.0); // the host's box lies flat at the base level

    RecordElement copy(element);
    EXPECT_EQ(copy.getPrimitives3D(), element.getPrimitives3D()); // shared
    sim::clearCalls();
    copy.clear3D();
    EXPECT_NE(copy.getPrimitives3D(), nullptr);
    EXPECT_EQ(sim::callCount("ACAPI_Element_Get3DInfo"), 1u);
}

TEST_F(Element3DTest, BoundsReadAloneAreThoseOfTheWholeModel) {
    sim::Body3D moved = sim::boxBody(1, 2, 3);
    moved.transformation = API_Tranmat{0, {0, -1, 0, 10.25, 1, 0, 0, -3.5, 0, 0, 1, 2.125}}; // turned, moved
    sim::Body3D far = sim::boxBody(0.3, 0.7, 0.1);
    far.transformation.tmx[3] = 1000.1; // beyond single precision's exact values
    sim::Body3D noPolygons = sim::boxBody(5, 5, 5);
    noPolygons.polygons.clear();
    // Its first corner the farthest in x and y, the nearest in z.
    sim::Body3D halfTurned = sim::boxBody(2, 3, 4);
    halfTurned.transformation = API_Tranmat{0, {-1, 0, 0, 7.5, 0, -1, 0, 1.25, 0, 0, 1, -0.5}};
    struct Case {
        const char* label;
        std::vector<sim::Body3D> bodies;
        std::size_t kept;
    };
    const Case cases[] = {
        {"one box", {sim::boxBody(1, 2, 3)}, 1},
        {"moved and turned", {moved, sim::boxBody(1, 1, 1)}, 2},
        {"far out", {far, moved}, 2},
        {"turned half round", {halfTurned}, 1},
        {"a body without polygons is left out", {noPolygons, sim::boxBody(1, 1, 1)}, 1},
        {"no body built", {noPolygons}, 0},
        {"no bodies", {}, 0},
    };
    for (const Case& c : cases) {
        GS::Guid guid = add(c.bodies);
        std::unique_ptr<Cube> whole(read(guid).getBounds());
        sim::clearCalls();
        std::unique_ptr<Cube> alone(Element3D::readBounds(ElementLink(Guid(guid), plan), plan));
        EXPECT_LE(sim::callCount("ACAPI_3D_GetComponent"), c.bodies.size())
            << c.label << ": body records only";
        // Read into a box of the caller's: the same box, or the box left as it was.
        const Cube untouched(-1, -1, -1, -2, -2, -2);
        Cube inPlace(untouched);
        EXPECT_EQ(Element3D::readBounds(ElementLink(Guid(guid), plan), plan, inPlace), c.kept != 0)
            << c.label;
        if (c.kept == 0) {
            EXPECT_EQ(whole, nullptr) << c.label;
            EXPECT_EQ(alone, nullptr) << c.label;
            EXPECT_EQ(inPlace, untouched) << c.label;
            continue;
        }
        ASSERT_NE(whole, nullptr) << c.label;
        ASSERT_NE(alone, nullptr) << c.label;
        EXPECT_TRUE(alone->getOrigin().isEqual3D(whole->getOrigin(), 0.0)) << c.label;
        EXPECT_TRUE(alone->getEnd().isEqual3D(whole->getEnd(), 0.0)) << c.label;
        EXPECT_TRUE(inPlace.getOrigin().isEqual3D(whole->getOrigin(), 0.0)) << c.label;
        EXPECT_TRUE(inPlace.getEnd().isEqual3D(whole->getEnd(), 0.0)) << c.label;

        // An element measures itself from the records and reads its model's faces only when asked.
        RecordElement element(sim::element(guid), ElementLink(Guid(guid), plan));
        sim::clearCalls();
        std::unique_ptr<Cube> measured(element.getBoundingCube(false));
        ASSERT_NE(measured, nullptr) << c.label;
        EXPECT_TRUE(measured->getOrigin().isEqual3D(whole->getOrigin(), 0.0)) << c.label;
        EXPECT_EQ(sim::callCount("ACAPI_3D_GetComponent"), c.bodies.size()) << c.label;
        std::shared_ptr<Element3D> model = element.getPrimitives3D();
        ASSERT_NE(model, nullptr) << c.label;
        EXPECT_EQ(model->bodySize(), c.kept) << c.label;
        std::unique_ptr<Cube> cached(element.getBoundingCube(false));
        EXPECT_TRUE(cached->getEnd().isEqual3D(whole->getEnd(), 0.0)) << c.label;
        Cube cachedInPlace;
        ASSERT_TRUE(element.measureBoundingCube(cachedInPlace, false)) << c.label;
        EXPECT_TRUE(cachedInPlace.getEnd().isEqual3D(whole->getEnd(), 0.0)) << c.label;
    }
}

TEST_F(Element3DTest, ObjectsAreBoxesOfTheirSizesPlacedAndTurned) {
    sim::setStoreys({{0, 1, 0.0, "Ground"}, {1, 2, 3.0, "First"}}, 6.0);
    struct Case {
        bool centred;
        bool mirrored;
        double angle;
        API_Box3D expected;
    } cases[] = {
        {false, false, 0.0, {5, 1, 3.5, 7, 2, 4.3}},
        {true, false, 0.0, {4, 0.5, 3.5, 6, 1.5, 4.3}},
        {false, false, 3.14159265358979323846 / 2, {4, 1, 3.5, 5, 3, 4.3}},
        {false, true, 0.0, {3, 1, 3.5, 5, 2, 4.3}},
    };
    for (const Case& c : cases) {
        API_Element record;
        record.header.typeID = API_ObjectID;
        record.header.floorInd = 1;
        record.object.libInd = 7;
        record.object.posX = 5;
        record.object.posY = 1;
        record.object.level = 0.5;
        record.object.angle = c.angle;
        record.object.reflected = c.mirrored;
        GS::Guid guid = sim::addElement(record);
        API_ElementMemo memo{};
        ASSERT_EQ(sim::writeParameterRecords({sim::scalarParameter(APIParT_Length, "A", 2.0),
                                              sim::scalarParameter(APIParT_Length, "B", 1.0),
                                              sim::scalarParameter(APIParT_Length, "ZZYZX", 0.8)},
                                             &memo.params),
                  NoError);
        ASSERT_EQ(sim::storeMemo(guid, &memo, APIMemoMask_AddPars), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
        sim::setPartBoxCentred(7, c.centred);

        Element3D model = read(guid);
        ASSERT_EQ(model.bodySize(), 1u);
        std::unique_ptr<Cube> box(model.getBounds());
        box->sort();
        const double tolerance = 1e-5; // the host keeps bounds in single precision
        EXPECT_NEAR(box->getOrigin().x(), c.expected.xMin, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(box->getOrigin().y(), c.expected.yMin, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(box->getOrigin().z(), c.expected.zMin, tolerance);
        EXPECT_NEAR(box->getEnd().x(), c.expected.xMax, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(box->getEnd().y(), c.expected.yMax, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(box->getEnd().z(), c.expected.zMax, tolerance);
        API_Box3D host{};
        API_Elem_Head head = sim::element(guid).header;
        ASSERT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &head, &host), NoError);
        EXPECT_NEAR(host.xMax, c.expected.xMax, tolerance);

        // The modeler shows the same box.
        ModelerAPI::Element shown;
        shown.guid = guid;
        shown.typeID = API_ObjectID;
        sim::setModel3D({shown});
        Modeler::SightPtr sight;
        ModelerAPI::Model modeler;
        ASSERT_EQ(ACAPI_3D_GetCurrentWindowSight(&sight), NoError);
        ASSERT_EQ(EXPGetModel(sight, &modeler, nullptr), NoError);
        std::unique_ptr<Cube> seen(Element3D(Element3DLink(0, nullptr), modeler).getBounds());
        ASSERT_NE(seen, nullptr);
        seen->sort();
        EXPECT_NEAR(seen->getOrigin().x(), c.expected.xMin, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(seen->getOrigin().y(), c.expected.yMin, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(seen->getEnd().x(), c.expected.xMax, tolerance) << c.angle << c.centred << c.mirrored;
        EXPECT_NEAR(seen->getEnd().z(), c.expected.zMax, tolerance);
    }
}

// An object's box is made of the parameters its memo has when it is read: stored anew, put back
// as an undo puts them, copied from another element or taken away.
TEST_F(Element3DTest, AnObjectsBoxFollowsTheParametersItsMemoHasNow) {
    auto addObject = [] {
        API_Element record;
        record.header.typeID = API_ObjectID;
        record.object.libInd = 7;
        return sim::addElement(record);
    };
    auto storeWidth = [](const GS::Guid& guid, double a) {
        API_ElementMemo memo{};
        ASSERT_EQ(sim::writeParameterRecords({sim::scalarParameter(APIParT_Length, "A", a),
                                              sim::scalarParameter(APIParT_Length, "B", 1.0),
                                              sim::scalarParameter(APIParT_Length, "ZZYZX", 1.0)},
                                             &memo.params),
                  NoError);
        ASSERT_EQ(sim::storeMemo(guid, &memo, APIMemoMask_AddPars), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    };
    // The box's width, or -1 when the host has no box.
    auto width = [](const GS::Guid& guid) {
        API_Box3D box{};
        API_Elem_Head head = sim::element(guid).header;
        return ACAPI_Database(APIDb_CalcBoundsID, &head, &box) == NoError ? box.xMax - box.xMin : -1.0;
    };
    const GS::Guid guid = addObject();
    const GS::Guid other = addObject();
    storeWidth(other, 5.0);
    storeWidth(guid, 2.0);
    EXPECT_DOUBLE_EQ(width(guid), 2.0);
    EXPECT_DOUBLE_EQ(width(other), 5.0);
    sim::MemoCopy before = sim::memoCopy(guid);
    storeWidth(guid, 3.0);
    EXPECT_DOUBLE_EQ(width(guid), 3.0) << "stored anew";
    sim::restoreMemo(guid, before);
    EXPECT_DOUBLE_EQ(width(guid), 2.0) << "put back";
    sim::copyMemo(other, guid);
    EXPECT_DOUBLE_EQ(width(guid), 5.0) << "copied";
    sim::forgetMemo(guid);
    EXPECT_DOUBLE_EQ(width(guid), -1.0) << "taken away";
    storeWidth(guid, 4.0);
    EXPECT_DOUBLE_EQ(width(guid), 4.0) << "stored again";
    API_ElementMemo none{};
    ASSERT_EQ(sim::storeMemo(guid, &none, APIMemoMask_Polygon), NoError);
    EXPECT_DOUBLE_EQ(width(guid), 4.0) << "other parts stored";
    const GS::Guid moved = addObject();
    sim::moveMemo(guid, moved);
    EXPECT_DOUBLE_EQ(width(moved), 4.0) << "moved";
    EXPECT_DOUBLE_EQ(width(guid), -1.0) << "moved away";
    ASSERT_EQ(sim::storeMemo(moved, &none, APIMemoMask_AddPars), NoError);
    EXPECT_DOUBLE_EQ(width(moved), -1.0) << "parameters taken away";
}
