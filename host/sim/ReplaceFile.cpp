#include "sim/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace sim {
namespace {

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

// A new file beside `path`, named as the framework names its own: hidden, beside the file, ending in
// ".tmp". Answers its descriptor (-1 and errno set when it could not be made) and sets `name`.
int makeTemporary(const std::filesystem::path& path, std::vector<char>& name) {
    const std::string suffix = ".tmp";
    const std::string text =
        (path.parent_path() / ("." + path.filename().string() + ".XXXXXX" + suffix)).string();
    name.assign(text.begin(), text.end());
    name.push_back('\0');
    return ::mkostemps(name.data(), int(suffix.size()), O_CLOEXEC);
}

std::error_code writeAll(int fd, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno != EINTR) {
            return lastError();
        }
        if (n > 0) {
            written += std::size_t(n);
        }
    }
    return {};
}

// Gives the new file `fd` the permissions of the file at `path` it replaces, and its owner where the
// user may (root may give any, another user only a group of their own). Without such a file it is
// readable as the user's umask allows, as a file made by opening it is. Setuid, setgid and sticky
// bits are not carried over to a text the file did not hold.
std::error_code takeMode(int fd, const std::filesystem::path& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // Ownership first: a change of owner clears the permission bits' setuid and setgid.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            static_cast<void>(::fchown(fd, old.st_uid, old.st_gid) == 0 ||
                              ::fchown(fd, ::geteuid(), old.st_gid) == 0);
        }
        return ::fchmod(fd, old.st_mode & 0777) == 0 ? std::error_code() : lastError();
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd, 0666 & ~mask) == 0 ? std::error_code() : lastError();
}

} // namespace

// Where a path leads with every link followed, a dangling one too: weakly_canonical leaves a link
// whose target is missing as it is, yet a file written through it lands at the target. Only the
// first part that does not exist can be such a link (nothing exists below a missing part).
std::filesystem::path followedPath(std::filesystem::path path, std::error_code& error) {
    // As the system does, a chain of links gives up after this many.
    constexpr int linkLimit = 40;
    for (int links = 0; links <= linkLimit; ++links) {
        path = std::filesystem::weakly_canonical(path, error);
        if (error) {
            return {};
        }
        std::filesystem::path existing, rest;
        bool missing = false;
        for (const std::filesystem::path& part : path) {
            if (missing) {
                rest /= part;
                continue;
            }
            existing /= part;
            std::error_code absent;
            missing = !std::filesystem::exists(existing, absent);
        }
        // A missing part answers "not found" as its error: only its type matters here.
        std::error_code notFound;
        if (!missing || !std::filesystem::is_symlink(std::filesystem::symlink_status(existing, notFound))) {
            return path;
        }
        std::filesystem::path target = std::filesystem::read_symlink(existing, error);
        if (error) {
            return {};
        }
        // A relative target starts at the link's folder; an absolute one replaces it.
        path = existing.parent_path() / target;
        if (!rest.empty()) {
            path /= rest;
        }
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return {};
}

std::error_code writeFile(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    const std::filesystem::path target = followedPath(path, error);
    if (error) {
        return error;
    }
    const std::filesystem::file_status status = std::filesystem::status(target, error);
    if (std::filesystem::is_directory(status)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    // A node that is not a regular file is the system's or another program's: replacing it would
    // put a plain file where they expect the node.
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)
               ? writeInPlace(target, text)
               : replaceFile(target, text);
}

std::error_code replaceFile(const std::filesystem::path& path, const std::string& text) {
    std::vector<char> temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0) {
        return lastError();
    }
    std::error_code failure = takeMode(fd, path);
    if (!failure) {
        failure = writeAll(fd, text);
    }
    if (::close(fd) != 0 && !failure) {
        failure = lastError();
    }
    if (!failure && std::rename(temporary.data(), path.c_str()) != 0) {
        failure = lastError();
    }
    if (failure) {
        ::unlink(temporary.data());
    }
    return failure;
}

std::error_code makeNewFile(const std::filesystem::path& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        return lastError();
    }
    struct stat made {};
    std::error_code failure = ::fstat(fd, &made) == 0 ? writeAll(fd, text) : lastError();
    if (::close(fd) != 0 && !failure) {
        failure = lastError();
    }
    // A file cut short is removed, while its name still leads to the file made.
    struct stat now {};
    if (failure && ::lstat(path.c_str(), &now) == 0 && now.st_dev == made.st_dev &&
        now.st_ino == made.st_ino) {
        ::unlink(path.c_str());
    }
    return failure;
}

std::error_code checkReplaceable(const std::filesystem::path& path) {
    std::vector<char> temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0) {
        return lastError();
    }
    ::close(fd);
    ::unlink(temporary.data());
    return {};
}

std::error_code writeInPlace(const std::filesystem::path& path, const std::string& text) {
    // A FIFO blocks the open until it has a reader, as a shell's redirection does.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    struct stat info {};
    std::error_code failure;
    if (::fstat(fd, &info) != 0) {
        failure = lastError();
    } else if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        // Changed since it was looked at: written into, a regular file would keep its old end.
        failure = std::make_error_code(std::errc::invalid_argument);
    } else {
        failure = writeAll(fd, text);
    }
    if (::close(fd) != 0 && !failure) {
        failure = lastError();
    }
    return failure;
}

} // namespace sim
