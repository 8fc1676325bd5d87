#include "Environment/File.h"

#include "Environment/Time.h"
#include "GSRoot/Time.hpp"
#include "IO/File.hpp"
#include "IO/Folder.hpp"
#include "IO/Name.hpp"
#include "fileio/Entry.h"
#include "fileio/FileError.h"

#include <string>

namespace zelvane {

namespace {

String fromHostText(std::string const& text) {
    return String(text.c_str(), static_cast<unsigned int>(text.size()));
}

} // namespace

File::~File() = default;

String File::getName() const {
    IO::Location location = getLocation();
    IO::Name name;
    if (location.GetLastLocalName(&name) != NoError) {
        return String();
    }
    String result(name);
    if (result == "rfs") {
        if (location.DeleteLastLocalName() != NoError || location.GetLastLocalName(&name) != NoError) {
            return String();
        }
        result = String(name);
    }
    return result;
}

String File::getExtension() const {
    IO::Name name;
    IO::Name extension;
    if (getLocation().GetLastLocalName(&name) != NoError || name.GetExtension(&extension) != NoError) {
        return String();
    }
    return String(extension);
}

String File::getVolumeName() const {
    return String();
}

String File::getPathName() const {
    std::string path;
    if (getLocation().ToPath(&path) != NoError) {
        return String();
    }
    if (isFolder() && (path.empty() || path.back() != '/')) {
        path += '/';
    }
    return fromHostText(path);
}

String File::getURL() const {
    std::string url;
    if (getLocation().ToURL(&url) != NoError) {
        return String();
    }
    if (isFolder() && (url.empty() || url.back() != '/')) {
        url += '/';
    }
    return fromHostText(url);
}

int File::getLastError() const {
    return m_lastError;
}

bool File::setName(String const& name) {
    IO::Location location = getLocation();
    const std::string path = entryPath();
    // The entry itself is renamed (a link at its name as the link), in one step that keeps an
    // entry standing at the new name.
    if (path.empty()) {
        m_lastError = ErrParam;
    } else {
        keepFailure(
            walk(path, fileio::Entry::keepLink).renameTo(std::string(name.data(), name.dataLength()), false));
    }
    if (m_lastError != NoError) {
        return false;
    }
    // Follow the entry to its new name, so the object does not point at the old one.
    IO::Location renamed = location;
    if (renamed.DeleteLastLocalName() == NoError && renamed.AppendToLocal(IO::Name(name.data())) == NoError) {
        setLocation(renamed);
    }
    return m_lastError == NoError;
}

int File::setPathName(String const& path) {
    return setLocation(IO::Location(path.data()));
}

bool File::operator==(File const& other) const {
    std::string mine;
    std::string theirs;
    getLocation().ToURL(&mine);
    other.getLocation().ToURL(&theirs);
    return fromHostText(mine) == fromHostText(theirs);
}

void File::allowFullAccess() const {
    // A folder keeps its sticky bit: in a folder every user may write, it keeps each user's
    // entries from being renamed or removed by the others. It keeps its set-group-ID bit too, which
    // gives the entries made in it the folder's group. A file drops both set-ID bits.
    changeAccess(isFolder() ? S_ISVTX | S_ISGID : 0, 0777);
}

void File::allowOwnerAccess() const {
    changeAccess(07777, isFolder() ? 0700 : 0600);
}

std::string File::entryPath() const {
    const String named = getPathName();
    std::string path(named.data(), named.dataLength());
    // A folder's path ends with "/"; the entry is the folder itself.
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

fileio::Entry File::walk(std::string const& path, fileio::Entry::Last last) const {
    fileio::Entry entry(path, last,
                        m_inPlayersFolder ? fileio::Entry::Folders::players : fileio::Entry::Folders::any);
    const bool refused = entry.error() == fileio::FileError::notPlayersFolder;
    m_refusedFolder = refused ? entry.path() : std::string();
    // The folder holding what was walked is a file's own folder, and a folder's own where what was
    // walked lies right in it.
    const std::size_t slash = path.rfind('/');
    const bool inThisFolder = slash != std::string::npos && path.substr(0, slash) == entryPath();
    m_refusedOwn = refused && entry.refusedItsFolder() && (!isFolder() || inThisFolder);
    return entry;
}

void File::keepFailure(std::error_code const& error, fileio::Entry const* entry) const {
    m_lastError = errorOf(error);
    m_failure = error;
    if (error != fileio::FileError::notPlayersFolder) {
        m_refusedFolder.clear();
        m_refusedOwn = false;
    } else if (m_refusedFolder.empty() && entry != nullptr) {
        // Refused by a call on the entry walked, a folder's make: the entry itself.
        m_refusedFolder = entry->path();
        m_refusedOwn = isFolder();
    }
}

String File::whyFailed() const {
    if (m_lastError == NoError) {
        return String();
    }
    // A failure the host injected into the file layer is the host's code, told as the host's.
    if (m_failure && m_failure.category() != fileio::injectedCategory() &&
        errorOf(m_failure) == m_lastError) {
        return String(m_failure.message().c_str());
    }
    return describeError(m_lastError);
}

String File::describeError(int code) {
    std::errc condition;
    switch (code) {
    case NoError:
        return String();
    case ErrNotFound:
        condition = std::errc::no_such_file_or_directory;
        break;
    case ErrExists:
        condition = std::errc::file_exists;
        break;
    case ErrPermission:
        condition = std::errc::permission_denied;
        break;
    case ErrParam:
        condition = std::errc::invalid_argument;
        break;
    case ErrIO:
        condition = std::errc::io_error;
        break;
    case ErrEOF:
        return String("it ended before what was to be read");
    default:
        return String(("host error " + std::to_string(code)).c_str());
    }
    return String(std::make_error_code(condition).message().c_str());
}

void File::changeAccess(unsigned int kept, unsigned int added) const {
    const std::string path = entryPath();
    if (!path.empty()) {
        walk(path).changeMode(mode_t(kept), mode_t(added), nullptr, owners());
    }
}

int File::errorOf(std::error_code const& error) {
    return fileio::codeOf(error, {NoError, ErrNotFound, ErrExists, ErrPermission, ErrParam, ErrIO});
}

template <typename Entry>
IO::Location File::locationOf(Entry const* entry) {
    IO::Location location;
    if (entry != nullptr) {
        entry->GetLocation(&location);
    }
    return location;
}

template <typename Entry>
Time File::modificationTimeOf(Entry const* entry) const {
    if (entry == nullptr) {
        return Time(false);
    }
    GSTime time = 0;
    // The host tells the time, as its own calls see it.
    m_lastError = entry->GetModificationTime(&time);
    GSTimeRecord record;
    if (m_lastError != NoError || TIGetTimeRecord(time, &record, TI_LOCAL_TIME) != NoError) {
        return Time(false);
    }
    return Time(record);
}

template IO::Location File::locationOf(IO::File const*);
template IO::Location File::locationOf(IO::Folder const*);
template Time File::modificationTimeOf(IO::File const*) const;
template Time File::modificationTimeOf(IO::Folder const*) const;

bool File::locationIn(IO::Folder const* folder, String const& name, IO::Location& location) {
    if (folder == nullptr) {
        m_lastError = ErrParam;
        return false;
    }
    location = IO::Location(locationOf(folder), IO::Name(name.data()));
    return true;
}

} // namespace zelvane
