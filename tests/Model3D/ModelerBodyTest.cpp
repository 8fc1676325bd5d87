#include "Database/Model.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Geometry/CadPolygon.h"
#include "Model3D/Element3D.h"
#include "Model3D/FinishLookup.h"
#include "sim/Attributes.h"
#include "sim/Component3D.h"
#include "sim/Model3D.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zelvane;

namespace {

// The holed square of the simulated host, with its convex decomposition.
sim::Body3D squareWithHole() {
    sim::Body3D body = sim::squareWithHoleBody();
    body.polygons[0].facets = {2, 3, 0, 1, 4, 3, 1, 2, 3};
    body.status = 0;
    return body;
}

// Surface materials of the test's own: each has a texture of the given size.
class TextureLookup : public FinishLookup {
public:
    TextureLookup(double width, double height) : m_width(width), m_height(height) {}
    Finish getFinish(int) override { return getFinish(attribute_index()); }
    Finish getFinish(attribute_index) override {
        API_Attribute record = sim::makeAttribute(API_MaterialID, "tiles");
        record.material.texture.status = 0x10;
        record.material.texture.xSize = m_width;
        record.material.texture.ySize = m_height;
        return Finish(record, AttributeLink());
    }

private:
    double m_width;
    double m_height;
};

class ModelerBodyTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        Specification::startup();
        host.reset();
        model = host.getProject()->getModel();
    }
    void TearDown() override {
        Face::m_isFacetLoaded = false;
        host.reset();
        Specification::shutdown();
    }
    // A model of one element with these bodies.
    GS::Guid show(const std::vector<sim::Body3D>& bodies) {
        ModelerAPI::Element element;
        element.guid.Generate();
        element.typeID = API_ObjectID;
        sim::setBodies(element.guid, bodies);
        sim::setModel3D({element});
        model->reset();
        return element.guid;
    }
    std::unique_ptr<Element3D> first() { return std::unique_ptr<Element3D>(model->get3DElement(0)); }

    Model* model = nullptr;
};

} // namespace

TEST_F(ModelerBodyTest, BodiesComeFromTheModelWithTheirEdgesFacesAndPlaces) {
    sim::Body3D moved = sim::boxBody(1, 2, 3);
    moved.transformation.tmx[3] = 10.0; // x + 10
    moved.transformation.tmx[0] = 0.0;  // turned a quarter about z: x' = -y, y' = x
    moved.transformation.tmx[1] = -1.0;
    moved.transformation.tmx[4] = 1.0;
    moved.transformation.tmx[5] = 0.0;
    GS::Guid guid = show({moved, squareWithHole()});
    std::unique_ptr<Element3D> element = first();
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->getLink().getUniqueID(), Guid(guid));
    ASSERT_EQ(element->bodySize(), 2u);
    EXPECT_EQ(element->vertexSize(Element3D::allBodies), 16u);
    EXPECT_EQ(element->faceSize(Element3D::allBodies), 7u);

    Body box = element->body(0);
    EXPECT_TRUE(box.isClosed());
    EXPECT_EQ(box.getPen().getIndex(), 0);
    for (std::size_t e = 0; e < box.edgeSize(); ++e) {
        EXPECT_NE(box.edge(e).getSecondFace(), Edge::none) << e; // every edge between two faces
        EXPECT_EQ(box.edge(e).getPen().getIndex(), 1);
    }
    // Vertices and vectors where the transformation places them.
    std::unique_ptr<Cube> bounds(box.getBounds());
    EXPECT_NEAR(bounds->getOrigin().x(), 8.0, 1e-9);
    EXPECT_NEAR(bounds->getEnd().x(), 10.0, 1e-9);
    EXPECT_NEAR(bounds->getEnd().y(), 1.0, 1e-9);
    EXPECT_NEAR(box.vector(0).magnitude(), 1.0, 1e-9);
    EXPECT_THROW(box.vector(6), std::out_of_range);
    std::unique_ptr<Cube> all(element->getBounds());
    EXPECT_NEAR(all->getOrigin().x(), 0.0, 1e-9);
    EXPECT_NEAR(all->getEnd().z(), 3.0, 1e-9);

    Body square = element->body(1);
    EXPECT_FALSE(square.isClosed());
    Face face = square.face(0);
    EXPECT_EQ(face.edge(4, true), Face::separator);
    EXPECT_EQ(face.edge(5, true), 5);
    EXPECT_EQ(face.edge(5, false), 4);
    EXPECT_EQ(face.holeSize(), 1u);
    EXPECT_EQ(face.getFinishIndex(), 3);
    EXPECT_DOUBLE_EQ(face.getNormal().z(), 1.0);
    EXPECT_EQ(face.facetSize(), 0u); // facets are read only when asked for
    CadPolygon polygon;
    square.extractFacePolygon(0, polygon);
    ASSERT_EQ(polygon.getHoleCount(), 1);
    EXPECT_NEAR(polygon.getArea(true, false), 12.0, 1e-9);
    EXPECT_THROW(element->body(2), std::out_of_range);

    // The model's elements are found by index, named by their GUID.
    ModelerAPI::Model* modeler = model->getModel();
    ASSERT_NE(modeler, nullptr);
    Element3D byIndex(Element3DLink(0, nullptr), *modeler);
    EXPECT_EQ(byIndex.getLink().getUniqueID(), Guid(guid));
    EXPECT_EQ(byIndex.bodySize(), 2u);
    EXPECT_TRUE(Element3D(Element3DLink(1, nullptr), *modeler).isEmpty());

    // Bodies straight from the modeler's element and body.
    ModelerAPI::Element shown;
    ASSERT_TRUE(modeler->GetElement(1, &shown));
    EXPECT_EQ(Body(shown, 1).faceSize(), 1u);
    EXPECT_EQ(Body(shown, 0).vertexSize(), 8u);
    EXPECT_TRUE(Body(shown, 2).isEmpty());
    ModelerAPI::Body second;
    ASSERT_TRUE(shown.GetBody(2, &second));
    EXPECT_EQ(Body(second).edgeSize(), 8u);
    sim::failCall("ModelerAPI::Body::GetEdge", APIERR_GENERAL);
    EXPECT_TRUE(Body(second).isEmpty());
}

