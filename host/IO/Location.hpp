// A place in the file system: an absolute, normalised path (UTF-8, "/" between names). An empty
// location names nothing and every query on it fails with ErrParam.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <string>

namespace IO {

class Name;

class Location {
public:
    Location() = default;
    // From path text: an absolute path, or a path relative to the current folder; "." and ".."
    // steps are resolved. Empty text gives an empty location.
    explicit Location(const char* path);
    // The entry of that name inside a folder location (empty when the name cannot name an entry).
    Location(const Location& folder, const Name& localName);

    bool IsEmpty() const { return m_path.empty(); }

    // The path text; a folder's path does not end with "/" (except the root, "/").
    GSErrCode ToPath(std::string* path) const;
    // "file://" followed by the path, every byte outside letters, digits, "-._~/" percent-encoded.
    GSErrCode ToURL(std::string* url) const;

    GSErrCode GetLastLocalName(Name* name) const;
    GSErrCode DeleteLastLocalName();
    GSErrCode AppendToLocal(const Name& name);

    // True when this location is a folder path strictly above other ("/a" is an ancestor of
    // "/a/b/c", not of "/a" nor of "/ab").
    bool IsAncestorOf(const Location& other) const;

    bool operator==(const Location& other) const { return m_path == other.m_path; }
    bool operator!=(const Location& other) const { return m_path != other.m_path; }

private:
    std::string m_path;
};

} // namespace IO
