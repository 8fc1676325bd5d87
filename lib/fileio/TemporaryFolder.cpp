#include "fileio/TemporaryFolder.h"

#include "fileio/Faults.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <vector>

namespace fileio {

using internal::lastError;

std::string internal::randomHex(std::size_t digits) {
    static const char hex[] = "0123456789abcdef";
    std::random_device source;
    std::string text;
    while (text.size() < digits) {
        for (unsigned int bits = source(), left = 8; left > 0 && text.size() < digits; --left, bits >>= 4) {
            text += hex[bits & 0xF];
        }
    }
    return text;
}

TemporaryFolder::TemporaryFolder(int parent, const std::string& prefix, const std::string& suffix,
                                 std::error_code& error) {
    error.clear();
    m_parent.reset(::fcntl(parent, F_DUPFD_CLOEXEC, 0));
    if (!m_parent) {
        error = lastError();
        return;
    }
    for (int attempt = 0;; ++attempt) {
        if ((error = injectedFault(Call::makeFolder, m_parent.get()))) {
            return;
        }
        m_name = prefix + internal::randomHex(digits) + suffix;
        if (::mkdirat(m_parent.get(), m_name.c_str(), 0700) == 0) {
            break;
        }
        if (errno != EEXIST || attempt == 100) {
            error = lastError();
            return;
        }
    }
    // Taken only as a folder of the player's that no one else may enter: where other users may
    // rename entries of the parent, another may have been put under the name since it was made.
    Descriptor made(
        ::openat(m_parent.get(), m_name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!made || ::fstat(made.get(), &info) != 0) {
        error = lastError();
        return;
    }
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        error = FileError::changed;
        return;
    }
    m_folder = std::move(made);
    m_made = info;
    m_maker = ::getpid();
}

bool TemporaryFolder::isNamed() const noexcept {
    struct stat now {};
    return m_folder && ::fstatat(m_parent.get(), m_name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
           sameNode(now, m_made);
}

std::error_code TemporaryFolder::remove(Others others) {
    if (!m_folder) {
        return {};
    }
    // A child forked from the maker leaves it to the maker, which may still use it.
    if (::getpid() != m_maker) {
        return FileError::notMaker;
    }
    // Private now is no sign that it always was: another user's entry in it was put there while it
    // was open to others (in one never open, only root could have put it), and stays theirs.
    std::error_code failure =
        others == Others::kept ? removeOwnContents(m_folder.get()) : internal::removeAll(m_folder.get());
    if (!failure) {
        failure = injectedFault(Call::remove, m_parent.get());
    }
    if (!failure) {
        return unname();
    }
    m_folder.reset();
    m_parent.reset();
    return failure;
}

std::error_code TemporaryFolder::removeEmpty() noexcept {
    if (!m_folder) {
        return {};
    }
    return ::getpid() != m_maker ? make_error_code(FileError::notMaker) : unname();
}

std::error_code TemporaryFolder::unname() noexcept {
    std::error_code failure;
    if (!isNamed()) {
        failure = make_error_code(FileError::changed);
    } else if (::unlinkat(m_parent.get(), m_name.c_str(), AT_REMOVEDIR) != 0) {
        failure = lastError();
    }
    m_folder.reset();
    m_parent.reset();
    return failure;
}

} // namespace fileio
