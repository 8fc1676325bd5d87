#include "Database/CutPlane.h"

#include "Database/ElementLinkList.h"

#include <unordered_map>

namespace zelvane {

namespace {

struct GuidHash {
    std::size_t operator()(const Guid& guid) const {
        return std::hash<std::uint64_t>()(guid.getHigh() ^ guid.getLow());
    }
};

} // namespace

Element* CutPlane::operator[](const ElementLink& link) {
    if (link.getSourceLink().getType() != 0 && link.getProxySourceLink() == getLink()) {
        Drawing* source = link.getSource();
        if (source != nullptr && source != this) {
            return (*source)[link];
        }
    }
    return Drawing::operator[](link);
}

ElementLink CutPlane::findElementProxy(const ElementLink& link) {
    ElementLinkList shown;
    getLinksMatching(Filter(false, false), &shown);
    for (const ElementLink* item : shown) {
        ElementLink seen(*item);
        if (sourceActualElement(true, seen) && seen.getUniqueID() == link.getUniqueID()) {
            return seen;
        }
    }
    return ElementLink();
}

std::size_t CutPlane::findElementProxy(const ElementLinkList& in, ElementLinkList& out) {
    std::unordered_map<Guid, bool, GuidHash> wanted; // by GUID: matched yet
    for (const ElementLink* link : in) {
        if (link != nullptr) {
            wanted.emplace(link->getUniqueID(), false);
        }
    }
    ElementLinkList shown;
    getLinksMatching(Filter(false, false), &shown);
    std::size_t appended = 0;
    for (const ElementLink* item : shown) {
        if (appended >= in.size()) {
            break;
        }
        ElementLink seen(*item);
        if (!sourceActualElement(true, seen)) {
            continue;
        }
        auto it = wanted.find(seen.getUniqueID());
        if (it != wanted.end() && !it->second) {
            it->second = true;
            out.push_back(seen.clone());
            ++appended;
        }
    }
    return appended;
}

} // namespace zelvane
