// Arbitrary bytes read as the remapping add-on's object-map file. Whenever the read succeeds, the
// map is written, read back into a fresh map and written again: the two writes must be
// byte-identical, and the map read back must hold a list for every kind. No host memory block may
// outlive an input.
#include "Environment/DataBufferIn.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapFile.h"
#include "sim/Resources.h"

#include "HostMemoryCheck.h"
#include "WrittenXML.h"

#include <cstdint>
#include <new>
#include <string>

using namespace zelvane;
using namespace zelvane::remap;

namespace {

// The default source name, which the lists made for missing kinds take.
bool loadStrings() {
    return sim::loadResourcesText(sim::defaultAddOn, R"({"strings": {"32525": ["Default"]}})");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    static bool const loaded = loadStrings();
    if (!loaded) {
        fault("the fuzz target's strings did not load");
    }
    if (size > (1u << 20)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    try {
        ObjectMap first;
        bool read = false;
        {
            DataBufferIn in(data, int(size), Encoding::utf8);
            read = readObjectMap(first, in);
        }
        if (read) {
            std::string once = writtenXML(first, "writing a map that was read failed");
            ObjectMap second;
            DataBufferIn in(once.data(), int(once.size()), Encoding::utf8);
            if (!readObjectMap(second, in)) {
                fault("the written map did not read back:", once);
            }
            for (std::size_t kind = 0; kind < ObjectMap::typeCount; ++kind) {
                if (!second.getLists().isSpecificationFor(static_cast<ObjectMap::Type>(kind))) {
                    fault("a kind without a list:", once);
                }
            }
            std::string twice = writtenXML(second, "writing a map that was read failed");
            if (once != twice) {
                fault("writes differ:", once + "\n----\n" + twice);
            }
        }
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape a read, and none is injected here.
    }
    checkHostMemory(start);
    return 0;
}
