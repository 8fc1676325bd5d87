#include "ACAPI/ElementBounds.hpp"

#include "sim/Database.h"
#include "sim/ElementBounds.h"
#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/Sim.h"

#include <unordered_map>

namespace {

using sim::GuidHash;

struct State {
    std::unordered_map<GS::Guid, API_Box3D, GuidHash> bounds;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

sim::BoundsProvider& provider() {
    static sim::BoundsProvider instance = nullptr;
    return instance;
}

double single(double value) {
    return double(float(value));
}

API_Box3D rounded(const API_Box3D& box) {
    return API_Box3D{single(box.xMin), single(box.yMin), single(box.zMin),
                     single(box.xMax), single(box.yMax), single(box.zMax)};
}

GSErrCode calcBounds(void* par1, void* par2, void*) {
    auto* head = static_cast<const API_Elem_Head*>(par1);
    auto* box = static_cast<API_Box3D*>(par2);
    if (head == nullptr || box == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::hasElement(head->guid)) {
        return APIERR_BADID;
    }
    auto it = state().bounds.find(head->guid);
    if (it != state().bounds.end()) {
        *box = it->second;
        return NoError;
    }
    API_Box3D found{};
    if (provider() != nullptr && provider()(head->guid, found)) {
        *box = rounded(found);
        return NoError;
    }
    return APIERR_GENERAL;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerProjectClear([] { state() = State(); }) &&
                        sim::registerDatabaseRequest(APIDb_CalcBoundsID, calcBounds);

} // namespace

namespace sim {

void setElementBounds(const GS::Guid& guid, const API_Box3D& box) {
    state().bounds[guid] = rounded(box);
}

void clearElementBounds(const GS::Guid& guid) {
    state().bounds.erase(guid);
}

void setBoundsProvider(BoundsProvider bounds) {
    provider() = bounds;
}

} // namespace sim
