#include "ACAPI/ObjectSettings.hpp"

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "sim/Interface.h"
#include "sim/ObjectSettings.h"
#include "sim/Sim.h"

#include <optional>

namespace {

struct Script {
    std::optional<API_ObjectType> values;
    std::vector<sim::LibParameter> parameters;
};

struct State {
    std::optional<Script> next;
    std::vector<sim::LibParameter> shown;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

GSErrCode objectSettings(void* par1, void* par2, void* par3) {
    auto* element = static_cast<API_Element*>(par1);
    auto* memo = static_cast<API_ElementMemo*>(par2);
    if (element == nullptr || par3 == nullptr ||
        (element->header.typeID != API_ObjectID && element->header.typeID != API_LampID)) {
        return APIERR_BADPARS;
    }
    state().shown.clear();
    if (memo != nullptr && memo->params != nullptr &&
        !sim::readParameterRecords(memo->params, state().shown)) {
        return APIERR_BADPARS;
    }
    if (!state().next) {
        return APIERR_CANCEL;
    }
    Script script = *state().next;
    state().next.reset();
    if (script.values) {
        (element->header.typeID == API_ObjectID ? element->object : element->lamp) = *script.values;
    }
    if (memo != nullptr && !script.parameters.empty()) {
        API_AddParType** records = nullptr;
        if (GSErrCode err = sim::writeParameterRecords(script.parameters, &records); err != NoError) {
            return err;
        }
        ACAPI_DisposeAddParHdl(&memo->params);
        memo->params = records;
    }
    return NoError;
}

// Cleared member by member: assigning a new State trips GCC's maybe-uninitialized check on the
// empty optional.
const bool registered = sim::registerReset([] {
                            state().next.reset();
                            state().shown.clear();
                        }) &&
                        sim::registerInterfaceRequest(APIIo_ObjectSettingsID, objectSettings);

} // namespace

namespace sim {

void scriptObjectSettings(const API_ObjectType* values, const std::vector<LibParameter>& parameters) {
    Script script;
    if (values != nullptr) {
        script.values = *values;
    }
    script.parameters = parameters;
    state().next = script;
}

std::vector<LibParameter> objectSettingsShown() {
    return state().shown;
}

} // namespace sim
