#include "ACAPI/Component3D.hpp"

#include "ACAPI/ProjectInfo.hpp"
#include "sim/Attributes.h"
#include "sim/Project.h"
#include "sim/Sim.h"

GSErrCode ACAPI_3D_GetComponent(API_Component3D* component) {
    if (GSErrCode err = sim::enter("ACAPI_3D_GetComponent", component != nullptr ? component->typeID : 0);
        err != NoError) {
        return err;
    }
    if (component == nullptr || component->typeID != API_UmatID) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    const API_Attribute* material = sim::attribute(API_MaterialID, API_AttributeIndex(component->index));
    if (material == nullptr) {
        return APIERR_BADINDEX;
    }
    component->material = material->material;
    return NoError;
}
