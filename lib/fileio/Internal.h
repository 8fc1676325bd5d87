// Helpers of the layer's own sources; not part of its interface.
#pragma once

#include <fcntl.h>

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

// Random hexadecimal digits, for names no entry is likely to have.
std::string randomHex(std::size_t digits);

} // namespace internal
} // namespace fileio
