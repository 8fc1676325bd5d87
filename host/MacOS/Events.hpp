// The keyboard state.
#pragma once

#include "MacOS/MacTypes.hpp"

// 128 bits, one per virtual key code: bit (code mod 8) of byte (code / 8) is set while the key is
// held down.
using KeyMap = UInt32[4];

void GetKeys(KeyMap theKeys);
