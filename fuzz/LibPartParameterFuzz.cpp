// Arbitrary bytes as a handle of library-part parameter records: whole records first, then for
// each array record a length byte and that many bytes of its cell handle. Nothing may read outside
// the handles; a failed unpack leaves the list empty. A list that unpacks packs into records that
// unpack to the same names, kinds, shapes and cell texts, and packs again to the same cells.
#include "Environment/Memory.h"
#include "Library/ParameterList.h"

#include "ACAPI/LibraryParts.hpp"
#include "GSRoot/BM.hpp"

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

struct Records {
    API_AddParType** records = nullptr;
    ~Records() { ACAPI_DisposeAddParHdl(&records); }
};

std::string describe(ParameterList const& list) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        Parameter const& p = *list.getParameter(i);
        text += std::string(p.getName().data()) + ":" + std::to_string(p.getTypeID()) + ":" +
                std::to_string(p.getRowCount()) + "x" + std::to_string(p.getColumnCount()) + "=";
        for (std::size_t r = 0; r < p.getRowCount(); ++r) {
            for (std::size_t c = 0; c < p.getColumnCount(); ++c) {
                text += std::string(p.getValueText(r, c).data()) + "|";
            }
        }
        text += "\n";
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size > (1u << 16)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    try {
        std::size_t count = size / sizeof(API_AddParType);
        Records input;
        input.records = reinterpret_cast<API_AddParType**>(
            BMAllocateHandle(GSSize(count * sizeof(API_AddParType)), 0, 0));
        if (input.records == nullptr) {
            return 0;
        }
        std::memcpy(*input.records, data, count * sizeof(API_AddParType));
        std::size_t at = count * sizeof(API_AddParType);
        for (std::size_t i = 0; i < count; ++i) {
            API_AddParType& record = (*input.records)[i];
            record.value.array = nullptr;
            if (record.typeMod != API_ParArray || at >= size) {
                continue;
            }
            const std::size_t wanted = data[at++];
            std::size_t length = std::min<std::size_t>(wanted, size - at);
            record.value.array = BMAllocateHandle(GSSize(length), 0, 0);
            if (record.value.array != nullptr && length != 0) {
                std::memcpy(*record.value.array, data + at, length);
            }
            at += length;
        }
        ParameterList list;
        if (!list.unpackParameter(input.records)) {
            if (list.size() != 0) {
                fault("a failed unpack left parameters in the list");
            }
        } else {
            Records packed;
            if (!list.packParameter(packed.records)) {
                fault("a list that unpacked did not pack");
            }
            ParameterList back;
            if (!back.unpackParameter(packed.records) || describe(back) != describe(list)) {
                fault("packed parameters unpacked to others");
            }
        }
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape, and none is injected here.
    }
    checkHostMemory(start);
    return 0;
}
