#include "IO/Internal.hpp"

#include "sim/Sim.h"

namespace IO {
namespace internal {

bool mayCreate(const Location& location, const char* call, std::filesystem::path& path, GSErrCode& error) {
    if (location.IsEmpty()) {
        return false;
    }
    path = pathOf(location);
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        return false; // an existing entry is kept as it is; the status tells a file from a folder
    }
    if ((error = sim::enter(call)) != NoError) {
        return false;
    }
    if (!isInsideSandbox(path)) {
        error = ErrPermission;
        return false;
    }
    return true;
}

GSErrCode entryStatus(const Location& location, bool folder, GSErrCode createError) {
    if (location.IsEmpty()) {
        return ErrParam;
    }
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(pathOf(location), ec);
    // Whatever is not a folder is a file, a FIFO or a device too: the system opens them alike.
    if (std::filesystem::exists(status)) {
        return std::filesystem::is_directory(status) == folder ? NoError : ErrParam;
    }
    return createError != NoError ? createError : ErrNotFound;
}

} // namespace internal
} // namespace IO
