#include "fileio/Folders.h"

#include "fileio/Faults.h"
#include "fileio/FileError.h"
#include "fileio/Internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace fileio {

using internal::lastError;

namespace {

// One walk down a tree: the folders being walked, and whether it was stopped.
class Walker {
public:
    explicit Walker(const TreeWalk& walk) : m_walk(walk) {}

    // Walks the open folder `folder`, which lies at `below` in the tree ("" for its top).
    std::error_code walk(int folder, const std::string& below) {
        struct stat self {};
        std::vector<std::string> names;
        if (::fstat(folder, &self) != 0) {
            return lastError();
        }
        if (const std::error_code error = listNames(folder, names)) {
            return error;
        }
        m_walking.push_back(self);
        for (const std::string& name : names) {
            struct stat info {};
            if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
                continue; // gone since it was listed
            }
            const std::string path = below.empty() ? name : below + "/" + name;
            const TreeEntry entry{folder, self, name, path, info};
            Descriptor inner;
            const Step step = m_walk.found(entry, inner);
            if (step == Step::enter) {
                enter(entry, inner);
            }
            if (step == Step::stop || m_stopped) {
                m_stopped = true;
                break;
            }
        }
        m_walking.pop_back();
        return {};
    }

private:
    void enter(const TreeEntry& entry, Descriptor& inner) {
        if (!inner) {
            inner.reset(
                ::openat(entry.folder, entry.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        }
        struct stat info {};
        std::error_code error = inner && ::fstat(inner.get(), &info) == 0 ? std::error_code() : lastError();
        // A folder reached again through a link would be walked without end.
        if (!error && std::any_of(m_walking.begin(), m_walking.end(),
                                  [&info](const struct stat& walking) { return sameNode(walking, info); })) {
            error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
        }
        if (!error) {
            error = walk(inner.get(), entry.path);
        }
        inner.reset();
        if (m_walk.left && m_walk.left(entry, error) == Step::stop) {
            m_stopped = true;
        }
    }

    const TreeWalk& m_walk;
    std::vector<struct stat> m_walking;
    bool m_stopped = false;
};

// Removes what the open folder `folder` holds, at any depth, but the entries `kept` answers true
// for and the folders holding them (FileError::notOwned). Answers the first failure; the rest is
// still removed.
std::error_code removeKeeping(int folder, const std::function<bool(const TreeEntry& entry)>& kept) {
    std::error_code failure;
    auto failed = [&failure](const std::error_code& error) {
        if (error && !failure) {
            failure = error;
        }
    };
    auto remove = [&failed](const TreeEntry& entry, int how) {
        std::error_code removed = injectedFault(Call::remove, entry.folder);
        if (!removed && ::unlinkat(entry.folder, entry.name.c_str(), how) != 0) {
            removed = lastError();
        }
        failed(removed);
    };
    TreeWalk walk;
    walk.found = [&](const TreeEntry& entry, Descriptor&) {
        if (kept(entry)) {
            failed(FileError::notOwned);
            return Step::next;
        }
        if (S_ISDIR(entry.status.st_mode)) {
            return Step::enter;
        }
        remove(entry, 0);
        return Step::next;
    };
    walk.left = [&](const TreeEntry& entry, const std::error_code& error) {
        error ? failed(error) : remove(entry, AT_REMOVEDIR);
        return Step::next;
    };
    failed(walkTree(folder, walk));
    return failure;
}

} // namespace

std::error_code listNames(int folder, std::vector<std::string>& names) {
    names.clear();
    // Closed however the listing ends, an allocation that fails included.
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(
        ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)), &::closedir);
    if (listing == nullptr) {
        return lastError();
    }
    errno = 0;
    while (const dirent* found = ::readdir(listing.get())) {
        const std::string name = found->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    const std::error_code error = errno != 0 ? lastError() : std::error_code();
    std::sort(names.begin(), names.end());
    return error;
}

std::error_code walkTree(int top, const TreeWalk& walk) {
    return Walker(walk).walk(top, "");
}

std::error_code removeContents(int folder, Owners owners) {
    // Another user's entry where other users may write is theirs to keep, as removing it alone
    // would keep it; the folders holding it stay.
    return removeKeeping(folder, [owners](const TreeEntry& entry) {
        return !mayTake(entry.folderStatus, entry.status, owners);
    });
}

std::error_code removeOwnContents(int folder) {
    return removeKeeping(folder, [](const TreeEntry& entry) { return !isPlayerOrRoot(entry.status.st_uid); });
}

std::error_code internal::removeAll(int folder) {
    return removeKeeping(folder, [](const TreeEntry&) { return false; });
}

std::error_code walkUp(int folder, const std::function<bool(int held, const struct stat& status)>& visit) {
    Descriptor at(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    struct stat info {};
    if (!at || ::fstat(at.get(), &info) != 0) {
        return lastError();
    }
    while (visit(at.get(), info)) {
        Descriptor up(::openat(at.get(), "..", internal::searchFlags));
        struct stat above {};
        if (!up || ::fstat(up.get(), &above) != 0) {
            return lastError();
        }
        if (sameNode(above, info)) {
            break; // the root, its own parent
        }
        at = std::move(up);
        info = above;
    }
    return {};
}

bool liesWithin(int folder, int outer) {
    struct stat top {};
    bool within = false;
    if (::fstat(outer, &top) == 0) {
        walkUp(folder, [&top, &within](int, const struct stat& info) {
            within = sameNode(info, top);
            return !within;
        });
    }
    return within;
}

} // namespace fileio
