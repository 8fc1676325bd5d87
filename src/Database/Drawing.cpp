#include "Database/Drawing.h"

#include "Database/ElementLink.h"
#include "Element/Element.h"

#include <map>
#include <memory>

namespace zelvane {

namespace {

// Keyed by element type alone: the factories of a type are tried in registration order.
using CreatorList = std::multimap<UInt8, Drawing::Factory>;

std::unique_ptr<CreatorList>& creators() {
    static std::unique_ptr<CreatorList> list;
    return list;
}

std::unique_ptr<CreatorList>& adapters() {
    static std::unique_ptr<CreatorList> list;
    return list;
}

Element* createFrom(const CreatorList* list, const API_Element& record, const ElementLink& link) {
    if (list == nullptr) {
        return nullptr;
    }
    auto range = list->equal_range(UInt8(record.header.typeID));
    for (auto it = range.first; it != range.second; ++it) {
        if (Element* element = it->second(record, link)) {
            return element;
        }
    }
    return nullptr;
}

} // namespace

void Drawing::shutdown() {
    creators().reset();
    adapters().reset();
}

Drawing::Factory Drawing::addAdapter(const element_id& kind, Factory factory, bool adapter) {
    std::unique_ptr<CreatorList>& list = adapter ? adapters() : creators();
    if (!list) {
        list = std::make_unique<CreatorList>();
    }
    auto range = list->equal_range(kind.getType());
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == factory) {
            return factory;
        }
    }
    list->emplace(kind.getType(), factory); // after the entries of the same type
    return factory;
}

Element* Drawing::createElement(const API_Element& record, ElementLink& link, MemoStore* store) {
    link.setVariation(record.header.variationID);
    Element* made = createFrom(adapters().get(), record, link);
    if (made == nullptr) {
        made = createFrom(creators().get(), record, link);
    }
    if (made != nullptr && store != nullptr) {
        std::unique_ptr<Element> element(made);
        // The switch is module-wide: it comes back whatever getMemo throws.
        struct Restore {
            bool saved = Element::m_isMinData;
            ~Restore() { Element::m_isMinData = saved; }
        } restore;
        Element::m_isMinData = true;
        element->getMemo(allMemoParts, store);
        made = element.release();
    }
    return made;
}

} // namespace zelvane
