// Arbitrary bytes as the host's add-on command parameter handle, unpacked into a parameter list.
// Nothing may read outside the handle; a failed unpack leaves the list empty. A list that unpacks
// packs back into a handle that unpacks again, and the list packed, unpacked twice (each unpack
// reverses the order) and packed again gives the same handle byte for byte.
#include "Library/LongParameter.h"
#include "Library/ParameterList.h"

#include "ACAPI/CommandParameters.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Memory.h"

#include "HostMemoryCheck.h"

#include <cmath>
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

// Frees the handle however the check ends.
struct Handle {
    GSHandle handle = nullptr;
    ~Handle() {
        if (handle != nullptr) {
            BMKillHandle(&handle);
        }
    }
    std::string bytes() const {
        GSSize size = BMGetHandleSize(handle);
        return size == 0 ? std::string() : std::string(*handle, std::size_t(size));
    }
};

void pack(ParameterList const& list, Handle& out, UInt32 commandID = 0, Int32 version = 0) {
    if (!list.packParameter(out.handle, true, commandID, version) || out.handle == nullptr) {
        fault("a list that unpacked did not pack");
    }
}

void unpack(ParameterList& list, Handle const& in) {
    if (!list.unpackParameter(in.handle)) {
        fault("a packed list did not unpack");
    }
}

bool sameParameter(Parameter const& a, Parameter const& b) {
    if (a.getName() != b.getName() || a.getFlags() != b.getFlags() ||
        a.getCommandTypeID() != b.getCommandTypeID()) {
        return false;
    }
    // A real NaN never equals itself; the handles' bytes compare it.
    return a == b || a.getCommandTypeID() == MDCLPar_float;
}

void roundTrip(ParameterList const& first) {
    Handle once;
    pack(first, once);
    ParameterList reversed;
    unpack(reversed, once);
    if (reversed.size() != first.size()) {
        fault("a packed list unpacked to another length");
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (!sameParameter(*first.getParameter(i), *reversed.getParameter(first.size() - 1 - i))) {
            fault("a packed list unpacked to other parameters");
        }
    }
    Handle back;
    pack(reversed, back);
    ParameterList again;
    unpack(again, back);
    Handle twice;
    pack(again, twice);
    if (once.bytes() != twice.bytes()) {
        fault("packing after two unpacks gives another handle");
    }

    // The command's own ID and version follow the parameters, and unpack first.
    Handle tagged;
    pack(first, tagged, 42, 3);
    ParameterList withCommand;
    unpack(withCommand, tagged);
    LongParameter const* version = nullptr;
    if (withCommand.size() != first.size() + 2 ||
        (version = dynamic_cast<LongParameter const*>(withCommand.getParameter(std::size_t(0)))) == nullptr ||
        version->getName() != "command_version" || version->getValue() != 3) {
        fault("the command's ID and version did not follow the parameters");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size > (1u << 16)) {
        return 0;
    }
    sim::MemoryStats start = sim::memoryStats();
    try {
        Handle input;
        input.handle = BMAllocateHandle(GSSize(size), 0, 0);
        if (input.handle == nullptr) {
            return 0;
        }
        if (size != 0) {
            std::memcpy(*input.handle, data, size);
        }
        ParameterList list;
        if (list.unpackParameter(input.handle)) {
            roundTrip(list);
        } else if (list.size() != 0) {
            fault("a failed unpack left parameters in the list");
        }
    } catch (std::bad_alloc const&) {
        // Only host memory failures may escape, and none is injected here.
    }
    checkHostMemory(start);
    return 0;
}
