#include "fileio/ReadWhole.h"

#include "fileio/Internal.h"

#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

std::error_code readWhole(const Entry& entry, std::string& text, std::uintmax_t limit, Owners owners) {
    text.clear();
    const std::error_code notRegular = std::make_error_code(std::errc::invalid_argument);
    if (entry.error()) {
        return entry.error();
    }
    struct stat info {};
    if (!entry.status(info)) {
        return internal::lastError();
    }
    // A device is not even opened: opening some of them does something.
    if (!S_ISREG(info.st_mode)) {
        return notRegular;
    }
    std::error_code error;
    const Descriptor file = entry.openFile(O_RDONLY, owners, error);
    if (error) {
        return error;
    }
    if (::fstat(file.get(), &info) != 0) {
        return internal::lastError();
    }
    if (!S_ISREG(info.st_mode)) {
        return notRegular;
    }
    const std::error_code tooLarge = std::make_error_code(std::errc::file_too_large);
    if (std::uintmax_t(info.st_size) > limit) {
        return tooLarge;
    }
    // Read into one string of the file's size: a copy of a large file would be as large.
    text.reserve(std::size_t(info.st_size));
    char buffer[1 << 16];
    while (text.size() <= limit) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const std::error_code failed = internal::lastError();
            text.clear();
            return failed;
        }
        if (n == 0) {
            return {};
        }
        text.append(buffer, std::size_t(n));
    }
    text.clear();
    return tooLarge;
}

} // namespace fileio
