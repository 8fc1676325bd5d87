#include "Modeler/Model.hpp"

#include "sim/Model3D.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <algorithm>

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

} // namespace

namespace ModelerAPI {

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
    model->m_elements = state().elements;
    model->m_materials = state().materials;
    model->m_textures = state().textures;
    return NoError;
}
