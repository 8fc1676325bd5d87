// Reads one body of the host's modeler into body data: its vertices, edges and polygons keep the
// modeler's order (numbered from 0 here, from 1 there), each edge knows the faces on its sides,
// each face keeps its polygon for placing textures and, when facets are loaded, its convex parts.
#pragma once

#include "Model3D/Body.h"
#include "Modeler/Body.hpp"

#include <memory>

namespace zelvane {

class ModelerBuilder {
public:
    explicit ModelerBuilder(const ModelerAPI::Body& body) : m_body(body) {}

    // New body data; unbuilt (no face list) when the modeler refuses any read.
    std::shared_ptr<Body::Data> build() const;

private:
    bool addVertices(Body::Data& target) const;
    bool addEdges(Body::Data& target) const;
    bool addFaces(Body::Data& target) const;
    // The polygon's convex parts with their corners' normals; false when one cannot be read.
    static bool addFacets(const ModelerAPI::Polygon& polygon, Face::Data& face);

    ModelerAPI::Body m_body;
};

} // namespace zelvane
