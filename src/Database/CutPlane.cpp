#include "Database/CutPlane.h"

#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/CutPlaneReference.h"

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

namespace {

// Takes the markers on the floor plan that open one database.
class IsCutPlaneRef : public Drawing::Filter {
public:
    IsCutPlaneRef(UInt8 type, const DatabaseGuid& id) : Filter(element_id(type), false), m_id(id) {}
    Filter* clone() const override { return new IsCutPlaneRef(*this); }
    bool isAccepted(const Element& element) const override {
        const auto* marker = dynamic_cast<const CutPlaneReference*>(&element);
        return marker != nullptr && marker->getDatabaseID() == m_id;
    }

private:
    DatabaseGuid m_id;
};

// Takes the element a link names, by GUID, whether seen directly or through a proxy (every kind,
// proxies resolved). The GUID is tested on the link, so walks load nothing else.
class IsElementProxy : public Drawing::Filter {
public:
    explicit IsElementProxy(const ElementLink& link) : Filter(false), m_link(link) {}
    Filter* clone() const override { return new IsElementProxy(*this); }
    bool isAccepted(const Element& element) const override { return isLinkAccepted(element.getLink()); }
    bool hasLinkTest() const override { return true; }
    bool isLinkAccepted(const ElementLink& link) const override {
        return link.getUniqueID() == m_link.getUniqueID();
    }

private:
    ElementLink m_link;
};

} // namespace

CutPlaneReference* CutPlane::getPlanReference() {
    Project* project = getProject();
    if (project == nullptr) {
        return nullptr;
    }
    auto it = project->getFloorPlan()->begin(false, IsCutPlaneRef(getRefType(), getID()));
    return it.atEnd() ? nullptr : static_cast<CutPlaneReference*>(it.release());
}

ElementLink CutPlane::findElementProxy(const ElementLink& link) {
    ElementLinkList shown;
    getLinksMatching(IsElementProxy(link), &shown);
    if (shown.size() == 0) {
        return ElementLink();
    }
    ElementLink seen(*shown[0]);
    return sourceActualElement(true, seen) ? seen : ElementLink();
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
