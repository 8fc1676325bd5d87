#include "Environment/FileList.h"

namespace zelvane {

namespace {

bool sameEntry(File const* a, File const* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    return *a == *b;
}

} // namespace

bool FileList::operator==(FileList const& other) const {
    if (size() != other.size()) {
        return false;
    }
    if (this == &other || empty()) {
        return true;
    }
    for (File const* mine : *this) {
        bool found = false;
        for (File const* theirs : other) {
            if (sameEntry(mine, theirs)) {
                found = true;
                break;
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

bool FileList::hasFile(File const& file) const {
    for (File const* entry : *this) {
        if (entry != nullptr && *entry == file) {
            return true;
        }
    }
    return false;
}

bool FileList::contains(File const& file) const {
    IO::Location location = file.getLocation();
    for (File const* entry : *this) {
        if (entry != nullptr && entry->isFolder() && entry->getLocation().IsAncestorOf(location)) {
            return true;
        }
    }
    return false;
}

} // namespace zelvane
