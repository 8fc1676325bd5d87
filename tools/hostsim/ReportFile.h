// The file --report names, looked at before the scenario plays so that a report that cannot be
// written stops hostsim before anything is played: a regular file (or a name where there is none)
// is replaced whole, a FIFO or a character device is written in place, and a link is followed to
// what it leads to, which is written as the kind it is while the link stays.
#pragma once

#include "HostProgram.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace hostsim {

class ReportFile {
public:
    // Throws std::runtime_error, saying why, when the report cannot be written at `path`: a
    // folder, a socket or a block device, a FIFO that no process reads, or a link that cannot or
    // may not be followed. A FIFO or a character device is opened here, without waiting, and kept
    // open: its reader, found now, waits for the report, and sees the FIFO's end when none comes.
    explicit ReportFile(std::filesystem::path path);
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile();

    const std::filesystem::path& path() const { return m_path; }

    // Throws std::runtime_error, saying why, when the file the report replaces cannot be replaced
    // (sim::checkReplaceable: a file the user may not write or replace, a name below a file or in a
    // folder that does not exist or cannot be written, one too long for the file written beside
    // it), is one of `inputs`, the files the scenario has hostsim read, or lies in the sandbox,
    // whose files are the play's. Files are compared as the file system knows them, so that
    // another name of the same file is found too.
    void check(const std::vector<InputFile>& inputs) const;

    // Writes the whole report, into the FIFO or device opened (which it then closes) or over the
    // file, checked as the constructor checked it; answers the error.
    std::error_code write(const std::string& text);

private:
    std::filesystem::path m_path;   // as named
    std::filesystem::path m_target; // the file written, its links followed
    int m_fd = -1;                  // the FIFO or device, open
};

} // namespace hostsim
