// Helpers of the layer's own sources; not part of its interface.
#pragma once

#include "fileio/Rules.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace fileio {
namespace internal {

// How a folder is held to search it: without reading it, where the system can.
#ifdef O_PATH
constexpr int searchFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int searchFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

inline std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

// Whether two statuses are of one node.
inline bool sameNode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The folder a path lies in: "/" for one in the root or with no folder named.
inline std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

// Removes what the open folder holds, as fileio::removeContents does; without `keepOthers`, other
// users' entries too, for a tree that no other user could reach to put them there (one made
// private from its making).
std::error_code removeContents(int folder, Owners owners, bool keepOthers);

// Random hexadecimal digits, for names no entry is likely to have.
std::string randomHex(std::size_t digits);

} // namespace internal
} // namespace fileio
