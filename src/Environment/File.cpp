#include "Environment/File.h"

#include "IO/FileSystem.hpp"
#include "IO/Name.hpp"

#include <string>
#include <sys/stat.h>

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
    m_lastError = IO::fileSystem.Rename(location, IO::Name(name.data()), IO::FileSystem::KeepExisting);
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
    String path = getPathName();
    if (!path.empty()) {
        ::chmod(path.data(), 0777);
    }
}

} // namespace zelvane
