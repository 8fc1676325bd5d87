// What a file reference of the simulated system holds: the entry's path.
#pragma once

#include "MacOS/MacTypes.hpp"

#include <cstring>
#include <string>

namespace macos {

// False when the path does not fit.
inline bool setPath(FSRef& ref, std::string const& path) {
    if (path.empty() || path.size() >= sizeof(ref.hidden) || path.find('\0') != std::string::npos) {
        return false;
    }
    std::memset(ref.hidden, 0, sizeof(ref.hidden));
    std::memcpy(ref.hidden, path.data(), path.size());
    return true;
}

inline std::string path(FSRef const& ref) {
    return std::string(reinterpret_cast<const char*>(ref.hidden),
                       strnlen(reinterpret_cast<const char*>(ref.hidden), sizeof(ref.hidden)));
}

} // namespace macos
