#include "MacOS/Events.hpp"

#include "sim/Platform.h"
#include "sim/Sim.h"

#include <bitset>
#include <cstring>

namespace {

std::bitset<128>& keys() {
    static std::bitset<128> held;
    return held;
}

const bool registered = sim::registerReset([] { keys().reset(); });

} // namespace

void GetKeys(KeyMap theKeys) {
    UInt8 bytes[16] = {};
    for (std::size_t code = 0; code < 128; ++code) {
        if (keys().test(code)) {
            bytes[code / 8] |= UInt8(1u << (code % 8));
        }
    }
    std::memcpy(theKeys, bytes, sizeof(bytes));
}

void sim::pressKey(unsigned int code) {
    if (code < 128) {
        keys().set(code);
    }
}

void sim::releaseKey(unsigned int code) {
    if (code < 128) {
        keys().reset(code);
    }
}

void sim::releaseAllKeys() {
    keys().reset();
}
