#include "XML/KeptMarkup.h"

#include <algorithm>

namespace zelvane {

void KeptMarkup::clearInside() {
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [](Item const& item) { return item.side == Side::inside; }),
                  m_items.end());
}

bool KeptMarkup::holdsAttributes() const {
    return std::any_of(m_items.begin(), m_items.end(),
                       [](Item const& item) { return item.markup.attribute; });
}

bool KeptMarkup::holdsContent() const {
    return std::any_of(m_items.begin(), m_items.end(),
                       [](Item const& item) { return item.side == Side::inside && !item.markup.attribute; });
}

void KeptMarkup::keep(String const& text, Side side, std::size_t place) {
    Item item;
    item.markup.text = text;
    item.side = side;
    item.place = place;
    m_items.push_back(std::move(item));
}

Shipping* KeptMarkup::add(String const& tag, String const& nameSpace, std::size_t place) {
    Item item;
    item.markup.tag = tag;
    item.markup.nameSpace = nameSpace;
    item.place = place;
    m_items.push_back(std::move(item));
    return new XMLVerbatim(m_items.back().markup);
}

} // namespace zelvane
