// Reads arbitrary bytes into an object-map-like binding; whenever that succeeds, writes the
// object, reads the text back into a fresh binding and writes it again. The two writes must be
// byte-identical: whatever the reader accepts, the writer writes in a form that reads back the same.
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include "XML/SampleBindings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

using namespace zelvane;

namespace {

String write(sample::ObjectMap& map) {
    String text;
    DataBufferOut stream(&text);
    XMLWriter writer(&stream);
    if (!writer.exportFrom(map, true, true, true, true)) {
        std::fprintf(stderr, "writing failed\n");
        std::abort();
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size > 1 << 20) {
        return 0;
    }
    try {
        sample::ObjectMap first;
        {
            DataBufferIn stream(data, static_cast<int>(size), 99);
            XMLReader reader(&stream);
            if (!reader.importTo(first)) {
                return 0;
            }
        }
        String once = write(first);
        sample::ObjectMap second;
        {
            DataBufferIn stream(once, 99);
            XMLReader reader(&stream);
            if (!reader.importTo(second)) {
                std::fprintf(stderr, "the written document did not read back:\n%s\n", once.data());
                std::abort();
            }
        }
        String twice = write(second);
        if (once.dataLength() != twice.dataLength() ||
            std::memcmp(once.data(), twice.data(), once.dataLength()) != 0) {
            std::fprintf(stderr, "writes differ:\n%s\n----\n%s\n", once.data(), twice.data());
            std::abort();
        }
    } catch (std::bad_alloc const&) {
    }
    return 0;
}