TEST_F(ModelerBodyTest, FacetsCarryTheirCornersAndNormals) {
    Face::m_isFacetLoaded = true;
    show({squareWithHole()});
    std::unique_ptr<Element3D> element = first();
    ASSERT_EQ(element->bodySize(), 1u);
    Face face = element->face(0, 0);
    ASSERT_EQ(face.facetSize(), 2u);
    struct Case {
        std::size_t facet;
        std::vector<Int32> corners;
    };
    const Case cases[] = {{0, {0, 1, 4}}, {1, {1, 2, 3}}};
    for (const Case& c : cases) {
        SimpleFace facet = face.facet(c.facet);
        std::vector<Int32> corners;
        for (std::size_t i = 0; i < facet.vertexSize(); ++i) {
            corners.push_back(facet.vertex(i));
            EXPECT_DOUBLE_EQ(facet.getNormal(i).z(), 1.0);
        }
        EXPECT_EQ(corners, c.corners);
        EXPECT_THROW(facet.getNormal(facet.vertexSize()), std::out_of_range);
    }
}

TEST_F(ModelerBodyTest, BodiesTheModelerCannotGiveWholeAreLeftOut) {
    Face::m_isFacetLoaded = true;
    show({sim::boxBody(1, 1, 1), squareWithHole()});
    struct Case {
        const char* call;
        int skip;
        std::size_t bodies;
    };
    const Case cases[] = {
        {"ModelerAPI::Element::GetBody", 0, 1},
        {"ModelerAPI::Body::GetVertex", 3, 1},
        {"ModelerAPI::Body::GetVector", 0, 1},
        {"ModelerAPI::Body::GetEdge", 12, 1}, // the square's first edge
        {"ModelerAPI::Body::GetPolygon", 2, 1},
        {"ModelerAPI::Polygon::GetNormalVector", 6, 1}, // the square's normal
        {"ModelerAPI::Polygon::GetConvexPolygon", 0, 1},
        {"ModelerAPI::ConvexPolygon::GetNormalVector", 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.call << " after " << c.skip);
        sim::failCall(c.call, APIERR_GENERAL, 1, c.skip);
        std::unique_ptr<Element3D> element = first();
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->bodySize(), c.bodies);
        sim::clearFaults();
    }
    // A body whose edge runs to a vertex it does not have is not read.
    sim::Body3D broken = sim::boxBody(1, 1, 1);
    broken.edges[0].vert2 = 99;
    show({broken});
    EXPECT_EQ(first()->bodySize(), 0u);
}

