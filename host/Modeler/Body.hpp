// The bodies of the modeler's elements: placed vertices, edges, polygons (an outline and holes)
// with their normals and convex facets, each read by an index from 1. A read the host refuses
// answers false (or 0) and leaves its output as it was.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "GSRoot/GSRoot.hpp"

#include <memory>

namespace ModelerAPI {

namespace detail {
struct BodyData;
}

// Vertices, vectors and texture coordinates are those of the geometry header.

class Edge {
public:
    Edge() = default;

    Int32 GetVertexIndex1() const;
    Int32 GetVertexIndex2() const;
    // The polygons on its two sides (the lower index first); 0 for none.
    Int32 GetPolygonIndex1() const;
    Int32 GetPolygonIndex2() const;
    bool IsInvisible() const;
    bool IsCurved() const;
    Int32 GetColorIndex() const;

private:
    friend class Body;
    std::shared_ptr<const detail::BodyData> m_body;
    Int32 m_index = 0;
};

// A convex part of a polygon: the body's vertices around it.
class ConvexPolygon {
public:
    ConvexPolygon() = default;

    Int32 GetVertexCount() const;
    // The body's vertex index of its i-th corner; 0 outside.
    Int32 GetVertexIndex(Int32 i) const;
    // The surface normal at its i-th corner (the polygon's, which is flat).
    bool GetNormalVector(Int32 i, Vector* normal) const;

private:
    friend class Polygon;
    std::shared_ptr<const detail::BodyData> m_body;
    Int32 m_polygon = 0;
    Int32 m_index = 0;
};

class Polygon {
public:
    Polygon() = default;

    Int32 GetEdgeCount() const;
    // The i-th entry of its edge list: a signed edge index (negative where the polygon runs along
    // the edge backwards), 0 between the outline and a hole and between holes.
    Int32 GetEdgeIndex(Int32 i) const;
    bool GetNormalVector(Vector* normal) const;
    bool IsInvisible() const;
    bool IsCurved() const;
    bool IsComplex() const;
    Int32 GetMaterialIndex() const;
    Int32 GetConvexPolygonCount() const;
    bool GetConvexPolygon(Int32 i, ConvexPolygon* facet) const;
    // The texture place of a point of its plane: measured from where the polygon enters its first
    // edge, u along that edge, v along the normal crossed with it. False for a polygon without a
    // first edge of length or a normal.
    bool GetTextureCoordinate(const Vertex& point, TextureCoordinate* uv) const;

private:
    friend class Body;
    std::shared_ptr<const detail::BodyData> m_body;
    Int32 m_index = 0;
};

class Body {
public:
    Body() = default;
    explicit Body(std::shared_ptr<const detail::BodyData> data) : m_data(std::move(data)) {}

    Int32 GetVertexCount() const;
    Int32 GetEdgeCount() const;
    Int32 GetPolygonCount() const;
    Int32 GetVectorCount() const;
    bool GetVertex(Int32 i, Vertex* vertex) const;
    bool GetEdge(Int32 i, Edge* edge) const;
    bool GetPolygon(Int32 i, Polygon* polygon) const;
    bool GetVector(Int32 i, Vector* vector) const;
    bool IsSolidBody() const;
    bool IsCurved() const;
    Int32 GetColorIndex() const;
    Int32 GetMaterialIndex() const;
    // The box of its vertices; false without any.
    bool GetBounds(Box3D* bounds) const;

private:
    std::shared_ptr<const detail::BodyData> m_data;
};

} // namespace ModelerAPI
