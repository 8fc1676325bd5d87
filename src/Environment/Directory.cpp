#include "Environment/Directory.h"

#include "Environment/DataFile.h"
#include "Environment/FileWalker.h"
#include "Environment/SearchString.h"
#include "Environment/Time.h"
#include "IO/FileSystem.hpp"
#include "IO/Folder.hpp"
#include "IO/Name.hpp"
#include "MacOS/Folders.hpp"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Rules.h"

#include <sys/stat.h>

#include <vector>

namespace zelvane {

namespace {

// Looks for an entry name that matches a pattern and stops at the first.
class FileNameFinder : public FileWalker {
public:
    FileNameFinder(SearchString const& pattern, bool files, bool folders)
        : m_pattern(pattern), m_files(files), m_folders(folders) {}

    void processFile(DataFile const& file) override {
        if (m_files && m_pattern == file.getName()) {
            m_found = true;
            stop();
        }
    }

    bool processDirectory(Directory const& folder) override {
        if (m_folders && m_pattern == folder.getName()) {
            m_found = true;
            stop();
        }
        return true;
    }

    bool isFound() const { return m_found; }

private:
    SearchString const& m_pattern;
    bool m_files;
    bool m_folders;
    bool m_found = false;
};

} // namespace

Directory::Directory() = default;

Directory::Directory(IO::Location const& location, bool create) {
    open(location, create);
}

Directory::Directory(String const& path, bool create) {
    open(IO::Location(path.data()), create);
}

Directory::Directory(Directory const& parent, String const& name, bool create)
    : m_holdsPlayers(parent.m_holdsPlayers) {
    setInPlayersFolder(parent.m_holdsPlayers);
    IO::Location location;
    if (locationIn(parent.getData(), name, location)) {
        open(location, create);
    }
}

Directory::Directory(FSRef const& reference) {
    std::vector<UInt8> path(4096);
    OSStatus result = FSRefMakePath(&reference, path.data(), UInt32(path.size()));
    if (result != noErr) {
        m_lastError = result;
        return;
    }
    open(IO::Location(reinterpret_cast<char const*>(path.data())), false);
}

Directory::Directory(IO::Folder const& folder) {
    open(locationOf(&folder), false);
}

Directory::Directory(Directory const& other) : File(other), m_holdsPlayers(other.m_holdsPlayers) {
    if (other.m_folder != nullptr) {
        open(other.getLocation(), false);
    }
    m_notTaken = other.m_notTaken;
}

Directory& Directory::operator=(Directory const& other) {
    if (this != &other) {
        File::operator=(other);
        m_holdsPlayers = other.m_holdsPlayers;
        m_folder.reset();
        if (other.m_folder != nullptr) {
            open(other.getLocation(), false);
        }
        m_notTaken = other.m_notTaken;
    }
    return *this;
}

Directory::~Directory() = default;

void Directory::open(IO::Location const& location, bool create) {
    m_notTaken = false;
    std::string path;
    if (create && isInPlayersFolder() && location.ToPath(&path) == NoError) {
        // Made, or found, in the folder the make holds, each the player's or root's.
        const fileio::Entry entry = walk(path);
        const std::error_code error = entry.error() ? entry.error() : entry.makeFolder();
        if (error) {
            // Named still, to be told, but not there for any use.
            m_folder.reset(new IO::Folder(location, IO::Folder::Fail));
            m_notTaken = true;
            keepFailure(error, &entry);
            return;
        }
        create = false;
    }
    GSErrCode result = NoError;
    // The host's folder object: the host's calls that enumerate, count or locate entries take it.
    m_folder.reset(IO::Folder::New(location, create ? IO::Folder::Create : IO::Folder::Fail, &result));
    m_lastError = result;
}

Directory* Directory::create(Directory const& parent, String const& name, int& error) {
    std::unique_ptr<Directory> directory(new Directory(parent, name, true));
    error = directory->getLastError();
    if (!directory->exists()) {
        return nullptr;
    }
    return directory.release();
}

bool Directory::operator==(Directory const& other) const {
    return getPathName() == other.getPathName();
}

Directory* Directory::clone() const {
    return new Directory(*this);
}

bool Directory::exists() const {
    if (m_folder == nullptr || m_notTaken) {
        return false;
    }
    m_lastError = m_folder->GetStatus();
    return m_lastError == NoError;
}

bool Directory::isFolder() const {
    return true;
}

std::error_code Directory::whyNotPlayers() const {
    const String named = getPathName();
    const fileio::Entry entry(std::string(named.data(), named.dataLength()));
    struct stat info {};
    return entry.status(info) ? fileio::whyNotPlayersFolder(info) : std::error_code();
}

String Directory::whyRefused(File const& use) const {
    const std::string& refused = use.getRefusedFolder();
    if (refused.empty()) {
        return String();
    }
    String why;
    // A folder on the way is named, for the folder taken may be the player's own.
    if (!use.isOwnFolderRefused()) {
        const std::string shown = nameAsFound(refused);
        why += "its way passes through ";
        why += String(shown.c_str(), static_cast<unsigned int>(shown.size()));
        why += ": ";
    }
    why += make_error_code(fileio::FileError::notPlayersFolder).message().c_str();
    return why;
}

String Directory::describeRefusal(File const& use) const {
    String told = getNameAsFound();
    told += ": ";
    told += whyRefused(use);
    return told;
}

String Directory::describeRefusal(std::error_code const& why) const {
    String told = getNameAsFound();
    told += ": ";
    told += why.message().c_str();
    return told;
}

String Directory::getNameAsFound() const {
    const std::string shown = nameAsFound(entryPath());
    return String(shown.c_str(), static_cast<unsigned int>(shown.size()));
}

std::string Directory::nameAsFound(std::string const& path) {
    const std::size_t last = path.rfind('/');
    const std::size_t before =
        last == std::string::npos || last == 0 ? std::string::npos : path.rfind('/', last - 1);
    return path.substr(before == std::string::npos ? 0 : before + 1);
}

IO::Location Directory::getLocation() const {
    return locationOf(m_folder.get());
}

Time Directory::getModificationTime() const {
    return modificationTimeOf(m_folder.get());
}

int Directory::setLocation(IO::Location const& location) {
    m_folder.reset();
    open(location, false);
    return m_lastError;
}

bool Directory::containsItemNamed(SearchString const& pattern, bool files, bool folders,
                                  bool recursive) const {
    if (!files && !folders) {
        return false;
    }
    FileNameFinder finder(pattern, files, folders);
    finder.traverse(*this, recursive, false);
    return finder.isFound();
}

bool Directory::erase() {
    // The host's own removal of a whole tree, which the host fails as a whole, as its callers expect.
    m_lastError = IO::fileSystem.Delete(getLocation(), IO::FileSystem::Recursive, IO::FileSystem::Permanent);
    return m_lastError == NoError;
}

IO::Folder* Directory::getData() const {
    return m_folder.get();
}

unsigned int Directory::fileCount() const {
    UInt32 count = 0;
    // The host's count of the folder's entries.
    if (m_folder == nullptr || m_folder->GetEntryCount(&count) != NoError) {
        return 0;
    }
    return count;
}

} // namespace zelvane
