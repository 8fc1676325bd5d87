// Helpers of the layer's own sources; not part of its interface.
#pragma once

#include "fileio/System.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace fileio {
namespace internal {

inline std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

// Whether two statuses are of one node.
inline bool sameNode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// While it lives, the calling thread's calls are not failed by a test double of the machine
// (Faults.h): for the layer's own scratch, which no caller sees.
class FaultsHeld {
public:
    FaultsHeld();
    ~FaultsHeld();
    FaultsHeld(const FaultsHeld&) = delete;
    FaultsHeld& operator=(const FaultsHeld&) = delete;
};

// Random hexadecimal digits, for names no entry is likely to have.
std::string randomHex(std::size_t digits);

} // namespace internal
} // namespace fileio
