#include "FTM/FileTypeManager.hpp"

#include "sim/Sim.h"

#include <map>
#include <vector>

namespace FTM {
namespace {

struct Entry {
    std::string manager;
    FileType type;
};

struct Registry {
    std::vector<Entry> types; // TypeID n is types[n - 1]
};

Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

const bool registered = sim::registerReset([] { registry().types.clear(); });

bool sameExtension(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] - 'A' + 'a') : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

FileTypeManager::FileTypeManager(const char* name) : m_name(name != nullptr ? name : "") {}

TypeID FileTypeManager::FindType(const FileType& type) const {
    const std::vector<Entry>& types = registry().types;
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (types[i].manager == m_name && sameExtension(types[i].type.extension, type.extension)) {
            return TypeID(i + 1);
        }
    }
    return UnknownType;
}

TypeID FileTypeManager::AddType(const FileType& type, GroupID group) {
    if (sim::enter("FTM::FileTypeManager::AddType") != NoError || type.extension.empty() ||
        group != RootGroup) {
        return UnknownType;
    }
    if (TypeID found = FindType(type)) {
        return found;
    }
    registry().types.push_back(Entry{m_name, type});
    return TypeID(registry().types.size());
}

const FileType* FileTypeManager::GetType(TypeID id) {
    const std::vector<Entry>& types = registry().types;
    return id >= 1 && id <= types.size() ? &types[id - 1].type : nullptr;
}

} // namespace FTM
