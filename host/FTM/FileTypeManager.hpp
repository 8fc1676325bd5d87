// The file-type manager: named tables of file types (a description, an extension and the
// Macintosh type and creator codes), each type known by a TypeID unique across every manager.
// Managers of the same name share one table.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <string>

namespace FTM {

using TypeID = UInt32;
using GroupID = UInt32;

constexpr TypeID UnknownType = 0;
constexpr GroupID RootGroup = 0;

struct FileType {
    std::string description;
    std::string extension; // without the dot
    UInt32 macType = 0;
    UInt32 macCreator = 0;
};

class FileTypeManager {
public:
    explicit FileTypeManager(const char* name);

    // The type of that extension (compared without regard to ASCII case) in this manager;
    // UnknownType when there is none.
    TypeID FindType(const FileType& type) const;
    // Adds a type to a group of this manager; a type of the same extension already there is
    // answered instead. UnknownType for an empty extension or an unknown group.
    TypeID AddType(const FileType& type, GroupID group = RootGroup);

    // A type of any manager; null for an unknown ID.
    static const FileType* GetType(TypeID id);

private:
    std::string m_name;
};

} // namespace FTM
