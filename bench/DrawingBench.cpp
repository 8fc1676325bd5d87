// Listing and walking the floor plan's elements at 1k, 10k and 100k elements, and loading the
// selected ones of a selection as large: all must grow linearly (links are read once each, and a
// selected link is found by its GUID), and finding the proxies of as many elements in a section.
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Section.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "support/RecordElement.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace zelvane;

namespace {

Plan* project(std::size_t count, bool selectAll) {
    sim::reset();
    sim::openProject();
    host.reset();
    Drawing::shutdown();
    Drawing::addAdapter(element_id(API_ObjectID), RecordElement::create, false);
    std::vector<API_Neig> selection;
    for (std::size_t i = 0; i < count; ++i) {
        API_Element element;
        element.header.typeID = API_ObjectID;
        API_Neig neig;
        neig.guid = sim::addElement(element);
        neig.neigID = 13;
        selection.push_back(neig);
    }
    if (selectAll) {
        sim::setSelection(selection);
    }
    return host.getProject()->getFloorPlan();
}

void listLinks(benchmark::State& state) {
    Plan* plan = project(std::size_t(state.range(0)), false);
    for (auto _ : state) {
        ElementLinkList list;
        benchmark::DoNotOptimize(plan->getLinksMatching(Drawing::Filter(false), &list));
    }
    state.SetComplexityN(state.range(0));
}

void walkElements(benchmark::State& state) {
    Plan* plan = project(std::size_t(state.range(0)), false);
    for (auto _ : state) {
        std::size_t seen = 0;
        for (auto it = plan->begin(false, Drawing::Filter(false)); !it.atEnd(); ++it) {
            ++seen;
        }
        benchmark::DoNotOptimize(seen);
    }
    state.SetComplexityN(state.range(0));
}

void walkSelection(benchmark::State& state) {
    Plan* plan = project(std::size_t(state.range(0)), true);
    for (auto _ : state) {
        plan->reset();
        std::size_t seen = 0;
        for (auto it = plan->begin(false, Drawing::Filter(true)); !it.atEnd(); ++it) {
            ++seen;
        }
        benchmark::DoNotOptimize(seen);
    }
    state.SetComplexityN(state.range(0));
}

// A section showing every floor-plan element through a proxy: the proxies of all of them, then of
// the last one alone.
void findProxies(benchmark::State& state) {
    Plan* plan = project(std::size_t(state.range(0)), false);
    sim::DatabaseRecord record;
    record.type = APIWind_SectionID;
    GS::Guid sectionID = sim::addDatabase(record);
    ElementLinkList in;
    for (const GS::Guid& guid : sim::elementsOf(GS::Guid())) {
        API_Element proxy;
        proxy.header.typeID = API_SectElemID;
        proxy.sectElem.parentID = API_ObjectID;
        proxy.sectElem.parentGuid = guid;
        sim::addElement(proxy, sectionID);
        in.push_back(new ElementLink(Guid(guid), plan));
    }
    Section* section = host.getProject()->getSection(DatabaseGuid(sectionID));
    for (auto _ : state) {
        ElementLinkList out;
        benchmark::DoNotOptimize(section->findElementProxy(in, out));
        benchmark::DoNotOptimize(section->findElementProxy(*in[in.size() - 1]));
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(findProxies)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(listLinks)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(walkElements)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(walkSelection)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
