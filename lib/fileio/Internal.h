// Helpers of the layer's own sources; not part of its interface.
#pragma once

#include "fileio/LastError.h"
#include "fileio/Rules.h"
#include "fileio/System.h"

#include <sys/stat.h>

#include <string>
#include <system_error>
#include <vector>

namespace fileio {
namespace internal {

// The folder a path lies in: "/" for one in the root or with no folder named.
inline std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

// The names of `path`, in order, empty ones and "." left out.
std::vector<std::string> namesOf(const std::string& path);

// Removes what the open folder holds, as fileio::removeContents does, other users' entries too: for
// a tree whose maker says no other user reached it.
std::error_code removeAll(int folder);

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
