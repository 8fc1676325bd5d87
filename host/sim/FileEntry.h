// How the simulated host and hostsim reach a file they read or write: folder by folder through
// descriptors, so that a folder renamed meanwhile leads nowhere else, following a link only where
// no other user may have put it: in a folder that no user but the process's and root may write, or
// a link that the process's user or root owns. Another user's link in a shared folder could
// otherwise lead a write to any file of the user's.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace sim {

// Why the simulated host or hostsim leaves a file alone, beside the system's errors.
enum class FileError {
    linkNotFollowed = 1, // another user's link in a folder other users may write
    notWritable,         // a file whose mode does not let the user write it
    notReplaceable,      // another user's file in a sticky folder that is not the user's either
    noReader,            // a FIFO that no process reads
};
const std::error_category& fileCategory();
std::error_code make_error_code(FileError error);

} // namespace sim

namespace std {
template <>
struct is_error_code_enum<sim::FileError> : true_type {};
} // namespace std

namespace sim {

class FileEntry {
public:
    // Follows the links of `path` (relative to the working folder) to the entry they name, a
    // dangling one too. With `followLast` false, a link at the end is the entry itself, as an
    // entry to rename or remove is.
    explicit FileEntry(const std::filesystem::path& path, bool followLast = true);
    FileEntry(FileEntry&& other) noexcept;
    FileEntry& operator=(FileEntry&&) = delete;
    ~FileEntry();

    // Why the path could not be followed: a link not followed (FileError::linkNotFollowed), a
    // chain of links without end, a folder that cannot be searched. A missing entry is no error.
    const std::error_code& error() const { return m_error; }
    // Where the path leads, its links resolved; the part below a missing folder as it is named.
    const std::filesystem::path& path() const { return m_path; }

    // The folder holding the entry, open; -1 when a folder on the way is missing (or is a file),
    // and then `missing()` says which of the two.
    int folder() const { return m_folder; }
    std::error_code missing() const;
    // The entry's name in its folder: "." for a path naming a folder itself.
    const std::string& name() const { return m_name; }

    // The entry's status (that of a link itself when it is one, with `followLast` false); false,
    // with errno set, when there is none.
    bool status(struct stat& info) const;
    // Opens the entry (openat), never following a link at its end: answers the descriptor, or -1
    // with errno set. A link of /proc that names an open file rather than a path (a pipe, a
    // socket), as /dev/stdout may, is opened as the system follows it.
    int open(int flags, mode_t mode = 0) const;

private:
    std::error_code walk(const std::filesystem::path& path, bool followLast);

    std::filesystem::path m_path;
    std::error_code m_error;
    int m_folder = -1;
    int m_missing = 0; // ENOENT or ENOTDIR when a folder on the way is missing
    std::string m_name;
    bool m_openFile = false; // a link of /proc that names an open file
};

} // namespace sim