TEST_F(ModelerBodyTest, TextureCoordinatesFollowTheFaceAndItsFinish) {
    show({squareWithHole()});
    std::unique_ptr<Element3D> element = first();
    ASSERT_EQ(element->bodySize(), 1u);
    TextureLookup tiles(2.0, 0.5);
    struct Case {
        CadPoint point;
        const FinishLookup* lookup;
        CadPoint expected;
    };
    const Case cases[] = {
        {CadPoint(3, 2, 0), nullptr, CadPoint(3, 2, 0)}, // model units from the first corner
        {CadPoint(0, 0, 0), nullptr, CadPoint(0, 0, 0)},
        {CadPoint(3, 2, 0), &tiles, CadPoint(1.5, 4, 0)}, // in tiles of the finish's texture
    };
    for (const Case& c : cases) {
        element->setFinishLookup(c.lookup);
        CadPoint uv = element->face(0, 0).textureCoordinates(c.point);
        EXPECT_TRUE(uv.isEqual3D(c.expected, 1e-9)) << uv.x() << "," << uv.y();
    }
    // Faces read through the 3D component service have no texture places.
    Body::Data data;
    data.faces =
        std::make_shared<std::vector<std::shared_ptr<Face::Data>>>(1, std::make_shared<Face::Data>());
    EXPECT_TRUE(Body(std::make_shared<Body::Data>(data))
                    .face(0)
                    .textureCoordinates(CadPoint(1, 1, 0))
                    .isEqual3D(CadPoint(), 1e-12));
    sim::failCall("ModelerAPI::Polygon::GetTextureCoordinate", APIERR_GENERAL);
    EXPECT_TRUE(element->face(0, 0).textureCoordinates(CadPoint(3, 2, 0)).isEqual3D(CadPoint(), 1e-12));
}

TEST_F(ModelerBodyTest, SurfacesAreLookedUpInTheProjectUnlessToldOtherwise) {
    API_Attribute brick = sim::makeAttribute(API_MaterialID, "Brick");
    sim::addAttribute(sim::makeAttribute(API_MaterialID, "Plaster"));
    sim::addAttribute(sim::makeAttribute(API_MaterialID, "Glass"));
    sim::addAttribute(brick);
    show({squareWithHole()});
    std::unique_ptr<Element3D> element = first();
    Specification* specification = host.getProject()->getSpecification();
    EXPECT_EQ(element->getFinishLookup(), specification->getFinishLookup());
    EXPECT_EQ(element->face(0, 0).getFinish().getName(), "Brick");

    TextureLookup tiles(1.0, 1.0);
    element->setFinishLookup(&tiles);
    EXPECT_EQ(element->getFinishLookup(), &tiles);
    EXPECT_EQ(element->face(0, 0).getFinish().getName(), "tiles");

    // Bodies of the caller's own: the current project's surfaces, none without a project.
    auto bodies = std::make_shared<BodyList>(1, element->body(0));
    Element3D own(bodies);
    EXPECT_EQ(own.getFinishLookup(), specification->getFinishLookup());
    sim::closeProject();
    host.reset();
    EXPECT_EQ(own.getFinishLookup(), nullptr);
}

TEST_F(ModelerBodyTest, BodiesOfTheCallersOwnAreKeptAsGiven) {
    show({sim::boxBody(1, 1, 1), squareWithHole()});
    std::unique_ptr<Element3D> element = first();
    ASSERT_EQ(element->bodySize(), 2u);
    auto bodies = std::make_shared<BodyList>();
    bodies->push_back(element->body(1));
    bodies->push_back(element->body(0));
    bodies->push_back(Body(std::make_shared<Body::Data>())); // empty
    Element3D own(bodies);
    EXPECT_EQ(own.getLink().getIndex(), Int32(Element3D::allBodies));
    EXPECT_EQ(own.getLink().getProxy(), nullptr);
    EXPECT_EQ(own.bodySize(), 3u);
    EXPECT_EQ(own.vertexSize(Element3D::allBodies), 16u);
    EXPECT_EQ(own.faceSize(0), 1u);
    EXPECT_TRUE(own.vertex(1, 0).isEqual3D(element->vertex(0, 0), 1e-12));
    EXPECT_TRUE(own.body(2).isEmpty());
    Line line = own.edgeLine(1, own.edge(1, 0));
    EXPECT_TRUE(line.origin().isEqual3D(element->edgeLine(0, 0).origin(), 1e-12));
    EXPECT_THROW(own.edgeLine(1, Edge()), std::out_of_range);
    EXPECT_THROW(own.body(3), std::out_of_range);
    EXPECT_THROW(own.vertex(3, 0), std::out_of_range);
    std::unique_ptr<Element3D> copy(own.clone());
    EXPECT_EQ(copy->bodySize(), 3u);
}
