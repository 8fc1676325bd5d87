// Arbitrary bytes as a delimited text table in a host pointer block, and as the parameter script
// of a library part whose VALUES lists are read. The first byte chooses the field delimiter and
// whether the first line names the fields. Nothing may read outside the block; every record holds
// at least one field; an exported table imports again to as many records; every field name of the
// VALUES table finds a list.
#include "Environment/Memory.h"
#include "Library/Library.h"
#include "Library/ObjectSource.h"
#include "Library/TextDatabase.h"
#include "sim/Library.h"

#include "HostMemoryCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

using namespace zelvane;

namespace {

[[noreturn]] void fault(char const* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void readTable(std::uint8_t options, std::string const& text) {
    static char const* const delimiters[] = {"", ",", "\t", ";;"};
    char const* delimiter = delimiters[options & 3];
    bool header = (options & 4) != 0;
    char* block = allocatePtr(int(text.size()));
    std::memcpy(block, text.data(), text.size());
    TextDatabase table;
    bool read = table.import(block, header, int(options >> 3), delimiter, "\r\n");
    disposePtr(&block);
    if (!read) {
        fault("a host block did not import");
    }
    for (TextRecord const* record : table.getRecords()) {
        if (record == nullptr || record->size() == 0) {
            fault("a record without fields");
        }
    }
    if (*delimiter == '\0') {
        return; // each piece chooses its own delimiter
    }
    String exported;
    table.exportTo(exported, delimiter, "\n");
    std::string again(exported.data());
    if (again.empty()) {
        return;
    }
    char* copy = allocatePtr(int(again.size()));
    std::memcpy(copy, again.data(), again.size());
    TextDatabase back;
    back.import(copy, false, 0, delimiter, "\r\n");
    disposePtr(&copy);
    // Records whose fields are all empty come back as empty lines only when they had one field.
    if (back.getRecordCount() > table.getRecordCount() + (table.getFieldNames() != nullptr ? 1 : 0)) {
        fault("an exported table imported to more records");
    }
}

void readValues(std::string const& script) {
    sim::LibPartDef def;
    def.name = "Fuzzed";
    def.sections[MakeGSType("VLSC")] = script;
    Library library(nullptr, 0);
    ObjectSource source(ComponentLink(sim::addLibPart(def), APILib_ObjectID, &library));
    TextDatabase const& values = source.getValueTable();
    if (values.getFieldNameCount() != values.getRecordCount()) {
        fault("a VALUES name without its list");
    }
    for (std::size_t i = 0; i < values.getFieldNameCount(); ++i) {
        if (source.getValues((*values.getFieldNames())[i]->getExport()) == nullptr) {
            fault("a VALUES name does not find a list");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size == 0 || size > (1u << 17)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    std::string text(reinterpret_cast<char const*>(data) + 1, size - 1);
    try {
        readTable(data[0], text);
        readValues(text);
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape, and none is injected here.
    }
    sim::reset();
    checkHostMemory(start);
    return 0;
}
