// Arbitrary bytes read as a legacy preset file into a preset database, as XML into a preset
// collection, and as a library configuration. Whenever an XML read succeeds, the object is
// written, read back into a fresh one and written again: the two writes must be byte-identical.
// No host memory block may outlive an input.
#include "Environment/DataBufferIn.h"
#include "Preset/PresetDatabase.h"
#include "Preset/UserDatabaseCollection.h"
#include "Preset/ZelvaneLibrary.h"
#include "XML/XMLReader.h"
#include "sim/Resources.h"

#include "HostMemoryCheck.h"
#include "Preset/TestPresets.h"
#include "WrittenXML.h"

#include <cstdint>
#include <new>
#include <string>

using namespace zelvane;
using namespace testing_preset;

namespace {

bool read(XMLShipping& object, void const* data, std::size_t size) {
    DataBufferIn in(data, int(size), Encoding::utf8);
    XMLReader reader(&in);
    return reader.importTo(object);
}

// Written, read back into a fresh object of the same kind, written again: the same text.
template <typename Make>
void checkIdentity(XMLShipping& first, Make make) {
    std::string once = writtenXML(first, "writing an object that was read failed");
    auto second = make();
    if (!read(*second, once.data(), once.size())) {
        fault("the written object did not read back:", once);
    }
    std::string twice = writtenXML(*second, "writing an object that was read failed");
    if (once != twice) {
        fault("writes differ:", once + "\n----\n" + twice);
    }
}

bool setUp() {
    PresetDatabase::addTemplate(new WallRecord, "Walls", "Walls", PresetDatabase::uniqueInDatabase);
    PresetDatabase::addTemplate(new FinishRecord, "Finishes", "Finishes", PresetDatabase::uniqueInType);
    return sim::loadResourcesText(sim::defaultAddOn, R"({"strings": {"32703": ["Missing", "New"]}})");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    static bool const ready = setUp();
    if (!ready) {
        fault("the fuzz target could not be set up");
    }
    if (size > (1u << 20)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    try {
        {
            PresetDatabase legacy;
            legacy.importLegacyPresets(data, int(size));
        }
        {
            PresetDatabase database;
            bool done = false;
            {
                UserDatabaseCollection collection;
                database.initialiseStorage(collection, false, PresetDatabase::FilterList());
                done = read(collection, data, size);
            }
            if (done) {
                checkIdentity(database, [] { return std::make_unique<PresetDatabase>(); });
            }
        }
        {
            ZelvaneLibrary library;
            if (library.readDocument(data, size)) {
                checkIdentity(library, [] { return std::make_unique<ZelvaneLibrary>(); });
            }
        }
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape a read, and none is injected here.
    }
    checkHostMemory(start);
    return 0;
}
