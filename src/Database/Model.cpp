#include "Database/Model.h"

#include "Database/OrthogonalProjection.h"
#include "Database/PerspectiveProjection.h"
#include "Database/Project.h"
#include "Geometry/Cube.h"

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
