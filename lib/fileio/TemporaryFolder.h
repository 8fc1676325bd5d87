// A folder made for one use and removed after it, through what was made: what it holds is reached
// from its own descriptor, never by a path that could lead elsewhere by then.
#pragma once

#include "fileio/Descriptor.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <system_error>

namespace fileio {

class TemporaryFolder {
public:
    // How many random hexadecimal digits its name holds.
    static constexpr std::size_t digits = 16;

    TemporaryFolder() = default;
    // Makes a new folder in the open folder `parent` (a descriptor the object keeps a copy of),
    // named `prefix`, `digits` random hexadecimal digits and `suffix`, under a name no entry had,
    // that only its owner may enter, as mkdtemp does; `error` receives why it cannot.
    TemporaryFolder(int parent, const std::string& prefix, const std::string& suffix, std::error_code& error);
    TemporaryFolder(TemporaryFolder&& other) noexcept = default;
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept = default;
    // Removes nothing: only remove() does.
    ~TemporaryFolder() = default;

    bool made() const { return static_cast<bool>(m_folder); }
    int descriptor() const { return m_folder.get(); }
    const std::string& name() const { return m_name; }

    // Whether its name in its parent still leads to the folder made.
    bool isNamed() const noexcept;

    // What remove() does with another user's entry.
    enum class Others {
        kept,    // kept at any depth, with the folders holding it (FileError::notOwned): the folder
                 // may have been open to other users for a while
        removed, // removed too, by a maker that never opens the folder and gives entries away
                 // itself (a test harness whose tests run as root)
    };
    // Removes what the folder holds, reached through the folder itself (links removed, never
    // followed), and then the folder, while its name in its parent still leads to it and in the
    // process that made it alone (a child forked from it does not). Answers why any of it is left.
    std::error_code remove(Others others = Others::kept);
    // Removes the folder as remove() does, only where it is empty, by calls that allocate nothing
    // and that no test double fails: for a clean-up that must not fail for want of memory.
    std::error_code removeEmpty() noexcept;

private:
    // Removes the folder, empty, where remove() may; then the object holds none.
    std::error_code unname() noexcept;

    Descriptor m_parent;
    Descriptor m_folder;
    std::string m_name;
    struct stat m_made {}; // the folder's status as it was made
    pid_t m_maker = 0;
};

} // namespace fileio
