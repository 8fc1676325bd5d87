// The error the last failed system call left, as the layer answers it: below every source of the
// layer, the system calls' own included. Not part of the layer's interface.
#pragma once

#include <cerrno>
#include <system_error>

namespace fileio {
namespace internal {

inline std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

} // namespace internal
} // namespace fileio
