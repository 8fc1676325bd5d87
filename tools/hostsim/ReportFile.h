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
    // folder, a socket or a block device, a link that cannot be followed, a name below a file or
    // in a folder that does not exist or cannot be written, or one too long for the file written
    // beside it.
    explicit ReportFile(std::filesystem::path path);

    // Throws std::runtime_error when the file the report replaces is one of `inputs`, the files
    // the scenario has hostsim read, or lies in the sandbox, whose files are the play's. Files are
    // compared as the file system knows them, so that another name of the same file is found too.
    void checkNotRead(const std::vector<InputFile>& inputs) const;

    // Writes the whole report; answers the error.
    std::error_code write(const std::string& text) const;

    // Opens the FIFO `path` names (a link to one followed) and closes it, writing nothing, so that
    // whoever waits to read it sees its end when no report comes; without a reader it does not
    // wait. Anything but a FIFO is left alone.
    static void endFifo(const std::filesystem::path& path);

private:
    std::filesystem::path m_path;   // as named
    std::filesystem::path m_target; // the file written, its links followed
};

} // namespace hostsim
