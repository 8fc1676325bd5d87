#include "Model3D/Body.h"

#include "Geometry/CadPolygon.h"
#include "Geometry/InterPoint.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Leveller.h"
#include "Geometry/Plane.h"
#include "Geometry/PolyList.h"
#include "Model3D/Builder.h"
#include "Model3D/FinishLookup.h"
#include "Model3D/ModelerBuilder.h"

#include <cstdlib>
#include <stdexcept>

namespace zelvane {

namespace {

// The body record of a body of the host's 3D model.
bool readBody(Int32 index, API_Component3D& component) {
    component.typeID = API_BodyID;
    component.index = index;
    return ACAPI_3D_GetComponent(&component) == NoError;
}

// The box of a body record: its first three numbers give one corner, the last three the other.
void takeBounds(const API_BodyType& body, Cube& box) {
    box.setOrigin(CadPoint(body.bounds[0], body.bounds[1], body.bounds[2]));
    box.setEnd(CadPoint(body.bounds[3], body.bounds[4], body.bounds[5]));
}

} // namespace

Body::Data::Data(Int32 index) {
    API_Component3D component;
    if (!readBody(index, component)) {
        return;
    }
    Builder builder(component, *this);
    if (!builder.unpack()) {
        faces.reset();
        edges.reset();
        vertices.reset();
        return;
    }
    const API_BodyType& body = component.body;
    status = body.status;
    pen = attribute_index(body.iPen);
    material = body.iMaterial;
    takeBounds(body, *this);
}

bool Body::Data::readBounds(Int32 index, Cube& box) {
    API_Component3D component;
    if (!readBody(index, component)) {
        return false;
    }
    const API_BodyType& body = component.body;
    if (body.nPgon < 1 || body.nEdge < 1 || body.nVert < 1) {
        return false;
    }
    takeBounds(body, box);
    return true;
}

Body::Body(const ModelerAPI::Element& element, std::size_t i, const FinishLookup* lookup) : m_lookup(lookup) {
    ModelerAPI::Body body;
    if (i < std::size_t(element.GetBodyNum()) && element.GetBody(Int32(i + 1), &body)) {
        m_data = ModelerBuilder(body).build();
    } else {
        m_data = std::make_shared<Data>();
    }
}

Body::Body(const ModelerAPI::Body& body, const FinishLookup* lookup)
    : m_data(ModelerBuilder(body).build()), m_lookup(lookup) {}

Finish Body::getFinish() const {
    return m_lookup != nullptr ? const_cast<FinishLookup*>(m_lookup)->getFinish(int(getFinishIndex()))
                               : Finish();
}

const Face::Data& Body::faceData(std::size_t i) const {
    if (!m_data->faces) {
        throw std::out_of_range("no faces");
    }
    return *m_data->faces->at(i);
}

std::size_t Body::vertexSize(std::size_t face) const {
    if (face == std::size_t(Edge::none)) {
        return m_data->vertices ? m_data->vertices->size() : 0;
    }
    return faceData(face).edges->size();
}

std::size_t Body::edgeSize(std::size_t face) const {
    if (face == std::size_t(Edge::none)) {
        return m_data->edges ? m_data->edges->size() : 0;
    }
    return faceData(face).edges->size();
}

Edge Body::edge(std::size_t i) const {
    if (!m_data->edges) {
        throw std::out_of_range("no edges");
    }
    return Edge(m_data->edges->at(i));
}

Edge Body::edge(std::size_t face, std::size_t j) const {
    Int32 entry = faceData(face).edge(j, false);
    return entry == Face::separator ? Edge() : edge(std::size_t(entry));
}

Face Body::face(std::size_t i) const {
    if (!m_data->faces) {
        throw std::out_of_range("no faces");
    }
    return Face(m_data->faces->at(i), m_lookup);
}

const CadPoint& Body::vertex(std::size_t i) const {
    if (!m_data->vertices) {
        throw std::out_of_range("no vertices");
    }
    return *m_data->vertices->at(i);
}

const CadPoint& Body::vertex(std::size_t face, std::size_t j) const {
    Int32 entry = faceData(face).edge(j, true);
    if (entry == Face::separator) {
        throw std::out_of_range("a separator has no vertex");
    }
    Edge line = edge(std::size_t(std::abs(entry) - 1));
    return vertex(std::size_t(entry < 0 ? line.getEnd() : line.getOrigin()));
}

Line Body::edgeLine(const Edge& edge) const {
    if (!edge) {
        throw std::out_of_range("an empty edge has no line");
    }
    return Line(vertex(std::size_t(edge.getOrigin())), vertex(std::size_t(edge.getEnd())));
}

void Body::extractFacePolygon(std::size_t face, CadPolygon& out, bool) const {
    out.clear();
    out.setHole(false);
    const Face::Data& data = faceData(face);
    CadPolygon* current = &out;
    std::unique_ptr<CadPolygon> hole;
    auto finish = [&]() {
        if (hole != nullptr) {
            if (hole->isValid(false, 0.00001)) {
                out.addHole(hole.release());
            }
            hole.reset();
        }
    };
    for (std::size_t j = 0; j < data.edges->size(); ++j) {
        Int32 entry = (*data.edges)[j];
        if (entry == Face::separator) {
            finish();
            if (j + 1 < data.edges->size()) {
                hole = std::make_unique<CadPolygon>(5, 0, true);
                hole->setHole(true);
                current = hole.get();
            }
            continue;
        }
        Edge line = edge(std::size_t(std::abs(entry) - 1));
        const CadPoint& at = vertex(std::size_t(entry < 0 ? line.getEnd() : line.getOrigin()));
        current->push_back(new PolyPoint(at, 0.0, 0));
    }
    finish();
    out.removeDuplicates3D(0.00001);
}

std::size_t Body::intersectionWith(const Plane& plane, IntersectList& list, double tolerance) const {
    std::size_t inserted = 0;
    for (std::size_t i = edgeSize(); i-- > 0;) {
        Line line = edgeLine(i);
        std::unique_ptr<InterPoint> point = plane.intersectionWith(line, tolerance);
        if (point == nullptr) {
            continue;
        }
        if (list.isPos(InterPoint::first)) {
            point->setPosition(InterPoint::first, line.positionOf3D(*point, tolerance));
        }
        if (list.insert(point.release())) {
            ++inserted;
        }
    }
    return inserted;
}

std::size_t Body::getFacesAlong(const Plane& plane, PolyList& out, bool level, bool, double tolerance) const {
    Leveller leveller(plane.getNormal(), 0.0, tolerance);
    std::size_t appended = 0;
    for (std::size_t i = faceSize(); i-- > 0;) {
        const Face::Data& data = faceData(i);
        if (data.edges->empty() || data.edge(0, true) == Face::separator ||
            !data.normal.isParallelTo(plane.getNormal(), tolerance)) {
            continue;
        }
        if (plane.positionOf(vertex(i, 0), tolerance) != CadPoint::along) {
            continue;
        }
        auto polygon = std::make_unique<CadPolygon>(5, 0, true);
        extractFacePolygon(i, *polygon);
        if (polygon->vertSize() == 0) {
            continue;
        }
        if (level) {
            leveller.transform(*polygon);
        }
        out.push_back(polygon.release());
        ++appended;
    }
    return appended;
}

} // namespace zelvane
