// Writing and reading the register of deleted records at 1k, 10k and 100k records: both must
// grow linearly with the number of records (the writer walks the records from a cursor, the
// reader inserts each record once).
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/Guid.h"
#include "Environment/String.h"
#include "Preset/DeletedDatabase.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>

using namespace zelvane;

namespace {

// Records made straight into the map: making each one through createRecord would compare its
// name with every record before it.
std::unique_ptr<DeletedDatabase> makeDatabase(std::size_t count) {
    auto database = std::make_unique<DeletedDatabase>();
    auto& items = database->getRecordList().edit();
    for (std::size_t i = 0; i < count; ++i) {
        Guid key;
        key.generate();
        auto record = std::make_shared<DeletedRecord>();
        record->setName(String(("Deleted record " + std::to_string(i)).c_str()));
        record->setDatabaseID(0x50534554);
        record->setDeprecated(i % 7 == 0);
        items[key] = record;
    }
    return database;
}

String write(DeletedDatabase& database) {
    String text;
    DataBufferOut out(&text);
    XMLWriter writer(&out);
    if (!writer.exportFrom(database, false, false, false, false)) {
        throw std::runtime_error("writing failed");
    }
    return text;
}

void WriteRecords(benchmark::State& state) {
    auto database = makeDatabase(std::size_t(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        String text = write(*database);
        bytes = text.dataLength();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.SetComplexityN(state.range(0));
}

void ReadRecords(benchmark::State& state) {
    auto source = makeDatabase(std::size_t(state.range(0)));
    String text = write(*source);
    for (auto _ : state) {
        DeletedDatabase database;
        DataBufferIn in(text);
        XMLReader reader(&in);
        if (!reader.importTo(database) || database.size() != source->size()) {
            state.SkipWithError("reading failed");
            break;
        }
    }
    state.SetBytesProcessed(std::int64_t(text.dataLength()) * state.iterations());
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(WriteRecords)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(ReadRecords)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
