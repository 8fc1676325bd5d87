#include "fileio/FileError.h"

#include <cerrno>
#include <string>

namespace fileio {
namespace {

class FileCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "file rules"; }
    std::string message(int value) const override {
        switch (FileError(value)) {
        case FileError::linkNotFollowed:
            return "it leads through another user's link in a folder other users may write, which is not "
                   "followed";
        case FileError::notOwned:
            return "it is another user's, in a folder other users may write, and may have been put there to "
                   "be taken for this user's";
        case FileError::notWritable:
            return "its permissions do not let this user write it";
        case FileError::notReadable:
            return "its permissions do not let this user read it";
        case FileError::notReplaceable:
            return "it is another user's file in a sticky folder, where only its owner may replace it";
        case FileError::noReader:
            return "it is a FIFO that no process reads";
        case FileError::changed:
            return "another entry was put at its name while it was used";
        case FileError::notMaker:
            return "another process made it, and that process removes it";
        case FileError::otherNames:
            return "it has more than one name, in a folder other users may write, and may be another "
                   "user's name for a file of this user's elsewhere";
        case FileError::notPlayersFolder:
            return "it is another user's entry, which does not hold this user's files";
        case FileError::exposedWay:
            return "its way passes through a folder in which other users may rename entries, and so may "
                   "lead elsewhere at its next use";
        case FileError::notAsRead:
            return "it is no longer the file that was read: another entry stands at its name, or none, or "
                   "it was changed since";
        }
        return "unknown file error " + std::to_string(value);
    }
    std::error_condition default_error_condition(int value) const noexcept override {
        switch (FileError(value)) {
        case FileError::noReader:
            return std::errc::no_such_device_or_address;
        case FileError::changed:
        case FileError::notAsRead:
            return std::errc::resource_unavailable_try_again;
        default:
            return std::errc::permission_denied;
        }
    }
};

class InjectedCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "injected"; }
    std::string message(int value) const override { return "injected failure " + std::to_string(value); }
    std::error_condition default_error_condition(int) const noexcept override { return std::errc::io_error; }
};

} // namespace

const std::error_category& fileCategory() {
    static const FileCategory category;
    return category;
}

std::error_code make_error_code(FileError error) {
    return std::error_code(int(error), fileCategory());
}

const std::error_category& injectedCategory() {
    static const InjectedCategory category;
    return category;
}

Failure failureOf(const std::error_code& error) {
    if (!error) {
        return Failure::none;
    }
    if (error.category() == injectedCategory()) {
        return Failure::injected;
    }
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() != std::generic_category()) {
        return Failure::io;
    }
    switch (condition.value()) {
    case ENOENT:
    case ENOTDIR:
        return Failure::notFound;
    case EEXIST:
    case ENOTEMPTY:
        return Failure::exists;
    case EACCES:
    case EPERM:
    case EROFS:
        return Failure::permission;
    case EINVAL:
    case ENAMETOOLONG:
        return Failure::param;
    default:
        return Failure::io;
    }
}

int codeOf(const std::error_code& error, const FailureCodes& codes) {
    switch (failureOf(error)) {
    case Failure::none:
        return codes.none;
    case Failure::notFound:
        return codes.notFound;
    case Failure::exists:
        return codes.exists;
    case Failure::permission:
        return codes.permission;
    case Failure::param:
        return codes.param;
    case Failure::injected:
        return error.value();
    case Failure::io:
        break;
    }
    return codes.io;
}

} // namespace fileio
