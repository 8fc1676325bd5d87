#include "Modeler/Body.hpp"

#include "Modeler/BodyData.hpp"
#include "sim/Sim.h"

#include <algorithm>
#include <cmath>

namespace ModelerAPI {
namespace {

template <typename T>
const T* at(const std::vector<T>& list, Int32 i) {
    return i >= 1 && std::size_t(i) <= list.size() ? &list[std::size_t(i - 1)] : nullptr;
}

// Every read is a host call that can be made to fail.
bool allowed(const char* call) {
    return sim::enter(call) == NoError;
}

const detail::BodyData::EdgeRecord* edgeOf(const std::shared_ptr<const detail::BodyData>& body, Int32 i) {
    return body != nullptr ? at(body->edges, i) : nullptr;
}

const detail::BodyData::PolygonRecord* polygonOf(const std::shared_ptr<const detail::BodyData>& body,
                                                 Int32 i) {
    return body != nullptr ? at(body->polygons, i) : nullptr;
}

bool normalOf(const detail::BodyData& body, const detail::BodyData::PolygonRecord& polygon, Vector* normal) {
    const Vector* found = at(body.vectors, std::abs(polygon.vector));
    if (found == nullptr || normal == nullptr) {
        return false;
    }
    double sign = polygon.vector < 0 ? -1.0 : 1.0;
    *normal = Vector{found->x * sign, found->y * sign, found->z * sign};
    return true;
}

} // namespace

Int32 Edge::GetVertexIndex1() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr ? edge->vertex1 : 0;
}

Int32 Edge::GetVertexIndex2() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr ? edge->vertex2 : 0;
}

Int32 Edge::GetPolygonIndex1() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr ? edge->polygon1 : 0;
}

Int32 Edge::GetPolygonIndex2() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr ? edge->polygon2 : 0;
}

bool Edge::IsInvisible() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr && (edge->status & 1) != 0;
}

bool Edge::IsCurved() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr && (edge->status & 2) != 0;
}

Int32 Edge::GetColorIndex() const {
    const auto* edge = edgeOf(m_body, m_index);
    return edge != nullptr ? edge->color : 0;
}

Int32 ConvexPolygon::GetVertexCount() const {
    const auto* polygon = polygonOf(m_body, m_polygon);
    const auto* facet = polygon != nullptr ? at(polygon->facets, m_index) : nullptr;
    return facet != nullptr ? Int32(facet->size()) : 0;
}

Int32 ConvexPolygon::GetVertexIndex(Int32 i) const {
    const auto* polygon = polygonOf(m_body, m_polygon);
    const auto* facet = polygon != nullptr ? at(polygon->facets, m_index) : nullptr;
    const Int32* vertex = facet != nullptr ? at(*facet, i) : nullptr;
    return vertex != nullptr ? *vertex : 0;
}

bool ConvexPolygon::GetNormalVector(Int32 i, Vector* normal) const {
    if (!allowed("ModelerAPI::ConvexPolygon::GetNormalVector") || GetVertexIndex(i) == 0) {
        return false;
    }
    return normalOf(*m_body, *polygonOf(m_body, m_polygon), normal);
}

Int32 Polygon::GetEdgeCount() const {
    const auto* polygon = polygonOf(m_body, m_index);
    return polygon != nullptr ? Int32(polygon->edges.size()) : 0;
}

Int32 Polygon::GetEdgeIndex(Int32 i) const {
    const auto* polygon = polygonOf(m_body, m_index);
    const Int32* edge = polygon != nullptr ? at(polygon->edges, i) : nullptr;
    return edge != nullptr ? *edge : 0;
}

bool Polygon::GetNormalVector(Vector* normal) const {
    const auto* polygon = polygonOf(m_body, m_index);
    return allowed("ModelerAPI::Polygon::GetNormalVector") && polygon != nullptr &&
           normalOf(*m_body, *polygon, normal);
}

bool Polygon::IsInvisible() const {
    const auto* polygon = polygonOf(m_body, m_index);
    return polygon != nullptr && (polygon->status & 1) != 0;
}

bool Polygon::IsCurved() const {
    const auto* polygon = polygonOf(m_body, m_index);
    return polygon != nullptr && (polygon->status & 2) != 0;
}

bool Polygon::IsComplex() const {
    const auto* polygon = polygonOf(m_body, m_index);
    return polygon != nullptr && (polygon->status & 48) != 0;
}

Int32 Polygon::GetMaterialIndex() const {
    const auto* polygon = polygonOf(m_body, m_index);
    return polygon != nullptr ? polygon->material : 0;
}

Int32 Polygon::GetConvexPolygonCount() const {
    const auto* polygon = polygonOf(m_body, m_index);
    return polygon != nullptr ? Int32(polygon->facets.size()) : 0;
}

