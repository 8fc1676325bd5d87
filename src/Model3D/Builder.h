// Reads one body from the host's 3D component service into body data: its polygons with their
// edges and vertices, each host component taken once and numbered locally (from 0), vertices
// placed by the body's transformation.
#pragma once

#include "ACAPI/Component3D.hpp"
#include "Geometry/Matrix4x4.h"
#include "Model3D/Body.h"

#include <map>

namespace zelvane {

class Builder {
public:
    using IndexLink = std::map<std::pair<Int32, Int32>, Int32>;

    Builder(const API_Component3D& body, Body::Data& target) : m_body(body), m_target(target) {}

    // False when the body has no polygons, edges or vertices, or a polygon cannot be read.
    bool unpack();

private:
    bool addFace(Int32 polygon);
    // ±(local edge + 1); Edge::none on a host error.
    Int32 addEdge(Int32 edge);
    Int32 addVertex(Int32 vertex);
    // The convex facets of the polygon, bounded by the handle's size.
    void addFacets(Int32 polygon, Face::Data& face);

    API_Component3D m_body;
    Body::Data& m_target;
    IndexLink m_links;
    Matrix4x4 m_transform;
    bool m_isIdentity = true;
};

} // namespace zelvane
