#include "sim/ReadFile.h"

#include "sim/FileEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sim {

std::string fileKind(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return S_ISLNK(mode) ? "a link" : "a file";
}

std::string notAFile(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
        return "";
    }
    return fileKind(info.st_mode);
}

std::error_code readFile(const std::filesystem::path& path, std::string& text, std::uintmax_t limit) {
    text.clear();
    const std::error_code notRegular = std::make_error_code(std::errc::invalid_argument);
    const FileEntry entry(path);
    if (entry.error()) {
        return entry.error();
    }
    struct stat info {};
    if (!entry.status(info)) {
        return std::error_code(errno, std::generic_category());
    }
    // A device is not even opened: opening some of them does something.
    if (!S_ISREG(info.st_mode)) {
        return notRegular;
    }
    // Closed however the read ends.
    struct Descriptor {
        int fd;
        ~Descriptor() {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    } file{entry.open(O_RDONLY | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0) {
        return std::error_code(errno, std::generic_category());
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
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int code = errno;
            text.clear();
            return std::error_code(code, std::generic_category());
        }
        if (n == 0) {
            return {};
        }
        text.append(buffer, std::size_t(n));
    }
    text.clear();
    return tooLarge;
}

} // namespace sim
