// A folder of the simulated host's made for one run and removed after it (the sandbox of a program
// that names none): a fileio::TemporaryFolder that keeps the path it was made at.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace fileio {
class TemporaryFolder;
}

namespace sim {

class TemporaryFolder {
public:
    // The folder temporary folders are made in: TMPDIR, /tmp when it is unset or empty, a relative
    // one taken from the working folder, with its links followed as the file layer follows them.
    // Throws std::runtime_error naming the folder and why when it cannot be reached, or when a user
    // other than this process's or root may rename entries in it or in a folder above it
    // (fileio::othersMayRenameIn): that user could exchange a folder made there with one of theirs.
    static std::filesystem::path defaultParent();

    // Makes a new folder in `parent` named `prefix` and random hexadecimal digits, under a name no
    // entry had, that only its owner may enter. Throws std::runtime_error naming the parent when it
    // cannot.
    TemporaryFolder(const std::filesystem::path& parent, std::string_view prefix);
    TemporaryFolder(TemporaryFolder&& other) noexcept;
    TemporaryFolder& operator=(TemporaryFolder&&) = delete;
    // Removes nothing: only remove() does.
    ~TemporaryFolder();

    const std::filesystem::path& path() const { return m_path; }

    // Removes what the folder made holds and then the folder, through what was made, by the
    // process that made it alone, while its name still leads to it, another user's entries kept
    // (fileio::TemporaryFolder). Answers a message naming the folder when any of it is left, empty
    // when all of it went.
    std::string remove();
    // Removes it as remove() does, another user's entries too: for a folder its maker never opens
    // to others, in which it gives entries away itself (the tests' own folders, as root).
    std::string removeGivenAway();

private:
    std::string remove(bool givenAway);

    std::filesystem::path m_path;
    std::unique_ptr<fileio::TemporaryFolder> m_folder;
};

} // namespace sim
