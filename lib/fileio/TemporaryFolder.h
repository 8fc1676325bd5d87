// A folder made for one use and removed after it, through what was made: what it holds is reached
// from its own descriptor, never by a path that could lead elsewhere by then.
#pragma once

#include "fileio/Descriptor.h"

#include <sys/types.h>

#include <string>
#include <system_error>

namespace fileio {

class TemporaryFolder {
public:
    TemporaryFolder() = default;
    // Makes a new folder in the open folder `parent` (a descriptor the object keeps a copy of),
    // named `prefix`, random hexadecimal digits and `suffix`, under a name no entry had, that only
    // its owner may enter, as mkdtemp does; `error` receives why it cannot.
    TemporaryFolder(int parent, const std::string& prefix, const std::string& suffix, std::error_code& error);
    TemporaryFolder(TemporaryFolder&& other) noexcept = default;
    TemporaryFolder& operator=(TemporaryFolder&& other) noexcept = default;
    // Removes nothing: only remove() does.
    ~TemporaryFolder() = default;

    bool made() const { return static_cast<bool>(m_folder); }
    int descriptor() const { return m_folder.get(); }
    const std::string& name() const { return m_name; }

    // Whether its name in its parent still leads to the folder made.
    bool isNamed() const;
    // Removes what the folder holds, reached through the folder itself (links removed, never
    // followed), and then the folder, while its name in its parent still leads to it and in the
    // process that made it alone (a child forked from it does not). Answers why any of it is left.
    std::error_code remove();

private:
    Descriptor m_parent;
    Descriptor m_folder;
    std::string m_name;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    pid_t m_maker = 0;
};

} // namespace fileio
