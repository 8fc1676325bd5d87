#include "ReportFile.h"

#include "Sandbox.h"
#include "ScenarioInput.h"

#include "fileio/Rules.h"
#include "fileio/WriteWhole.h"
#include "sim/Files.h"
#include "sim/ReadFile.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace hostsim {

ReportFile::ReportFile(std::filesystem::path path)
    : m_path(std::move(path)), m_entry(std::in_place, m_path.string()) {
    const sim::OwnFileCalls own;
    const std::string cannot = "cannot write " + escaped(m_path.string()) + ": ";
    if (m_entry->error()) {
        throw std::runtime_error(cannot + m_entry->error().message());
    }
    struct stat info {};
    const bool exists = m_entry->status(info);
    // A file that only the system can follow (/dev/stdout to a file) is written where the process
    // holds it, at its end, as a shell's redirection to it writes.
    const bool openFile = exists && m_entry->isOpenFile() && S_ISREG(info.st_mode);
    if (exists && (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || openFile)) {
        std::error_code error;
        m_node = fileio::openInPlace(*m_entry, fileio::Owners::player, error);
        if (error) {
            throw std::runtime_error(cannot + error.message());
        }
        return;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        throw std::runtime_error(cannot + "it is a folder");
    }
    if (exists && !S_ISREG(info.st_mode)) {
        const std::string kind = S_ISBLK(info.st_mode) ? "a block device" : fileio::kindOf(info.st_mode);
        throw std::runtime_error(cannot + "it is " + kind + ", not a file, a FIFO or a character device");
    }
}

void ReportFile::check(const std::vector<InputFile>& inputs) {
    const sim::OwnFileCalls own;
    if (!m_node) {
        m_entry.reset();
        m_entry.emplace(m_path.string());
    }
    const std::string cannot = "cannot write the report to " + escaped(m_path.string()) + ": it ";
    struct stat report {};
    if (!m_entry->error() && m_entry->status(report)) {
        for (const InputFile& input : inputs) {
            struct stat read {};
            if (sim::statusOf(input.path, read) && fileio::sameNode(read, report)) {
                throw std::runtime_error(cannot + "is " + input.what);
            }
        }
    }
    // The file replaced is made beside its target: where the named file leads, not where it lies.
    if (liesInSandbox(m_entry->path())) {
        throw std::runtime_error(cannot + "lies in the sandbox " + escaped(sim::sandboxRoot().string()));
    }
    // The same rules as the write's after the play, so that the two agree.
    if (!m_node) {
        if (const std::error_code error = fileio::checkWritable(*m_entry)) {
            throw std::runtime_error("cannot write " + escaped(m_path.string()) + ": " + error.message());
        }
    }
}

std::error_code ReportFile::write(const std::string& text) {
    const sim::OwnFileCalls own;
    if (!m_node) {
        return fileio::writeWhole(*m_entry, fileio::textWriter(text));
    }
    std::error_code error = fileio::writeAll(m_node.get(), text.data(), text.size());
    if (!m_node.reset() && !error) {
        error = std::error_code(errno, std::generic_category());
    }
    return error;
}

int deliverReport(const std::string& report, ReportFile* file, const Sandbox& sandbox,
                  std::ostream& messages) {
    // Where the sandbox's path leads elsewhere by now, what the host wrote and read may not be the
    // play's: the report, which shows its files, is not written.
    if (const std::string moved = sandbox.moved(); !moved.empty()) {
        messages << "hostsim: " << moved << ", so the report is not written\n";
        return 4;
    }
    const sim::OwnFileCalls own;
    std::error_code error;
    std::string named;
    if (file != nullptr) {
        error = file->write(report);
        named = escaped(file->path().string());
    } else {
        error = fileio::writeAll(STDOUT_FILENO, report.data(), report.size());
        named = "the report to standard output";
    }
    if (error) {
        messages << "hostsim: cannot write " << named << ": " << error.message() << "\n";
        return 4;
    }
    return 0;
}

} // namespace hostsim
