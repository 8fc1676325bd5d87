#include "ReportFile.h"

#include "ScenarioInput.h"

#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace hostsim {
namespace {

std::string errnoText() {
    return std::error_code(errno, std::generic_category()).message();
}

} // namespace

ReportFile::ReportFile(std::filesystem::path path) : m_path(std::move(path)), m_target(m_path) {
    const std::string cannot = "cannot write " + escaped(m_path.string()) + ": ";
    struct stat info {};
    struct stat entry {};
    const bool exists = ::stat(m_path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        // Below a file, a chain of links without end, a folder that cannot be searched.
        throw std::runtime_error(cannot + errnoText());
    }
    const bool link = ::lstat(m_path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode);
    if (exists && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))) {
        if (::access(m_path.c_str(), W_OK) != 0) {
            throw std::runtime_error(cannot + errnoText());
        }
        return;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        throw std::runtime_error(cannot + "it is a folder");
    }
    if (exists && !S_ISREG(info.st_mode)) {
        const std::string kind = S_ISBLK(info.st_mode) ? "a block device" : notAFile(m_path);
        throw std::runtime_error(cannot + "it is " + kind + ", not a file, a FIFO or a character device");
    }
    if (link) {
        // The file the link leads to is replaced and the link kept; a dangling link makes its file.
        std::error_code error;
        m_target = exists ? std::filesystem::canonical(m_path, error) : sim::followedPath(m_path, error);
        if (error) {
            throw std::runtime_error(cannot + "its link cannot be followed: " + error.message());
        }
    }
    if (std::error_code error = sim::checkReplaceable(m_target)) {
        throw std::runtime_error(cannot + error.message());
    }
}

void ReportFile::checkNotRead(const std::vector<InputFile>& inputs) const {
    const std::string cannot = "cannot write the report to " + escaped(m_path.string()) + ": it ";
    for (const InputFile& input : inputs) {
        std::error_code error;
        if (std::filesystem::equivalent(m_target, input.path, error)) {
            throw std::runtime_error(cannot + "is " + input.what);
        }
    }
    // The file replaced is made beside its target: where the named file leads, not where it lies.
    if (liesInSandbox(m_target)) {
        throw std::runtime_error(cannot + "lies in the sandbox " + escaped(sim::sandboxRoot().string()));
    }
}

std::error_code ReportFile::write(const std::string& text) const {
    return sim::writeFile(m_path, text);
}

void ReportFile::endFifo(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode)) {
        return;
    }
    // Without O_NONBLOCK the open would wait for a reader; with it, one without a reader fails.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
    }
}

} // namespace hostsim
