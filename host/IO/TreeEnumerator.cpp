#include "IO/TreeEnumerator.hpp"

#include "IO/Folder.hpp"
#include "IO/Internal.hpp"
#include "sim/Sim.h"

#include <algorithm>
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
    if (GSErrCode err = root.GetStatus()) {
        return err;
    }
    GSErrCode err = walk(root);
    m_current = nullptr;
    m_walking.clear();
    return err;
}

GSErrCode TreeEnumerator::walk(const Folder& folder) {
    Location location;
    folder.GetLocation(&location);
    std::filesystem::path path = internal::pathOf(location);
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    if (ec) {
        return internal::errorFromCode(ec);
    }
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    if (ec) {
        return internal::errorFromCode(ec);
    }
    std::sort(names.begin(), names.end());
    m_walking.insert(resolved);

    GSErrCode result = NoError;
    for (const std::string& text : names) {
        if (m_stopped) {
            break;
        }
        m_current = &folder;
        Name name = internal::makeName(text);
        std::filesystem::path entry = path / text;
        bool isLink = std::filesystem::is_symlink(std::filesystem::symlink_status(entry, ec));
        std::filesystem::file_status status = std::filesystem::status(entry, ec);
        bool isFolder = std::filesystem::is_directory(status);
        if (!EntryFound(name, isFolder) || m_stopped) {
            continue;
        }
        if (isLink) {
            if (!LinkFound(name) || m_stopped || !std::filesystem::exists(status)) {
                continue;
            }
            if (isFolder && m_walking.count(std::filesystem::canonical(entry, ec)) > 0) {
                continue; // a loop back into the tree being walked
            }
        }
        if (!isFolder) {
            if (!FileFound(name)) {
                m_stopped = true;
            }
            continue;
        }
        if (!FolderFound(name) || m_stopped) {
            continue;
        }
        std::unique_ptr<Folder> child(new Folder(Location(location, name), Folder::Fail));
        FolderEntered(name, *child);
        if (!m_stopped) {
            result = walk(*child);
        }
        m_current = &folder;
        FolderExited(name, *child);
        if (result != NoError) {
            break;
        }
    }
    m_walking.erase(resolved);
    return result;
}

} // namespace IO
