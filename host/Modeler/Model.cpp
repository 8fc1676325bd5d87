#include "Modeler/Model.hpp"

#include "Modeler/BodyData.hpp"
#include "sim/Component3D.h"
#include "sim/Model3D.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cstdlib>

namespace Modeler {

class Sight {
public:
    int generation = 0;
};

} // namespace Modeler

namespace {

struct State {
    std::vector<ModelerAPI::Element> elements;
    std::vector<ModelerAPI::Material> materials;
    std::vector<ModelerAPI::Texture> textures;
    bool shown = true;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); });

// The modeler's view of a host body: vertices and normals placed by the body's transformation,
// each edge knowing the polygons on its sides, facets numbered from 1.
std::shared_ptr<const ModelerAPI::detail::BodyData> modelerBody(const sim::Body3D& body) {
    auto data = std::make_shared<ModelerAPI::detail::BodyData>();
    for (const API_VertType& v : body.vertices) {
        API_VertType p = sim::placedVertex(body, v);
        data->vertices.push_back(ModelerAPI::Vertex{p.x, p.y, p.z});
    }
    const double* m = body.transformation.tmx;
    for (const API_VectType& v : body.vectors) {
        data->vectors.push_back(ModelerAPI::Vector{m[0] * v.x + m[1] * v.y + m[2] * v.z,
                                                   m[4] * v.x + m[5] * v.y + m[6] * v.z,
                                                   m[8] * v.x + m[9] * v.y + m[10] * v.z});
    }
    for (const sim::Body3D::Edge& edge : body.edges) {
        ModelerAPI::detail::BodyData::EdgeRecord record;
        record.vertex1 = edge.vert1;
        record.vertex2 = edge.vert2;
        record.status = edge.status;
        record.color = edge.pen;
        data->edges.push_back(record);
    }
    for (std::size_t p = 0; p < body.polygons.size(); ++p) {
        const sim::Body3D::Polygon& polygon = body.polygons[p];
        ModelerAPI::detail::BodyData::PolygonRecord record;
        record.edges = polygon.pedges;
        record.vector = polygon.vector;
        record.status = polygon.status;
        record.material = polygon.material;
        const std::vector<Int32>& facets = polygon.facets;
        std::size_t at = 0;
        Int32 count = facets.empty() ? 0 : facets[at++];
        for (Int32 f = 0; f < count && at < facets.size(); ++f) {
            Int32 corners = facets[at++];
            if (corners < 0 || std::size_t(corners) > facets.size() - at) {
                break;
            }
            std::vector<Int32> facet;
            for (Int32 c = 0; c < corners; ++c) {
                facet.push_back(facets[at++] + 1);
            }
            record.facets.push_back(facet);
        }
        for (Int32 entry : polygon.pedges) {
            if (entry == 0 || std::size_t(std::abs(entry)) > data->edges.size()) {
                continue;
            }
            auto& edge = data->edges[std::size_t(std::abs(entry) - 1)];
            Int32 index = Int32(p + 1);
            if (edge.polygon1 == 0) {
                edge.polygon1 = index;
            } else if (edge.polygon2 == 0 && edge.polygon1 != index) {
                edge.polygon2 = index;
            }
        }
        data->polygons.push_back(record);
    }
    data->status = body.status;
    data->color = body.pen;
    data->material = body.material;
    return data;
}

// The element as the model shows it: with its bodies, and their box when it has any.
ModelerAPI::Element modelerElement(const ModelerAPI::Element& given) {
    ModelerAPI::Element element = given;
    element.bodies.clear();
    bool boxed = false;
    for (const sim::Body3D& body : sim::elementBodies(element.guid)) {
        element.bodies.push_back(modelerBody(body));
        Box3D box;
        if (!ModelerAPI::Body(element.bodies.back()).GetBounds(&box)) {
            continue;
        }
        if (!boxed) {
            element.bounds = box;
            boxed = true;
            continue;
        }
        element.bounds.xMin = std::min(element.bounds.xMin, box.xMin);
        element.bounds.yMin = std::min(element.bounds.yMin, box.yMin);
        element.bounds.zMin = std::min(element.bounds.zMin, box.zMin);
        element.bounds.xMax = std::max(element.bounds.xMax, box.xMax);
        element.bounds.yMax = std::max(element.bounds.yMax, box.yMax);
        element.bounds.zMax = std::max(element.bounds.zMax, box.zMax);
    }
    return element;
}

} // namespace

namespace ModelerAPI {

bool Element::GetBody(Int32 index, Body* body) const {
    if (sim::enter("ModelerAPI::Element::GetBody") != NoError || body == nullptr || index < 1 ||
        index > GetBodyNum()) {
        return false;
    }
    *body = Body(bodies[std::size_t(index - 1)]);
    return true;
}

bool Model::GetElement(Int32 index, Element* element) const {
    if (element == nullptr || index < 1 || index > GetElementNum()) {
        return false;
    }
    *element = m_elements[std::size_t(index - 1)];
    return true;
}

bool Model::GetMaterial(Int32 index, Material* material) const {
    if (material == nullptr || index < 1 || index > GetMaterialNum()) {
        return false;
    }
    *material = m_materials[std::size_t(index - 1)];
    return true;
}

bool Model::GetTexture(Int32 index, Texture* texture) const {
    if (texture == nullptr || index < 1 || index > GetTextureNum()) {
        return false;
    }
    *texture = m_textures[std::size_t(index - 1)];
    return true;
}

bool Model::GetBounds(Box3D* bounds) const {
    if (bounds == nullptr || m_elements.empty()) {
        return false;
    }
    *bounds = m_elements.front().bounds;
    for (const Element& element : m_elements) {
        bounds->xMin = std::min(bounds->xMin, element.bounds.xMin);
        bounds->yMin = std::min(bounds->yMin, element.bounds.yMin);
        bounds->zMin = std::min(bounds->zMin, element.bounds.zMin);
        bounds->xMax = std::max(bounds->xMax, element.bounds.xMax);
        bounds->yMax = std::max(bounds->yMax, element.bounds.yMax);
        bounds->zMax = std::max(bounds->zMax, element.bounds.zMax);
    }
    return true;
}

} // namespace ModelerAPI

namespace sim {

void setModel3D(const std::vector<ModelerAPI::Element>& elements,
                const std::vector<ModelerAPI::Material>& materials,
                const std::vector<ModelerAPI::Texture>& textures) {
    state().elements = elements;
    state().materials = materials;
    state().textures = textures;
}

void setModel3DShown(bool shown) {
    state().shown = shown;
}

} // namespace sim

GSErrCode ACAPI_3D_GetCurrentWindowSight(Modeler::SightPtr* sight) {
    if (GSErrCode err = sim::enter("ACAPI_3D_GetCurrentWindowSight"); err != NoError) {
        return err;
    }
    if (sight == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen() || !state().shown) {
        return APIERR_GENERAL;
    }
    *sight = std::make_shared<Modeler::Sight>();
    return NoError;
}

GSErrCode EXPGetModel(const Modeler::SightPtr& sight, ModelerAPI::Model* model,
                      ModelerAPI::AttributeReader*) {
    if (GSErrCode err = sim::enter("EXPGetModel"); err != NoError) {
        return err;
    }
    if (sight == nullptr || model == nullptr) {
        return APIERR_BADPARS;
    }
    model->m_elements.clear();
    for (const ModelerAPI::Element& element : state().elements) {
        model->m_elements.push_back(modelerElement(element));
    }
    model->m_materials = state().materials;
    model->m_textures = state().textures;
    return NoError;
}
