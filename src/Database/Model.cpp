#include "Database/Model.h"

#include "ACAPI/Component3D.hpp"
#include "Database/AttributeLink.h"
#include "Database/OrthogonalProjection.h"
#include "Database/PerspectiveProjection.h"
#include "Database/Project.h"
#include "Geometry/Cube.h"

#include <memory>
#include <utility>

namespace zelvane {

Model::~Model() {
    delete m_model;
}

void Model::reset() {
    Drawing::reset();
    delete m_model;
    m_model = nullptr;
}

ModelerAPI::Model* Model::getModel() {
    if (m_model != nullptr) {
        return m_model;
    }
    if (m_sight == nullptr) {
        if (getProject() == nullptr || !getProject()->setActiveWindow(this)) {
            return nullptr;
        }
        Modeler::SightPtr sight;
        if (ACAPI_3D_GetCurrentWindowSight(&sight) != NoError || sight == nullptr) {
            return nullptr;
        }
        m_sight = sight;
    }
    auto model = std::make_unique<ModelerAPI::Model>();
    ModelerAPI::AttributeReader reader;
    GSErrCode err = EXPGetModel(m_sight, model.get(), &reader);
    setLastError(err);
    if (err != NoError) {
        return nullptr;
    }
    m_model = model.release();
    return m_model;
}

Int32 Model::size3D() {
    ModelerAPI::Model* model = getModel();
    return model != nullptr ? model->GetElementNum() : 0;
}

Cube* Model::getBounds() {
    ModelerAPI::Model* model = getModel();
    Box3D box{};
    if (model == nullptr || !model->GetBounds(&box)) {
        return nullptr;
    }
    return new Cube(box);
}

Element3D* Model::get3DElement(int index) {
    ModelerAPI::Model* model = getModel();
    ModelerAPI::Element element;
    if (model == nullptr || !model->GetElement(index + 1, &element)) {
        return nullptr;
    }
    if (m_proxy == nullptr) {
        m_proxy = std::make_unique<ModelProxy>(this);
    }
    API_Elem_Head head;
    head.typeID = element.typeID;
    head.guid = element.guid;
    return new Element3D(Element3DLink(ElementLink(head, this), m_proxy.get(), index), element);
}

ModelProxy::const_iterator Model::begin3D(const Filter& filter) {
    if (getModel() == nullptr) {
        return ModelProxy::const_iterator();
    }
    return ModelProxy::const_iterator(get3DElement(0), filter);
}

ModelProxy::const_reverse_iterator Model::rbegin3D(const Filter& filter) {
    if (getModel() == nullptr) {
        return ModelProxy::const_reverse_iterator();
    }
    return ModelProxy::const_reverse_iterator(get3DElement(size3D() - 1), filter);
}

Finish Model::getFinish(int material) {
    ModelerAPI::Model* model = getModel();
    auto found = std::make_shared<ModelerAPI::Material>();
    if (material < 1 || model == nullptr || !model->GetMaterial(material, found.get()) ||
        found->textureIndex > model->GetTextureNum()) {
        return getFinish(attribute_index(short(material)));
    }
    std::shared_ptr<ModelerAPI::Texture> texture;
    if (found->textureIndex > 0) {
        texture = std::make_shared<ModelerAPI::Texture>();
        if (!model->GetTexture(found->textureIndex, texture.get())) {
            texture.reset();
        }
    }
    return Finish(std::move(found), std::move(texture));
}

Finish Model::getFinish(attribute_index index) {
    API_Component3D component;
    component.typeID = API_UmatID;
    component.index = short(index);
    if (ACAPI_3D_GetComponent(&component) != NoError) {
        return Finish();
    }
    API_Attribute record;
    record.material = component.material;
    record.header.typeID = API_MaterialID;
    record.header.index = API_AttributeIndex(short(index));
    return Finish(record, AttributeLink(record.header, getProject()->getSpecification()));
}

std::shared_ptr<Projection> Model::getProjection() {
    API_3DProjectionInfo info;
    GSErrCode err = ACAPI_Environment(APIEnv_Get3DProjectionSetsID, &info);
    setLastError(err);
    if (err != NoError) {
        return nullptr;
    }
    if (info.isPersp) {
        return std::make_shared<PerspectiveProjection>(info.u_persp);
    }
    return std::make_shared<OrthogonalProjection>(info.u_axono, 1.0);
}

GSErrCode Model::setProjection(const Projection& projection) {
    API_3DProjectionInfo info;
    projection.getData(info);
    GSErrCode err = ACAPI_Environment(APIEnv_Change3DProjectionSetsID, &info);
    setLastError(err);
    return err;
}

} // namespace zelvane