bool Polygon::GetConvexPolygon(Int32 i, ConvexPolygon* facet) const {
    const auto* polygon = polygonOf(m_body, m_index);
    if (!allowed("ModelerAPI::Polygon::GetConvexPolygon") || facet == nullptr || polygon == nullptr ||
        at(polygon->facets, i) == nullptr) {
        return false;
    }
    facet->m_body = m_body;
    facet->m_polygon = m_index;
    facet->m_index = i;
    return true;
}

bool Polygon::GetTextureCoordinate(const Vertex& point, TextureCoordinate* uv) const {
    const auto* polygon = polygonOf(m_body, m_index);
    if (!allowed("ModelerAPI::Polygon::GetTextureCoordinate") || uv == nullptr || polygon == nullptr ||
        polygon->edges.empty()) {
        return false;
    }
    Int32 first = polygon->edges.front();
    const auto* edge = at(m_body->edges, std::abs(first));
    Vector normal;
    if (edge == nullptr || !normalOf(*m_body, *polygon, &normal)) {
        return false;
    }
    const Vertex* from = at(m_body->vertices, first < 0 ? edge->vertex2 : edge->vertex1);
    const Vertex* to = at(m_body->vertices, first < 0 ? edge->vertex1 : edge->vertex2);
    if (from == nullptr || to == nullptr) {
        return false;
    }
    Vector u{to->x - from->x, to->y - from->y, to->z - from->z};
    double length = std::sqrt(u.x * u.x + u.y * u.y + u.z * u.z);
    double size = std::sqrt(normal.x * normal.x + normal.y * normal.y + normal.z * normal.z);
    if (length < 1e-9 || size < 1e-9) {
        return false;
    }
    u = Vector{u.x / length, u.y / length, u.z / length};
    Vector n{normal.x / size, normal.y / size, normal.z / size};
    Vector v{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
    Vector d{point.x - from->x, point.y - from->y, point.z - from->z};
    uv->u = d.x * u.x + d.y * u.y + d.z * u.z;
    uv->v = d.x * v.x + d.y * v.y + d.z * v.z;
    return true;
}

Int32 Body::GetVertexCount() const {
    return m_data != nullptr ? Int32(m_data->vertices.size()) : 0;
}

Int32 Body::GetEdgeCount() const {
    return m_data != nullptr ? Int32(m_data->edges.size()) : 0;
}

Int32 Body::GetPolygonCount() const {
    return m_data != nullptr ? Int32(m_data->polygons.size()) : 0;
}

Int32 Body::GetVectorCount() const {
    return m_data != nullptr ? Int32(m_data->vectors.size()) : 0;
}

bool Body::GetVertex(Int32 i, Vertex* vertex) const {
    const Vertex* found = m_data != nullptr ? at(m_data->vertices, i) : nullptr;
    if (!allowed("ModelerAPI::Body::GetVertex") || found == nullptr || vertex == nullptr) {
        return false;
    }
    *vertex = *found;
    return true;
}

bool Body::GetEdge(Int32 i, Edge* edge) const {
    if (!allowed("ModelerAPI::Body::GetEdge") || edge == nullptr || edgeOf(m_data, i) == nullptr) {
        return false;
    }
    edge->m_body = m_data;
    edge->m_index = i;
    return true;
}

bool Body::GetPolygon(Int32 i, Polygon* polygon) const {
    if (!allowed("ModelerAPI::Body::GetPolygon") || polygon == nullptr || polygonOf(m_data, i) == nullptr) {
        return false;
    }
    polygon->m_body = m_data;
    polygon->m_index = i;
    return true;
}

bool Body::GetVector(Int32 i, Vector* vector) const {
    const Vector* found = m_data != nullptr ? at(m_data->vectors, i) : nullptr;
    if (!allowed("ModelerAPI::Body::GetVector") || found == nullptr || vector == nullptr) {
        return false;
    }
    *vector = *found;
    return true;
}

bool Body::IsSolidBody() const {
    return m_data != nullptr && (m_data->status & 1) != 0;
}

bool Body::IsCurved() const {
    return m_data != nullptr && (m_data->status & 2) != 0;
}

Int32 Body::GetColorIndex() const {
    return m_data != nullptr ? m_data->color : 0;
}

Int32 Body::GetMaterialIndex() const {
    return m_data != nullptr ? m_data->material : 0;
}

bool Body::GetBounds(Box3D* bounds) const {
    if (m_data == nullptr || m_data->vertices.empty() || bounds == nullptr) {
        return false;
    }
    const Vertex& first = m_data->vertices.front();
    Box3D box{first.x, first.y, first.x, first.y, first.z, first.z};
    for (const Vertex& v : m_data->vertices) {
        box.xMin = std::min(box.xMin, v.x);
        box.yMin = std::min(box.yMin, v.y);
        box.zMin = std::min(box.zMin, v.z);
        box.xMax = std::max(box.xMax, v.x);
        box.yMax = std::max(box.yMax, v.y);
        box.zMax = std::max(box.zMax, v.z);
    }
    *bounds = box;
    return true;
}

} // namespace ModelerAPI
