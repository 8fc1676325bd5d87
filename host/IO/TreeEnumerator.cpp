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

GSErrCode TreeEnumerator::walk(const Folder& root, int fd) {
    struct stat top {};
    if (::fstat(fd, &top) != 0) {
        return internal::errorFromErrno(errno);
    }
    // The folders entered, the root first, each with its node: each entry found is the last one's.
    struct Level {
        const Folder* folder;
        std::unique_ptr<Folder> made;
        std::pair<dev_t, ino_t> node;
    };
    std::vector<Level> levels;
    levels.push_back(Level{&root, nullptr, {top.st_dev, top.st_ino}});
    m_walking.insert(levels.back().node);
    GSErrCode result = NoError;
    auto next = [this] { return m_stopped ? fileio::Step::stop : fileio::Step::next; };
    fileio::TreeWalk walk;
    walk.found = [&](const fileio::TreeEntry& found, fileio::Descriptor& inner) {
        const Folder& folder = *levels.back().folder;
        m_current = &folder;
        Location location;
        folder.GetLocation(&location);
        const Name name = internal::makeName(found.name);
        const Location place(location, name);
        struct stat info = found.status;
        bool exists = true;
        const bool isLink = S_ISLNK(info.st_mode);
        // A link is followed as the file layer follows one: walked from the root, and another
        // user's where they may have put it not at all.
        std::unique_ptr<fileio::Entry> target;
        if (isLink) {
            target = std::make_unique<fileio::Entry>(internal::pathOf(place).string());
            exists = !target->error() && target->status(info);
        }
        const bool isFolder = exists && S_ISDIR(info.st_mode);
        if (m_stopped || !EntryFound(name, isFolder) || m_stopped) {
            return next();
        }
        // A link to a folder being walked would lead back into the tree.
        if (isLink && (!LinkFound(name) || m_stopped || !exists ||
                       (isFolder && m_walking.count({info.st_dev, info.st_ino}) > 0))) {
            return next();
        }
        if (!isFolder) {
            if (!FileFound(name)) {
                m_stopped = true;
            }
            return next();
        }
        if (!FolderFound(name) || m_stopped) {
            return next();
        }
        if (isLink) {
            inner.reset(target->open(O_RDONLY | O_DIRECTORY));
        }
        const int openError = errno;
        levels.push_back(
            Level{nullptr, std::make_unique<Folder>(place, Folder::Fail), {info.st_dev, info.st_ino}});
        levels.back().folder = levels.back().made.get();
        m_walking.insert(levels.back().node);
        FolderEntered(name, *levels.back().folder);
        if (isLink && !inner) {
            // Left at once, as a folder that cannot be opened is.
            result = internal::errorFromErrno(openError);
            m_current = &folder;
            FolderExited(name, *levels.back().folder);
            levels.pop_back();
            return fileio::Step::stop;
        }
        return fileio::Step::enter;
    };
    walk.left = [&](const fileio::TreeEntry& found, const std::error_code& error) {
        const Level child = std::move(levels.back());
        levels.pop_back();
        m_walking.erase(child.node);
        m_current = levels.back().folder;
        FolderExited(internal::makeName(found.name), *child.folder);
        if (error) {
            result = internal::errorFromCode(error);
            return fileio::Step::stop;
        }
        return next();
    };
    if (const std::error_code listed = fileio::walkTree(fd, walk)) {
        result = internal::errorFromCode(listed);
    }
    m_walking.clear();
    return result;
}

} // namespace IO
