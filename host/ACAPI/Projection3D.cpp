#include "ACAPI/Projection3D.hpp"

#include "sim/Environment.h"
#include "sim/Project.h"
#include "sim/Projection3D.h"
#include "sim/Sim.h"

#include <cmath>

namespace {

API_3DProjectionInfo initial() {
    API_3DProjectionInfo info;
    for (API_Tranmat* m : {&info.u_axono.tranmat, &info.u_axono.invtranmat}) {
        m->tmx[0] = m->tmx[5] = m->tmx[10] = 1.0;
    }
    return info;
}

API_3DProjectionInfo& state() {
    static auto* instance = new API_3DProjectionInfo(initial());
    return *instance;
}

GSErrCode get(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    *static_cast<API_3DProjectionInfo*>(par1) = state();
    return NoError;
}

GSErrCode change(void* par1, void*, void*) {
    auto* info = static_cast<const API_3DProjectionInfo*>(par1);
    if (info == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    if (info->isPersp && !std::isfinite(info->u_persp.distance)) {
        return APIERR_BADPARS;
    }
    state() = *info;
    return NoError;
}

const bool registered = sim::registerReset([] { state() = initial(); }) &&
                        sim::registerEnvironmentRequest(APIEnv_Get3DProjectionSetsID, get) &&
                        sim::registerEnvironmentRequest(APIEnv_Change3DProjectionSetsID, change);

} // namespace

namespace sim {

void setProjection(const API_3DProjectionInfo& info) {
    state() = info;
}

API_3DProjectionInfo projection() {
    return state();
}

} // namespace sim
