// The remapping add-on's object map: writing and reading maps of 100 to 10,000 rules (each with
// two custom values), and finding rules by key in maps of 1,000 to 100,000 rules, in the key's own
// list, across lists, and making the rule of every key that has none, as automatic mapping does.
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Library/LengthParameter.h"
#include "Library/ParameterList.h"
#include "Library/StringParameter.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/SpecificationList.h"
#include "XML/XMLWriter.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;

namespace {

String ruleName(std::int64_t n) {
    return String(("Part " + std::to_string(n)).c_str());
}

// `rules` rules spread over two lists of each kind.
ObjectMap makeMap(std::int64_t rules) {
    ObjectMap map;
    for (int list = 0; list < 10; ++list) {
        map.addSource(String(list < 5 ? "First" : "Second"), static_cast<ObjectMap::Type>(list % 5));
    }
    for (std::int64_t n = 0; n < rules; ++n) {
        auto* rule = new ObjectSpecification;
        rule->setOriginalName(ruleName(n));
        rule->setMappedName(String("Target"));
        auto parameters = std::make_shared<ParameterList>();
        parameters->addParameter(new LengthParameter(String("A"), String(), 0.25 * double(n)));
        parameters->addParameter(new StringParameter(String("note"), String(), String("kept")));
        rule->setCustomParameters(parameters);
        map.getLists()[std::size_t(n % 10)]->push_back(rule);
    }
    return map;
}

String writeMap(ObjectMap& map) {
    String text;
    DataBufferOut stream(&text);
    XMLWriter writer(&stream);
    writer.exportFrom(map, true, true, true, true);
    return text;
}

void BM_WriteObjectMap(benchmark::State& state) {
    ObjectMap map = makeMap(state.range(0));
    for (auto _ : state) {
        String text = writeMap(map);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_WriteObjectMap)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

void BM_ReadObjectMap(benchmark::State& state) {
    ObjectMap source = makeMap(state.range(0));
    String text = writeMap(source);
    for (auto _ : state) {
        ObjectMap map;
        DataBufferIn stream(text);
        bool read = readObjectMap(map, stream);
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * text.dataLength());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadObjectMap)->RangeMultiplier(10)->Range(100, 10000)->Complexity();

// Every key looked up once: in its own list when `own`, else in a list that does not hold it, so
// that the search goes on over every list.
void findEvery(benchmark::State& state, bool own) {
    ObjectMap map = makeMap(state.range(0));
    for (auto _ : state) {
        for (std::int64_t n = 0; n < state.range(0); ++n) {
            String source(own == (n % 10 < 5) ? "First" : "Second");
            ObjectSpecification* rule =
                map.getSpecification(ObjectMap::Key(APILib_ObjectID, ruleName(n)), source,
                                     static_cast<ObjectMap::Type>(n % 5), false, false);
            benchmark::DoNotOptimize(rule);
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_FindInOwnList(benchmark::State& state) {
    findEvery(state, true);
}
BENCHMARK(BM_FindInOwnList)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

void BM_FindAcrossLists(benchmark::State& state) {
    findEvery(state, false);
}
BENCHMARK(BM_FindAcrossLists)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

// Every key missed in the chosen list, then given a new automatic rule there; each iteration
// starts from a copy of the map made untimed.
void BM_MakeEveryRule(benchmark::State& state) {
    ObjectMap source = makeMap(0);
    std::vector<String> names;
    for (std::int64_t n = 0; n < state.range(0); ++n) {
        names.push_back(ruleName(n));
    }
    for (auto _ : state) {
        state.PauseTiming();
        ObjectMap map = source;
        state.ResumeTiming();
        for (String const& name : names) {
            String chosen("First");
            ObjectMap::Key key(APILib_ObjectID, name);
            ObjectSpecification* rule = map.getSpecification(key, chosen, ObjectMap::GSM, false, false);
            if (rule == nullptr) {
                rule = map.getSpecification(key, chosen, ObjectMap::GSM, true, true);
            }
            benchmark::DoNotOptimize(rule);
        }
        state.PauseTiming();
        map = ObjectMap();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MakeEveryRule)->RangeMultiplier(10)->Range(1000, 100000)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
