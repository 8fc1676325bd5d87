#include "ReportFile.h"

#include "ScenarioInput.h"

#include "sim/FileEntry.h"
#include "sim/ReadFile.h"
#include "sim/ReplaceFile.h"
#include "sim/Sim.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace hostsim {

ReportFile::ReportFile(std::filesystem::path path) : m_path(std::move(path)) {
    const std::string cannot = "cannot write " + escaped(m_path.string()) + ": ";
    const sim::FileEntry entry(m_path);
    if (entry.error()) {
        throw std::runtime_error(cannot + entry.error().message());
    }
    m_target = entry.path();
    struct stat info {};
    const bool exists = entry.status(info);
    if (exists && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))) {
        std::error_code error;
        m_fd = sim::openInPlace(m_path, error);
        if (m_fd < 0) {
            throw std::runtime_error(cannot + error.message());
        }
        return;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        throw std::runtime_error(cannot + "it is a folder");
    }
    if (exists && !S_ISREG(info.st_mode)) {
        const std::string kind = S_ISBLK(info.st_mode) ? "a block device" : sim::fileKind(info.st_mode);
        throw std::runtime_error(cannot + "it is " + kind + ", not a file, a FIFO or a character device");
    }
}

ReportFile::~ReportFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void ReportFile::check(const std::vector<InputFile>& inputs) const {
    // The same check as the write's after the play, so that the two agree.
    std::error_code error = m_fd < 0 ? sim::checkReplaceable(m_path) : std::error_code();
    if (error) {
        throw std::runtime_error("cannot write " + escaped(m_path.string()) + ": " + error.message());
    }
    const std::string cannot = "cannot write the report to " + escaped(m_path.string()) + ": it ";
    for (const InputFile& input : inputs) {
        if (std::filesystem::equivalent(m_target, input.path, error)) {
            throw std::runtime_error(cannot + "is " + input.what);
        }
    }
    // The file replaced is made beside its target: where the named file leads, not where it lies.
    if (liesInSandbox(m_target)) {
        throw std::runtime_error(cannot + "lies in the sandbox " + escaped(sim::sandboxRoot().string()));
    }
}

std::error_code ReportFile::write(const std::string& text) {
    if (m_fd < 0) {
        return sim::writeFile(m_path, text);
    }
    std::error_code error = sim::writeAll(m_fd, text);
    if (::close(m_fd) != 0 && !error) {
        error = std::error_code(errno, std::generic_category());
    }
    m_fd = -1;
    return error;
}

} // namespace hostsim
