#include "fileio/Faults.h"

#include "fileio/FileError.h"

namespace fileio {

std::error_code injectedFault(Call call, int folder, std::size_t* bytes) {
    if (zelvane_fileio_fault == nullptr) {
        return {};
    }
    const int code = zelvane_fileio_fault(int(call), folder, bytes);
    return code == 0 ? std::error_code() : std::error_code(code, injectedCategory());
}

} // namespace fileio
