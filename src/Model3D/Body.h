// A body of an element's 3D model: vertices, edges and faces (with holes and facets), status, pen
// and material, with its bounds; the plane services cut it and find the faces lying in a plane.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/Cube.h"
#include "Geometry/Line.h"
#include "Model3D/Edge.h"
#include "Model3D/Face.h"
#include "Modeler/Model.hpp"

#include <vector>

namespace zelvane {

class CadPolygon;
class IntersectList;
class Plane;
class PolyList;

class Body {
public:
    struct Data : public Cube {
        // Reads body `index` from the host's 3D component service; unbuilt (no face list) on failure.
        explicit Data(Int32 index);
        Data() = default;
        // The box of body `index` as a read gives it, taken from the host's body record alone;
        // false on a host error and for a body without polygons, edges or vertices, which a read
        // leaves unbuilt.
        static bool readBounds(Int32 index, Cube& box);

        std::shared_ptr<std::vector<std::shared_ptr<Face::Data>>> faces;
        std::shared_ptr<std::vector<std::shared_ptr<Edge::Data>>> edges;
        std::shared_ptr<std::vector<std::shared_ptr<CadPoint>>> vertices;
        // The modeler's vectors; none for bodies read from the host.
        std::shared_ptr<std::vector<Vector3>> vectors;
        Int32 status = 0; // 1 closed solid, 2 curved
        attribute_index pen;
        short material = 0;

        bool isBuilt() const { return faces != nullptr; }
    };

    explicit Body(std::shared_ptr<const Data> data, const FinishLookup* lookup = nullptr)
        : m_data(std::move(data)), m_lookup(lookup) {}
    // Body i (from 0) of the modeler's element; empty when the modeler cannot give all of it.
    Body(const ModelerAPI::Element& element, std::size_t i, const FinishLookup* lookup = nullptr);
    // The modeler's body, read once; empty when the modeler cannot give all of it.
    explicit Body(const ModelerAPI::Body& body, const FinishLookup* lookup = nullptr);

    bool isClosed() const { return (getStatus() & 1) != 0; }
    bool isCurved() const { return (getStatus() & 2) != 0; }
    bool isEmpty() const { return !m_data->faces || !m_data->vertices || m_data->vertices->empty(); }
    Int32 getStatus() const { return m_data->status; }
    attribute_index getPen() const { return m_data->pen; }
    short getFinishIndex() const { return m_data->material; }
    Finish getFinish() const;
    // A new box.
    Cube* getBounds() const { return new Cube(*m_data); }

    // Of the face's outline and holes, or of the body for Edge::none.
    std::size_t vertexSize(std::size_t face = Edge::none) const;
    std::size_t edgeSize(std::size_t face = Edge::none) const;
    std::size_t faceSize() const { return m_data->faces ? m_data->faces->size() : 0; }
    Edge edge(std::size_t i) const;
    // The face's j-th edge; empty at a separator.
    Edge edge(std::size_t face, std::size_t j) const;
    Face face(std::size_t i) const;
    const CadPoint& vertex(std::size_t i) const;
    // The vertex where the face enters its j-th edge.
    const CadPoint& vertex(std::size_t face, std::size_t j) const;
    // The modeler's vector i (from 0); bodies read from the host have none and give a zero vector.
    Vector3 vector(std::size_t i) const { return m_data->vectors ? m_data->vectors->at(i) : Vector3(); }
    Line edgeLine(std::size_t i) const { return edgeLine(edge(i)); }
    Line edgeLine(const Edge& edge) const;
    Line edgeLine(std::size_t face, std::size_t j) const { return edgeLine(edge(face, j)); }

    // The face's outline, with its valid holes.
    void extractFacePolygon(std::size_t face, CadPolygon& out, bool unused = false) const;
    // The points where the plane cuts the edges, from the last edge; answers how many were taken.
    std::size_t intersectionWith(const Plane& plane, IntersectList& list, double tolerance) const;
    // The faces lying in the plane (levelled into it when asked), appended; answers how many.
    std::size_t getFacesAlong(const Plane& plane, PolyList& out, bool level, bool unused,
                              double tolerance) const;

private:
    const Face::Data& faceData(std::size_t i) const;

    std::shared_ptr<const Data> m_data;
    const FinishLookup* m_lookup;
};

// Bodies a caller made, for an element of its own.
using BodyList = std::vector<Body>;

} // namespace zelvane
