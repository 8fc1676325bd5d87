#include "Model3D/Builder.h"

#include "GSRoot/BM.hpp"

#include <cstdlib>

namespace zelvane {

bool Builder::unpack() {
    const API_BodyType& body = m_body.body;
    if (body.nPgon < 1 || body.nEdge < 1 || body.nVert < 1) {
        return false;
    }
    m_transform = Matrix4x4(body.tranmat);
    m_isIdentity = m_transform == Matrix4x4::createIdentity();
    m_target.faces = std::make_shared<std::vector<std::shared_ptr<Face::Data>>>();
    m_target.edges = std::make_shared<std::vector<std::shared_ptr<Edge::Data>>>();
    m_target.vertices = std::make_shared<std::vector<std::shared_ptr<CadPoint>>>();
    m_target.faces->reserve(std::size_t(body.nPgon));
    m_target.edges->reserve(std::size_t(body.nEdge));
    m_target.vertices->reserve(std::size_t(body.nVert));
    for (Int32 p = 1; p <= body.nPgon; ++p) {
        if (!addFace(p)) {
            return false;
        }
    }
    return true;
}

bool Builder::addFace(Int32 polygon) {
    API_Component3D component;
    component.typeID = API_PgonID;
    component.index = polygon;
    if (ACAPI_3D_GetComponent(&component) != NoError) {
        return false;
    }
    API_PgonType record = component.pgon;
    if (record.fpedg > record.lpedg) {
        return true;
    }
    auto face = std::make_shared<Face::Data>();
    component = API_Component3D();
    component.typeID = API_VectID;
    component.index = std::abs(record.ivect);
    if (record.ivect != 0 && ACAPI_3D_GetComponent(&component) == NoError) {
        double sign = record.ivect < 0 ? -1.0 : 1.0;
        face->normal = Vector3(sign * component.vect.x, sign * component.vect.y, sign * component.vect.z);
    }
    face->polygonIndex = polygon;
    face->status = record.status;
    face->material = record.iumat;
    m_target.faces->push_back(face);
    for (Int32 i = record.fpedg; i <= record.lpedg; ++i) {
        component = API_Component3D();
        component.typeID = API_PedgID;
        component.index = i;
        if (ACAPI_3D_GetComponent(&component) != NoError) {
            return false;
        }
        if (component.pedg.pedg == 0) {
            face->edges->push_back(Face::separator);
            continue;
        }
        Int32 edge = addEdge(component.pedg.pedg);
        if (edge == Edge::none) {
            return false;
        }
        face->edges->push_back(edge);
    }
    if (Face::m_isFacetLoaded) {
        addFacets(polygon, *face);
    }
    return true;
}

void Builder::addFacets(Int32 polygon, Face::Data& face) {
    Int32** handle = nullptr;
    if (ACAPI_3D_DecomposePgon(polygon, &handle) != NoError || handle == nullptr) {
        return;
    }
    std::size_t size = std::size_t(BMGetHandleSize(reinterpret_cast<GSHandle>(handle))) / sizeof(Int32);
    const Int32* values = *handle;
    std::size_t at = 0;
    Int32 count = size > 0 ? values[at++] : 0;
    for (Int32 f = 0; f < count && at < size; ++f) {
        Int32 vertices = values[at++];
        // A facet whose indexes run past the handle is dropped, and so is what follows.
        if (vertices < 0 || std::size_t(vertices) > size - at) {
            break;
        }
        auto facet = std::make_shared<SimpleFace::Data>(values + at, values + at + vertices);
        at += std::size_t(vertices);
        if (!face.facets) {
            face.facets = std::make_shared<std::vector<std::shared_ptr<SimpleFace::Data>>>();
        }
        face.facets->push_back(facet);
    }
    BMKillHandle(reinterpret_cast<GSHandle*>(&handle));
}

Int32 Builder::addEdge(Int32 edge) {
    Int32 magnitude = std::abs(edge);
    Int32 sign = edge < 0 ? -1 : 1;
    auto found = m_links.find({API_EdgeID, magnitude});
    if (found != m_links.end()) {
        return std::abs(found->second) * sign;
    }
    API_Component3D component;
    component.typeID = API_EdgeID;
    component.index = magnitude;
    if (ACAPI_3D_GetComponent(&component) != NoError) {
        return Edge::none;
    }
    API_EdgeType record = component.edge;
    Int32 first = addVertex(record.vert1);
    Int32 second = addVertex(record.vert2);
    if (first == Edge::none || second == Edge::none) {
        return Edge::none;
    }
    Int32 number = Int32(m_target.edges->size()) + 1;
    m_links[{API_EdgeID, magnitude}] = number * sign;
    auto data = std::make_shared<Edge::Data>();
    data->status = record.status;
    data->vertex1 = first;
    data->vertex2 = second;
    data->pen = attribute_index(record.color);
    m_target.edges->push_back(data);
    return number * sign;
}

Int32 Builder::addVertex(Int32 vertex) {
    auto found = m_links.find({API_VertID, vertex});
    if (found != m_links.end()) {
        return found->second;
    }
    API_Component3D component;
    component.typeID = API_VertID;
    component.index = vertex;
    if (ACAPI_3D_GetComponent(&component) != NoError) {
        return Edge::none;
    }
    auto point = std::make_shared<CadPoint>(component.vert.x, component.vert.y, component.vert.z);
    if (!m_isIdentity) {
        *point *= m_transform;
    }
    Int32 index = Int32(m_target.vertices->size());
    m_links[{API_VertID, vertex}] = index;
    m_target.vertices->push_back(point);
    return index;
}

} // namespace zelvane
