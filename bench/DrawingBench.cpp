// Listing and walking the floor plan's elements at 1k, 10k and 100k elements, and loading the
// selected ones of a selection as large: all must grow linearly (links are read once each, and a
// selected link is found by its GUID).
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace zelvane;

namespace {

class Plain : public Element {
public:
    Plain(const API_Element& record, const ElementLink& link) : Element(link), m_record(record) {}
    static Element* create(const API_Element& record, const ElementLink& link) {
        return new Plain(record, link);
    }
    Element* clone() const override { return new Plain(*this); }
    API_Element* getData() const override { return new API_Element(m_record); }
    API_ElementMemo* getMemo(unsigned long long& mask) const override {
        mask = 0;
        return nullptr;
    }
    using Element::getMemo;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

private:
    API_Element m_record;
};

Plan* project(std::size_t count, bool selectAll) {
    sim::reset();
    sim::openProject();
    host.reset();
    Drawing::shutdown();
    Drawing::addAdapter(element_id(API_ObjectID), Plain::create, false);
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

} // namespace

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
