#include "Database/ElementLinkList.h"

#include "Database/CutPlane.h"
#include "Element/Element.h"
#include "Environment/Memory.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>

namespace zelvane {

namespace {

// A strict order for sorting: type, subtype, then the host's GUID order.
bool sortsBefore(const ElementLink* a, const ElementLink* b) {
    if (a == nullptr || b == nullptr) {
        return a != nullptr && b == nullptr;
    }
    element_id ka = a->getType(), kb = b->getType();
    if (ka.getType() != kb.getType()) {
        return ka.getType() < kb.getType();
    }
    if (ka.getSubtype() != kb.getSubtype()) {
        return ka.getSubtype() < kb.getSubtype();
    }
    return GS::Guid(a->getUniqueID()).Compare(GS::Guid(b->getUniqueID())) < 0;
}

struct GuidHash {
    std::size_t operator()(const Guid& guid) const {
        return std::hash<std::uint64_t>()(guid.getHigh() ^ guid.getLow());
    }
};

template <typename Record, typename Make>
Record** makeHandle(const ElementLinkList& list, Make make) {
    if (list.empty()) {
        return nullptr;
    }
    char** handle = nullptr;
    try {
        handle = allocateHandle(int(list.size() * sizeof(Record)));
    } catch (const std::bad_alloc&) {
        return nullptr; // the callers report the failure
    }
    if (handle == nullptr) {
        return nullptr;
    }
    auto* records = reinterpret_cast<Record*>(*handle);
    std::size_t i = 0;
    for (const ElementLink* link : list) {
        new (&records[i++]) Record(link != nullptr ? make(*link) : Record());
    }
    return reinterpret_cast<Record**>(handle);
}

} // namespace

std::size_t ElementLinkList::append(const GS::Array<API_Guid>& guids, const Drawing& drawing) {
    reserve(size() + guids.GetSize());
    std::size_t appended = 0;
    for (const API_Guid& guid : guids) {
        auto* link = new ElementLink(Guid(guid), &drawing);
        if (!bool(link->getUniqueID()) || link->getSourceLink().getType() == 0) {
            delete link;
            continue;
        }
        push_back(link);
        ++appended;
    }
    return appended;
}

std::size_t ElementLinkList::appendOfKind(const GS::Array<API_Guid>& guids, const Drawing& drawing,
                                          const element_id& kind) {
    reserve(size() + guids.GetSize());
    std::size_t appended = 0;
    for (const API_Guid& guid : guids) {
        if (!bool(Guid(guid))) {
            continue;
        }
        auto* link = new ElementLink(kind, &drawing, 0);
        link->setUniqueID(Guid(guid));
        push_back(link);
        ++appended;
    }
    return appended;
}

std::size_t ElementLinkList::append(const ElementLinkList& other) {
    std::size_t appended = 0;
    for (const ElementLink* link : other) {
        if (link != nullptr) {
            push_back(link->clone());
            ++appended;
        }
    }
    return appended;
}

bool ElementLinkList::contains(const ElementLink& link) const {
    return std::any_of(begin(), end(),
                       [&](const ElementLink* item) { return item != nullptr && *item == link; });
}

void ElementLinkList::sort() {
    if (!m_isSorted) {
        std::stable_sort(begin(), end(), sortsBefore);
        m_isSorted = true;
    }
}

API_Elem_Head** ElementLinkList::getHeaderList(bool proxy) const {
    return makeHandle<API_Elem_Head>(*this,
                                     [proxy](const ElementLink& link) { return link.getHeader(proxy); });
}

API_Neig** ElementLinkList::getSelectList(bool proxy) const {
    return makeHandle<API_Neig>(*this,
                                [proxy](const ElementLink& link) { return link.getSelectHeader(proxy); });
}

void ElementLinkList::updateProxy(const CutPlane& cutPlane) {
    // Looked up by GUID, so that large lists stay linear.
    std::unordered_map<Guid, ElementLink*, GuidHash> byGuid;
    for (ElementLink* link : *this) {
        if (link != nullptr) {
            byGuid.emplace(link->getUniqueID(), link);
        }
    }
    Drawing::Filter filter(false, false);
    auto& plane = const_cast<CutPlane&>(cutPlane);
    ElementLinkList shown;
    plane.getLinksMatching(filter, &shown);
    for (const ElementLink* item : shown) {
        ElementLink seen(*item);
        if (!plane.sourceActualElement(true, seen) ||
            seen.getProxyKind().getType() != ElementLink::proxyType) {
            continue;
        }
        auto it = byGuid.find(seen.getUniqueID());
        if (it != byGuid.end()) {
            it->second->setProxySource(&cutPlane);
            it->second->setProxyID(seen.getProxyID());
            it->second->setProxyKind(element_id(ElementLink::proxyType, 0));
        }
    }
}

} // namespace zelvane
