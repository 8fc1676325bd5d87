#include "Database/Drawing.h"

#include "Database/ElementLink.h"

#include <map>
#include <memory>

namespace zelvane {

namespace {

// Keyed by exact kind, so that the map's order is strict; look-ups by type walk every subtype.
using CreatorList = std::multimap<element_id, Drawing::Factory, element_id::exactType>;

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
    UInt8 type = UInt8(record.header.typeID);
    for (auto it = list->lower_bound(element_id(type, 0)); it != list->end() && it->first.getType() == type;
         ++it) {
        if (Element* element = it->second(record, link)) {
            return element;
        }
    }
    return nullptr;
}

} // namespace

void Drawing::startup() {}

void Drawing::shutdown() {
    creators().reset();
    adapters().reset();
}

Drawing::Factory Drawing::addAdapter(const element_id& kind, Factory factory, bool adapter) {
    std::unique_ptr<CreatorList>& list = adapter ? adapters() : creators();
    if (!list) {
        list = std::make_unique<CreatorList>();
    }
    for (const auto& entry : *list) {
        if (entry.first.matches(kind) && entry.second == factory) {
            return entry.second;
        }
    }
    list->emplace(kind, factory); // after the entries of equal kind
    return factory;
}

Element* Drawing::createElement(const API_Element& record, ElementLink& link) {
    link.setVariation(record.header.variationID);
    if (Element* element = createFrom(adapters().get(), record, link)) {
        return element;
    }
    return createFrom(creators().get(), record, link);
}

} // namespace zelvane
