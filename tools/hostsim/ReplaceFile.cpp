#include "ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace hostsim {

std::error_code replaceFile(const std::filesystem::path& path, const std::string& text) {
    // Named as the framework names its own: hidden, beside the file, ending in ".tmp".
    const std::string suffix = ".tmp";
    std::string name = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX" + suffix)).string();
    std::vector<char> temporary(name.begin(), name.end());
    temporary.push_back('\0');
    int fd = ::mkostemps(temporary.data(), int(suffix.size()), O_CLOEXEC);
    if (fd < 0) {
        return std::error_code(errno, std::generic_category());
    }
    int failure = 0;
    // Readable as the user's umask allows, as a file made by opening it is, not by its owner only.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) {
        failure = errno;
    }
    for (std::size_t written = 0; failure == 0 && written < text.size();) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno != EINTR) {
            failure = errno;
        } else if (n > 0) {
            written += std::size_t(n);
        }
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0 && std::rename(temporary.data(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.data());
    }
    return std::error_code(failure, std::generic_category());
}

} // namespace hostsim
