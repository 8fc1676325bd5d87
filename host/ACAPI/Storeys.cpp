#include "ACAPI/Storeys.hpp"

#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/Databases.h"
#include "sim/Environment.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <algorithm>
#include <cstring>

namespace {

struct State {
    std::vector<sim::Storey> storeys{sim::Storey{0, 0, 0.0, "Ground Floor"}};
    double top = 3.0;
    int rebuilt = 0;
    int kept = 0;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

API_StoryType toHost(short index, Int32 floorId, double level, const std::string& name) {
    API_StoryType record;
    record.index = index;
    record.floorId = floorId;
    record.level = level;
    GS::UniString unicode(name.c_str());
    std::size_t length = std::min<std::size_t>(255, unicode.GetLength());
    std::memcpy(record.uName, unicode.ToUStr(), length * sizeof(unsigned short));
    return record;
}

GSErrCode getStoreys(void* par1, void* par2, void*) {
    auto* info = static_cast<API_StoryInfo*>(par1);
    if (info == nullptr) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    bool withTop = (GSFlags(reinterpret_cast<std::uintptr_t>(par2)) & APIStoryFlags_WithTop) != 0;
    const auto& storeys = state().storeys;
    std::size_t count = storeys.size() + (withTop ? 1 : 0);
    GSHandle handle = BMAllocateHandle(GSSize(count * sizeof(API_StoryType)), 0, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    auto* records = reinterpret_cast<API_StoryType*>(*handle);
    for (std::size_t i = 0; i < storeys.size(); ++i) {
        new (&records[i])
            API_StoryType(toHost(storeys[i].index, storeys[i].floorId, storeys[i].level, storeys[i].name));
    }
    if (withTop) {
        short above = storeys.empty() ? 0 : short(storeys.back().index + 1);
        new (&records[storeys.size()]) API_StoryType(toHost(above, 0, state().top, ""));
    }
    *info = API_StoryInfo();
    info->firstStory = storeys.empty() ? 0 : storeys.front().index;
    info->lastStory = storeys.empty() ? 0 : storeys.back().index;
    info->actStory = sim::currentStorey();
    info->data = reinterpret_cast<API_StoryType**>(handle);
    return NoError;
}

GSErrCode changeStoreys(void* par1, void*, void*) {
    auto* command = static_cast<const API_StoryCmdType*>(par1);
    if (command == nullptr || command->action != 0) {
        return APIERR_BADPARS;
    }
    if (!sim::isProjectOpen()) {
        return APIERR_NOPLAN;
    }
    const auto& storeys = state().storeys;
    if (std::none_of(storeys.begin(), storeys.end(),
                     [&](const sim::Storey& s) { return s.index == command->index; })) {
        return APIERR_BADINDEX;
    }
    sim::setCurrentStorey(command->index);
    ++(command->dontRebuild ? state().kept : state().rebuilt);
    return NoError;
}

const bool registered = sim::registerReset([] { state() = State(); }) &&
                        sim::registerProjectClear([] { state() = State(); }) &&
                        sim::registerEnvironmentRequest(APIEnv_GetStorySettingsID, getStoreys) &&
                        sim::registerEnvironmentRequest(APIEnv_ChangeStorySettingsID, changeStoreys);

} // namespace

namespace sim {

void setStoreys(const std::vector<Storey>& storeys, double topLevel) {
    state().storeys = storeys;
    state().top = topLevel;
}

const std::vector<Storey>& storeys() {
    return state().storeys;
}

int storeySwitches(bool rebuilt) {
    return rebuilt ? state().rebuilt : state().kept;
}

} // namespace sim
