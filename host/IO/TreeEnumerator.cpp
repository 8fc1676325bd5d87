#include "IO/TreeEnumerator.hpp"

#include "IO/Folder.hpp"
#include "IO/Internal.hpp"
#include "fileio/Folders.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

namespace IO {

TreeEnumerator::~TreeEnumerator() = default;

bool TreeEnumerator::EntryFound(const Name&, bool) {
    return true;
}

bool TreeEnumerator::FileFound(const Name&) {
    return true;
}

bool TreeEnumerator::FolderFound(const Name&) {
    return false;
}

bool TreeEnumerator::LinkFound(const Name&) {
    return false;
}

void TreeEnumerator::FolderEntered(const Name&, const Folder&) {}

void TreeEnumerator::FolderExited(const Name&, const Folder&) {}

GSErrCode TreeEnumerator::Enumerate(const Folder& root) {
    if (GSErrCode err = sim::enter("IO::TreeEnumerator::Enumerate")) {
        return err;
    }
    m_stopped = false;
    m_walking.clear();
    Location location;
    root.GetLocation(&location);
    fileio::Descriptor folder;
    if (!location.IsEmpty()) {
        const fileio::Entry entry = internal::entryOf(location);
        struct stat info {};
        if (entry.status(info) && S_ISDIR(info.st_mode)) {
            folder.reset(entry.open(O_RDONLY | O_DIRECTORY));
        }
    }
    if (!folder) {
        const int failure = errno;
        if (GSErrCode err = root.GetStatus()) {
            return err;
        }
        return internal::errorFromErrno(failure);
    }
    GSErrCode err = walk(root, folder.get());
    m_current = nullptr;
    m_walking.clear();
    return err;
}

GSErrCode TreeEnumerator::walk(const Folder& folder, int fd) {
    Location location;
    folder.GetLocation(&location);
    struct stat self {};
    if (::fstat(fd, &self) != 0) {
        return internal::errorFromErrno(errno);
    }
    std::vector<std::string> names;
    if (const std::error_code listed = fileio::listNames(fd, names)) {
        return internal::errorFromCode(listed);
    }
    m_walking.insert({self.st_dev, self.st_ino});

    GSErrCode result = NoError;
    for (const std::string& text : names) {
        if (m_stopped) {
            break;
        }
        m_current = &folder;
        Name name = internal::makeName(text);
        const Location place(location, name);
        const fileio::Entry here(fd, text);
        struct stat info {};
        bool exists = here.status(info);
        const bool isLink = exists && S_ISLNK(info.st_mode);
        // A link is followed as the file layer follows one: walked from the root, and another
        // user's where they may have put it not at all.
        std::unique_ptr<fileio::Entry> target;
        if (isLink) {
            target = std::make_unique<fileio::Entry>(internal::pathOf(place).string());
            exists = !target->error() && target->status(info);
        }
        const bool isFolder = exists && S_ISDIR(info.st_mode);
        if (!EntryFound(name, isFolder) || m_stopped) {
            continue;
        }
        if (isLink) {
            if (!LinkFound(name) || m_stopped || !exists) {
                continue;
            }
            if (isFolder && m_walking.count({info.st_dev, info.st_ino}) > 0) {
                continue; // a loop back into the tree being walked
            }
        }
        if (!isFolder) {
            if (!FileFound(name)) {
                m_stopped = true;
            }
            continue;
        }
        if (!FolderFound(name) || m_stopped) {
            continue;
        }
        const fileio::Descriptor inner((isLink ? *target : here).open(O_RDONLY | O_DIRECTORY));
        const int openError = errno;
        std::unique_ptr<Folder> child(new Folder(place, Folder::Fail));
        FolderEntered(name, *child);
        if (!m_stopped) {
            result = inner ? walk(*child, inner.get()) : internal::errorFromErrno(openError);
        }
        m_current = &folder;
        FolderExited(name, *child);
        if (result != NoError) {
            break;
        }
    }
    m_walking.erase({self.st_dev, self.st_ino});
    return result;
}

} // namespace IO
