#include "Model3D/ModelerBuilder.h"

namespace zelvane {
namespace {

// A modeler index (from 1, 0 for none) as a local one.
Int32 local(Int32 index) {
    return index >= 1 ? index - 1 : Edge::none;
}

} // namespace

std::shared_ptr<Body::Data> ModelerBuilder::build() const {
    auto data = std::make_shared<Body::Data>();
    data->faces = std::make_shared<std::vector<std::shared_ptr<Face::Data>>>();
    data->edges = std::make_shared<std::vector<std::shared_ptr<Edge::Data>>>();
    data->vertices = std::make_shared<std::vector<std::shared_ptr<CadPoint>>>();
    data->vectors = std::make_shared<std::vector<Vector3>>();
    if (!addVertices(*data) || !addEdges(*data) || !addFaces(*data)) {
        data->faces.reset();
        data->edges.reset();
        data->vertices.reset();
        data->vectors.reset();
        return data;
    }
    data->status = (m_body.IsSolidBody() ? 1 : 0) + (m_body.IsCurved() ? 2 : 0);
    data->pen = attribute_index(short(m_body.GetColorIndex()));
    data->material = short(m_body.GetMaterialIndex());
    Box3D box;
    if (m_body.GetBounds(&box)) {
        data->setOrigin(CadPoint(box.xMin, box.yMin, box.zMin));
        data->setEnd(CadPoint(box.xMax, box.yMax, box.zMax));
    }
    return data;
}

bool ModelerBuilder::addVertices(Body::Data& target) const {
    for (Int32 i = 1; i <= m_body.GetVertexCount(); ++i) {
        ModelerAPI::Vertex vertex{0.0, 0.0, 0.0};
        if (!m_body.GetVertex(i, &vertex)) {
            return false;
        }
        target.vertices->push_back(std::make_shared<CadPoint>(vertex));
    }
    for (Int32 i = 1; i <= m_body.GetVectorCount(); ++i) {
        ModelerAPI::Vector vector{0.0, 0.0, 0.0};
        if (!m_body.GetVector(i, &vector)) {
            return false;
        }
        target.vectors->push_back(Vector3(vector));
    }
    return true;
}

bool ModelerBuilder::addEdges(Body::Data& target) const {
    const Int32 vertices = Int32(target.vertices->size());
    for (Int32 i = 1; i <= m_body.GetEdgeCount(); ++i) {
        ModelerAPI::Edge edge;
        if (!m_body.GetEdge(i, &edge)) {
            return false;
        }
        auto data = std::make_shared<Edge::Data>();
        data->vertex1 = local(edge.GetVertexIndex1());
        data->vertex2 = local(edge.GetVertexIndex2());
        // An edge must join two of the body's vertices, or lines along it would read outside.
        if (data->vertex1 == Edge::none || data->vertex2 == Edge::none || data->vertex1 >= vertices ||
            data->vertex2 >= vertices) {
            return false;
        }
        data->face1 = local(edge.GetPolygonIndex1());
        data->face2 = local(edge.GetPolygonIndex2());
        data->status = (edge.IsInvisible() ? 1 : 0) + (edge.IsCurved() ? 2 : 0);
        data->pen = attribute_index(short(edge.GetColorIndex()));
        target.edges->push_back(data);
    }
    return true;
}

bool ModelerBuilder::addFaces(Body::Data& target) const {
    const Int32 edges = Int32(target.edges->size());
    for (Int32 p = 1; p <= m_body.GetPolygonCount(); ++p) {
        auto polygon = std::make_shared<ModelerAPI::Polygon>();
        ModelerAPI::Vector normal{0.0, 0.0, 0.0};
        if (!m_body.GetPolygon(p, polygon.get()) || !polygon->GetNormalVector(&normal)) {
            return false;
        }
        auto face = std::make_shared<Face::Data>();
        face->normal = Vector3(normal);
        face->polygonIndex = p;
        face->status = (polygon->IsInvisible() ? 1 : 0) + (polygon->IsCurved() ? 2 : 0) +
                       (polygon->IsComplex() ? 48 : 0);
        face->material = short(polygon->GetMaterialIndex());
        for (Int32 j = 1; j <= polygon->GetEdgeCount(); ++j) {
            // The modeler numbers edges from 1, as the entries count them.
            Int32 entry = polygon->GetEdgeIndex(j);
            if (entry == 0) {
                face->edges->push_back(Face::separator);
            } else if (entry >= -edges && entry <= edges) {
                face->edges->push_back(entry);
            } else {
                return false;
            }
        }
        if (Face::m_isFacetLoaded && !addFacets(*polygon, *face)) {
            return false;
        }
        face->polygon = polygon;
        target.faces->push_back(face);
    }
    return true;
}

bool ModelerBuilder::addFacets(const ModelerAPI::Polygon& polygon, Face::Data& face) {
    for (Int32 f = 1; f <= polygon.GetConvexPolygonCount(); ++f) {
        ModelerAPI::ConvexPolygon convex;
        if (!polygon.GetConvexPolygon(f, &convex)) {
            return false;
        }
        auto corners = std::make_shared<SimpleFace::Data>();
        auto normals = std::make_shared<SimpleFace::Normals>();
        for (Int32 c = 1; c <= convex.GetVertexCount(); ++c) {
            ModelerAPI::Vector normal{0.0, 0.0, 0.0};
            if (!convex.GetNormalVector(c, &normal)) {
                return false;
            }
            corners->push_back(convex.GetVertexIndex(c) - 1);
            normals->push_back(Vector3(normal));
        }
        if (!face.facets) {
            face.facets = std::make_shared<std::vector<std::shared_ptr<SimpleFace::Data>>>();
            face.facetNormals = std::make_shared<std::vector<std::shared_ptr<SimpleFace::Normals>>>();
        }
        face.facets->push_back(corners);
        face.facetNormals->push_back(normals);
    }
    return true;
}

} // namespace zelvane
