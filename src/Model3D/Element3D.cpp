#include "Model3D/Element3D.h"

#include "ACAPI/Component3D.hpp"
#include "Database/Model.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Geometry/Cube.h"
#include "Geometry/IntersectList.h"
#include "Model3D/ModelProxy.h"
#include "Model3D/ModelerBuilder.h"

#include <memory>
#include <stdexcept>

namespace zelvane {

bool Element3D::activate(Drawing* drawing) {
    Drawing* active = drawing != nullptr ? drawing : host.getFrontPlan();
    return active == nullptr || active->getProject() == nullptr ||
           active->getProject()->setActiveDrawing(active);
}

Element3D::Element3D(const ElementLink& link, Drawing* drawing) : Element3DLink(link, nullptr, 0) {
    m_bodies = std::make_shared<BodyDataList>();
    if (!activate(drawing)) {
        return;
    }
    API_ElemInfo3D info;
    if (ACAPI_Element_Get3DInfo(link.getHeader(), &info) != NoError) {
        return;
    }
    for (Int32 i = info.fbody; i <= info.lbody; ++i) {
        auto data = std::make_shared<Body::Data>(i);
        if (data->isBuilt()) {
            m_bodies->push_back(data);
        }
    }
    // Each edge learns the (first two) faces it bounds, visiting the last faces first.
    for (auto body = m_bodies->rbegin(); body != m_bodies->rend(); ++body) {
        auto& faces = *(*body)->faces;
        auto& edges = *(*body)->edges;
        for (std::size_t f = faces.size(); f-- > 0;) {
            const auto& entries = *faces[f]->edges;
            for (std::size_t j = entries.size(); j-- > 0;) {
                if (entries[j] == Face::separator) {
                    continue;
                }
                Edge::Data& edge = *edges.at(std::size_t(std::abs(entries[j]) - 1));
                if (edge.face1 == Edge::none) {
                    edge.face1 = Int32(f);
                } else if (edge.face2 == Edge::none) {
                    edge.face2 = Int32(f);
                }
            }
        }
    }
}

Element3D::Element3D(const Element3DLink& link, const ModelerAPI::Element& element)
    : Element3DLink(link), m_element(std::make_shared<ModelerAPI::Element>(element)) {
    readBodies(element);
}

Element3D::Element3D(const Element3DLink& link, ModelerAPI::Model& model) : Element3DLink(link) {
    m_bodies = std::make_shared<BodyDataList>();
    ModelerAPI::Element element;
    if (!model.GetElement(link.getIndex() + 1, &element)) {
        return;
    }
    setUniqueID(Guid(element.GetElemGuid()));
    m_element = std::make_shared<ModelerAPI::Element>(element);
    readBodies(element);
}

Element3D::Element3D(std::shared_ptr<BodyList> bodies)
    : Element3DLink(Int32(allBodies), nullptr), m_list(std::move(bodies)) {}

void Element3D::readBodies(const ModelerAPI::Element& element) {
    m_bodies = std::make_shared<BodyDataList>();
    for (Int32 i = 1; i <= element.GetBodyNum(); ++i) {
        ModelerAPI::Body body;
        if (!element.GetBody(i, &body)) {
            continue;
        }
        std::shared_ptr<Body::Data> data = ModelerBuilder(body).build();
        if (data->isBuilt()) {
            m_bodies->push_back(data);
        }
    }
}

std::size_t Element3D::bodySize() const {
    if (m_list != nullptr) {
        return m_list->size();
    }
    return m_bodies != nullptr ? m_bodies->size() : 0;
}

Body Element3D::body(std::size_t i) const {
    if (m_list != nullptr) {
        return m_list->at(i);
    }
    if (m_bodies == nullptr) {
        throw std::out_of_range("no bodies");
    }
    return Body(m_bodies->at(i), getFinishLookup());
}

const FinishLookup* Element3D::getFinishLookup() const {
    if (m_lookup != nullptr) {
        return m_lookup;
    }
    Project* project = nullptr;
    if (getProxy() != nullptr && getProxy()->getModel() != nullptr) {
        project = getProxy()->getModel()->getProject();
    }
    if (project == nullptr && ElementLink::getSource() != nullptr) {
        project = ElementLink::getSource()->getProject();
    }
    if (project == nullptr) {
        project = host.getProject();
    }
    Specification* specification = project != nullptr ? project->getSpecification() : nullptr;
    return specification != nullptr ? specification->getFinishLookup() : nullptr;
}

std::size_t Element3D::count(std::size_t i, std::size_t (*sizeOf)(const Body&)) const {
    if (i != allBodies) {
        return sizeOf(body(i));
    }
    std::size_t sum = 0;
    for (std::size_t b = 0; b < bodySize(); ++b) {
        sum += sizeOf(body(b));
    }
    return sum;
}

std::size_t Element3D::vertexSize(std::size_t i) const {
    return count(i, [](const Body& body) { return body.vertexSize(); });
}

std::size_t Element3D::edgeSize(std::size_t i) const {
    return count(i, [](const Body& body) { return body.edgeSize(); });
}

std::size_t Element3D::faceSize(std::size_t i) const {
    return count(i, [](const Body& body) { return body.faceSize(); });
}

const CadPoint& Element3D::vertex(std::size_t b, std::size_t i) const {
    if (m_list != nullptr) {
        return m_list->at(b).vertex(i);
    }
    if (m_bodies == nullptr) {
        throw std::out_of_range("no bodies");
    }
    const auto& data = m_bodies->at(b);
    if (!data->vertices) {
        throw std::out_of_range("no vertices");
    }
    return *data->vertices->at(i);
}

Cube* Element3D::getBounds() const {
    if (bodySize() == 0) {
        return m_element != nullptr ? new Cube(m_element->bounds) : nullptr;
    }
    Cube* bounds = nullptr;
    for (std::size_t b = bodySize(); b-- > 0;) {
        std::unique_ptr<Cube> one(body(b).getBounds());
        if (bounds == nullptr) {
            bounds = one.release();
        } else {
            bounds->merge(*one);
        }
    }
    return bounds;
}

Cube* Element3D::readBounds(const ElementLink& link, Drawing* drawing) {
    Cube box;
    return readBounds(link, drawing, box) ? new Cube(box) : nullptr;
}

bool Element3D::readBounds(const ElementLink& link, Drawing* drawing, Cube& box) {
    API_ElemInfo3D info;
    if (!activate(drawing) || ACAPI_Element_Get3DInfo(link.getHeader(), &info) != NoError) {
        return false;
    }
    // As getBounds merges them: from the last body to the first.
    Cube bounds;
    bool found = false;
    for (Int32 i = info.lbody; i >= info.fbody; --i) {
        Cube one;
        if (!Body::Data::readBounds(i, one)) {
            continue;
        }
        if (!found) {
            bounds = one;
            found = true;
        } else {
            bounds.merge(one);
        }
    }
    if (found) {
        box = bounds;
    }
    return found;
}

std::size_t Element3D::intersectionWith(const Plane& plane, IntersectList& list, double tolerance) const {
    std::size_t total = 0;
    InterPoint::Part operand = list.isSwapped() ? InterPoint::second : InterPoint::first;
    for (std::size_t b = bodySize(); b-- > 0;) {
        list.getSpec(operand).m_contour = Int32(b);
        total += body(b).intersectionWith(plane, list, tolerance);
    }
    return total;
}

std::size_t Element3D::getFacesAlong(const Plane& plane, PolyList& out, bool level, bool flag,
                                     double tolerance) const {
    std::size_t total = 0;
    for (std::size_t b = bodySize(); b-- > 0;) {
        total += body(b).getFacesAlong(plane, out, level, flag, tolerance);
    }
    return total;
}

} // namespace zelvane
