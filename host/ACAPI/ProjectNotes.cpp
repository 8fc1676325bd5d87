#include "ACAPI/ProjectNotes.hpp"

#include "GSRoot/UniString.hpp"
#include "sim/Environment.h"
#include "sim/Project.h"
#include "sim/ProjectNotes.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cstring>

namespace {

struct State {
    sim::ProjectNotes notes;
    std::optional<API_PlaceInfo> place;
    short layerCombination = 0;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

void toUnits(unsigned short* units, const std::string& value) {
    GS::UniString unicode(value.c_str());
    std::size_t length = std::min<std::size_t>(255, unicode.GetLength());
    std::memcpy(units, unicode.ToUStr(), length * sizeof(unsigned short));
    units[length] = 0;
}

GSErrCode getNotes(void* par1, void*, void*) {
    auto* notes = static_cast<API_ProjectNoteInfo*>(par1);
    if (notes == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    *notes = API_ProjectNoteInfo();
    toUnits(notes->projectName, state().notes.projectName);
    toUnits(notes->city, state().notes.city);
    toUnits(notes->postcode, state().notes.postcode);
    toUnits(notes->architect, state().notes.architect);
    return NoError;
}

GSErrCode getPlace(void* par1, void*, void*) {
    auto* place = static_cast<API_PlaceInfo*>(par1);
    if (place == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    if (!state().place) {
        return APIERR_GENERAL;
    }
    *place = *state().place;
    return NoError;
}

GSErrCode changePlace(void* par1, void*, void*) {
    auto* place = static_cast<const API_PlaceInfo*>(par1);
    if (place == nullptr || !(place->north == place->north)) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    state().place = *place;
    return NoError;
}

GSErrCode currentLayerCombination(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    if (state().layerCombination <= 0) {
        return APIERR_BADINDEX;
    }
    *static_cast<short*>(par1) = state().layerCombination;
    return NoError;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerEnvironmentRequest(APIEnv_GetProjectNotesID, getNotes) &&
                        sim::registerEnvironmentRequest(APIEnv_GetPlaceSetsID, getPlace) &&
                        sim::registerEnvironmentRequest(APIEnv_ChangePlaceSetsID, changePlace) &&
                        sim::registerEnvironmentRequest(APIEnv_GetCurrLayerCombID, currentLayerCombination);

} // namespace

namespace sim {

void setProjectNotes(const ProjectNotes& notes) {
    state().notes = notes;
}

void setPlace(const std::optional<API_PlaceInfo>& place) {
    state().place = place;
}

std::optional<API_PlaceInfo> place() {
    return state().place;
}

void setCurrentLayerCombination(short index) {
    state().layerCombination = index;
}

} // namespace sim
