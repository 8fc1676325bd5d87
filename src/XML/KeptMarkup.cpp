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

void KeptMarkup::keepTwin(String const& tag, String const& nameSpace, String const& text, std::size_t place) {
    // It goes before what was kept after it, which now stands one own element nearer the start.
    auto after = std::find_if(m_items.begin(), m_items.end(), [place](Item const& item) {
        return item.side == Side::after || (item.side == Side::inside && item.place > place);
    });
    for (auto it = after; it != m_items.end(); ++it) {
        if (it->side == Side::inside && it->place > place) {
            --it->place;
        }
    }
    Item item;
    item.markup.tag = tag;
    item.markup.nameSpace = nameSpace;
    item.markup.text = text;
    item.place = place;
    item.twin = true;
    m_items.insert(after, std::move(item));
}

void KeptMarkup::putLast(String const& tag) {
    auto end = std::find_if(m_items.begin(), m_items.end(),
                            [](Item const& item) { return item.side == Side::after; });
    auto moved = std::stable_partition(m_items.begin(), end, [&tag](Item const& item) {
        return item.side != Side::inside || item.twin || item.markup.attribute || item.markup.tag != tag ||
               !item.markup.nameSpace.empty();
    });
    for (; moved != end; ++moved) {
        moved->place = static_cast<std::size_t>(-1);
    }
}

bool KeptMarkup::holdsTwins() const {
    return std::any_of(m_items.begin(), m_items.end(), [](Item const& item) { return item.twin; });
}

} // namespace zelvane
