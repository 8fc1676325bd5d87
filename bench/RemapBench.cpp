// The remapping command at 1k, 10k and 100k objects, one source name for every ten of them:
// collecting them by source name, and remapping them (each re-pointed, measured before and after
// and put back twice). Both must grow linearly: elements are found by GUID, rules by key and parts
// by index, in the simulated host as in the add-on.
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Window.h"
#include "Environment/Host.h"
#include "Interface/ProgressWindow.h"
#include "Library/Library.h"
#include "Memo/ElementMemoStore.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapTransaction.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/RemapElements.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using zelvane::remap::ObjectMap;
using zelvane::remap::ObjectMapTransaction;

namespace {

constexpr std::int64_t perSource = 10;

Int32 addPart(const std::string& name) {
    sim::LibPartDef def;
    def.name = name;
    def.parameters = {sim::scalarParameter(APIParT_Length, "A", 1.0),
                      sim::scalarParameter(APIParT_Length, "B", 1.0),
                      sim::scalarParameter(APIParT_Length, "ZZYZX", 1.0)};
    return sim::addLibPart(def);
}

// A project of `count` objects, each ten placed from a part of their own, and (when asked) a map
// of every source name to a part of its own. Answers the floor plan.
Plan* project(std::int64_t count, ObjectMap* map) {
    sim::reset();
    sim::openProject();
    host.reset();
    Drawing::shutdown();
    Library::shutdown();
    Library::startup();
    Drawing::startup();
    Drawing::addAdapter(element_id(API_LampID), Lamp::create, false);
    Drawing::addAdapter(element_id(API_DoorID), Door::create, false);
    Drawing::addAdapter(element_id(API_WindowID), Window::create, false);
    std::vector<sim::LibParameter> sizes = {sim::scalarParameter(APIParT_Length, "A", 0.8),
                                            sim::scalarParameter(APIParT_Length, "B", 0.6),
                                            sim::scalarParameter(APIParT_Length, "ZZYZX", 0.9)};
    if (map != nullptr) {
        map->initialise();
    }
    Int32 part = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        if (i % perSource == 0) {
            std::string name = "Source " + std::to_string(i / perSource);
            part = addPart(name);
            if (map != nullptr) {
                remap::ObjectSpecification rule;
                rule.setOriginalName(String(name.c_str()));
                rule.setMappedLink(ComponentLink(addPart("Target " + name), APILib_ObjectID, nullptr));
                map->setSpecification(rule, ObjectMap::defaultSourceName(), ObjectMap::GSM);
            }
        }
        API_Element record;
        record.header.typeID = API_ObjectID;
        record.object.libInd = part;
        record.object.xRatio = 0.8;
        record.object.yRatio = 0.6;
        record.object.angle = 0.3;
        GS::Guid guid = sim::addElement(record);
        ElementMemoStore store;
        sim::writeParameterRecords(sizes, store.params());
        sim::storeMemo(guid, store.getTarget(), APIMemoMask_AddPars);
    }
    return host.getProject()->getFloorPlan();
}

// The simulated host logs every call: the log of earlier runs is dropped, untimed.
void forgetCalls(benchmark::State& state) {
    state.PauseTiming();
    sim::clearCalls();
    state.ResumeTiming();
}

void collectElements(benchmark::State& state) {
    Plan* plan = project(state.range(0), nullptr);
    for (auto _ : state) {
        forgetCalls(state);
        ObjectMapTransaction transaction(ObjectMap::GSM);
        auto progress = ProgressWindow::create(String("collecting"), 3);
        benchmark::DoNotOptimize(transaction.collect(*plan, *progress));
        benchmark::DoNotOptimize(transaction.getElementMap().size());
    }
    state.SetComplexityN(state.range(0));
}

void remapElements(benchmark::State& state) {
    ObjectMap map;
    Plan* plan = project(state.range(0), &map);
    ObjectMapTransaction transaction(ObjectMap::GSM);
    {
        auto progress = ProgressWindow::create(String("collecting"), 3);
        transaction.collect(*plan, *progress);
    }
    // Each run re-points the same elements again: a rule back to an element's own part still
    // re-points it, so every run does the whole work.
    for (auto _ : state) {
        forgetCalls(state);
        benchmark::DoNotOptimize(zelvane::remap::remapElements(
            ObjectMap::GSM, *plan, transaction.getElementMap(), map, ObjectMap::defaultSourceName()));
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(collectElements)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(remapElements)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
