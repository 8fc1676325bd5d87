// The file --report names, looked at before the scenario plays so that a report that cannot be
// written stops hostsim before anything is played: a regular file (or a name where there is none)
// is replaced whole, a FIFO or a character device is written in place, and a link is followed to
// what it leads to, which is written as the kind it is while the link stays. The path is walked
// through the file layer before the play, and the write after it goes through the folder then
// held.
#pragma once

#include "HostProgram.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace hostsim {

class Sandbox;

class ReportFile {
public:
    // Throws std::runtime_error, saying why, when the report cannot be written at `path`: a
    // folder, a socket or a block device, a link that cannot or may not be followed, or a FIFO or
    // device the file rules refuse (one that no process reads, another user's in a folder other
    // users may write, one whose permission bits do not let the player write it, for root too). A
    // FIFO or a character device is opened here, without waiting, and kept open: its reader,
    // found now, waits for the report, and sees the FIFO's end when none comes.
    explicit ReportFile(std::filesystem::path path);
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    ~ReportFile() = default;

    const std::filesystem::path& path() const { return m_path; }

    // Walks the path again (the sandbox made since may have made its folder), to hold the folder
    // the report is written in. Throws std::runtime_error, saying why, when the file the report
    // replaces cannot be replaced (fileio::checkWritable: another user's file in a folder other users may
    // write, a file the player may not write or replace, a name below a file or in a folder that does not
    // exist or cannot be written, one too long for the file written beside it), is one of `inputs`, the files
    // the scenario has hostsim read, or lies in the sandbox, whose files are the play's. Files are compared
    // as the file system knows them, so that another name of the same file is found too.
    void check(const std::vector<InputFile>& inputs);

    // Writes the whole report, into the FIFO or device opened (which it then closes) or over the
    // file, under the rules the constructor and check() applied: a file put at the name since is
    // written only where they would have taken it (not another user's in a folder other users may
    // write). A reader of the FIFO that has left fails the write (EPIPE), as any failed write
    // does. Answers the error.
    std::error_code write(const std::string& text);

private:
    std::filesystem::path m_path;         // as named
    std::optional<fileio::Entry> m_entry; // the file written, its links followed
    fileio::Descriptor m_node;            // the FIFO or device, open
};

// Writes the report of a scenario that played, to `file` or, where it is null, to standard output,
// once the sandbox is found to be the folder it played in. Answers the exit status: 0 for a
// report written, 4 for one not written, with a message on `messages` saying why (a sandbox moved
// or exchanged during the play, a file the rules refuse, a reader that left, a failed write).
int deliverReport(const std::string& report, ReportFile* file, const Sandbox& sandbox,
                  std::ostream& messages);

} // namespace hostsim
