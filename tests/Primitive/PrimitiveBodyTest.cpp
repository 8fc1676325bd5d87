#include "Primitive/PrimitiveBody.h"

#include "Database/ElementLink.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Environment/DataBufferOut.h"
#include "Environment/Host.h"
#include "Environment/String.h"
#include "Model3D/Element3D.h"
#include "sim/Component3D.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

namespace zelvane {
namespace {

std::string write(PrimitiveBody const& body, CadPoint offset) {
    String text;
    {
        DataBufferOut out(&text);
        EXPECT_TRUE(body.write3DScript(out, nullptr, offset, 0));
    }
    return text.data();
}

std::vector<std::string> linesStarting(std::string const& text, std::string const& keyword) {
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(keyword, 0) == 0)
            found.push_back(line);
    return found;
}

// The 3D model of an object of the floor plan of a newly opened project, made of the bodies.
std::shared_ptr<Element3D> modelOf(std::vector<sim::Body3D> const& bodies) {
    sim::openProject();
    host.reset();
    Plan* plan = host.getProject()->getFloorPlan();
    API_Element record;
    record.header.typeID = API_ObjectID;
    GS::Guid guid = sim::addElement(record);
    sim::setBodies(guid, bodies);
    return std::make_shared<Element3D>(ElementLink(Guid(guid), plan), plan);
}

TEST(PrimitiveBody, WritesABoxBody) {
    PrimitiveBody body(modelOf({sim::boxBody(1, 2, 3)}), false, true);
    body.offset(CadPoint(10, 0, 0));
    std::string text = write(body, CadPoint(0, 5, 0));
    EXPECT_EQ(linesStarting(text, "vert ").size(), 8u);
    auto vertices = linesStarting(text, "vert ");
    // Vertices move by the body's point and the offset.
    EXPECT_NE(std::find(vertices.begin(), vertices.end(), "vert 10, 5, 0"), vertices.end());
    EXPECT_NE(std::find(vertices.begin(), vertices.end(), "vert 11, 7, 3"), vertices.end());
    EXPECT_EQ(linesStarting(text, "edge ").size(), 12u);
    // Six faces, three directions.
    EXPECT_EQ(linesStarting(text, "vect ").size(), 3u);
    auto faces = linesStarting(text, "pgon ");
    ASSERT_EQ(faces.size(), 6u);
    EXPECT_EQ(faces[0].rfind("pgon 4, 1, ", 0), 0u) << faces[0];
    EXPECT_EQ(linesStarting(text, "body ").size(), 1u);
    // The body's own bounds, moved not: the model is the host's.
    std::unique_ptr<Cube> box = body.getBounds();
    ASSERT_NE(box, nullptr);
    EXPECT_NEAR(box->getDepth(), 2, 1e-6);
    // Not for the 2D script, and nothing without a model.
    PrimitiveBody empty(nullptr, false, true);
    EXPECT_EQ(write(empty, CadPoint()), "");
    EXPECT_EQ(empty.getBounds(), nullptr);
    host.reset();
}

// A flat pentagon with a square hole: its face lists 10 edge entries (a separator between the
// contours, written 0) over three lines; an edge marked curved (status 2) keeps its status, the
// others gain 262144. Vertices move by the offset, the normal does not.
TEST(PrimitiveBody, WritesALongHoledFace) {
    sim::Body3D plate;
    plate.vertices = {{0, 0, 0}, {4, 0, 0}, {5, 2, 0}, {2, 4, 0}, {-1, 2, 0},
                      {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}};
    for (Int32 i = 0; i < 5; ++i)
        plate.edges.push_back(sim::Body3D::Edge{i + 1, (i + 1) % 5 + 1, i == 1 ? 2 : 0, 1});
    for (Int32 i = 0; i < 4; ++i)
        plate.edges.push_back(sim::Body3D::Edge{i + 6, (i + 1) % 4 + 6, i == 0 ? 3 : 0, 1});
    plate.vectors = {{0, 0, 1}};
    plate.polygons = {{{1, 2, 3, 4, 5, 0, -9, -8, -7, -6}, 1, 0, 1, {}}};
    PrimitiveBody body(modelOf({plate}), false, true);
    // The model hands the hole's vertices and edges out in its own order, the same loop.
    std::string expected = "vert 1, 0, 0\nvert 5, 0, 0\nvert 6, 2, 0\nvert 3, 4, 0\nvert 0, 2, 0\n"
                           "vert 2, 2, 0\nvert 2, 1, 0\nvert 3, 2, 0\nvert 3, 1, 0\n"
                           "edge 1, 2, 1, 0, 262144\nedge 2, 3, 1, 0, 2\nedge 3, 4, 1, 0, 262144\n"
                           "edge 4, 5, 1, 0, 262144\nedge 5, 1, 1, 0, 262144\nedge 6, 7, 1, 0, 262144\n"
                           "edge 8, 6, 1, 0, 262144\nedge 9, 8, 1, 0, 262144\nedge 7, 9, 1, 0, 3\n"
                           "vect 0, 0, 1\n"
                           "pgon 10, 1, 262210, 1, 2, 3, 4, \n\t\t5, 0, -6, -7, \n\t\t-8, -9\n"
                           "body 262177\n";
    EXPECT_EQ(write(body, CadPoint(1, 0, 0)), expected);
    host.reset();
}

} // namespace
} // namespace zelvane
