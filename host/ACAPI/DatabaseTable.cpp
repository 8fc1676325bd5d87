#include "sim/Databases.h"

#include "sim/Sim.h"

namespace {

struct State {
    API_WindowTypeID type = APIWind_FloorPlanID;
    GS::Guid id;
    short storey = 0;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); });

} // namespace

namespace sim {

void setCurrentDatabase(API_WindowTypeID type, const GS::Guid& id) {
    state().type = type;
    state().id = (type == APIWind_FloorPlanID || type == APIWind_3DModelID) ? GS::Guid() : id;
}

API_WindowTypeID currentWindowType() {
    return state().type;
}

GS::Guid currentDatabase() {
    return state().id;
}

void setCurrentStorey(short index) {
    state().storey = index;
}

short currentStorey() {
    return state().storey;
}

} // namespace sim
