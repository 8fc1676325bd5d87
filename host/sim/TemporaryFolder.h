// A folder of the simulated host's made for one run and removed after it: the sandbox of a
// program that names none.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace sim {

class TemporaryFolder {
public:
    // The folder temporary folders are made in: TMPDIR, /tmp when it is unset or empty, a relative
    // one taken from the working folder, with its links followed. Throws std::runtime_error, saying
    // why, when a user other than this process's or root may rename entries in it or in a folder
    // above it: that user could exchange a folder made there with one of ours.
    static std::filesystem::path defaultParent();

    // Makes a new folder in `parent` named `prefix` and six characters, under a name no entry had,
    // that only its owner may enter. Throws std::runtime_error naming the parent when it cannot.
    TemporaryFolder(const std::filesystem::path& parent, std::string_view prefix);
    TemporaryFolder(TemporaryFolder&& other) noexcept;
    TemporaryFolder& operator=(TemporaryFolder&&) = delete;
    // Removes nothing: only remove() does.
    ~TemporaryFolder();

    const std::filesystem::path& path() const { return m_path; }

    // Removes what the folder made holds, reached through the folder itself, and then the folder,
    // when its name in its parent still leads to it: a name looked up again could lead to another
    // folder by now. Links are removed, never followed. Answers a message naming the folder when
    // any of it is left, empty when all of it went.
    std::string remove();

private:
    std::filesystem::path m_path;
    int m_parent = -1; // the parent folder, open
    int m_folder = -1; // the folder made, open
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

} // namespace sim
