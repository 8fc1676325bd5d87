// What an element read for writing back holds beside the fields its binding takes: child elements
// and attributes that no field takes (fields a later version added, say), comments, processing
// instructions, CDATA sections and text. Each is kept as the exact text it had (XMLVerbatim) with
// the number of the binding's own child elements before it, so that the XML writer puts it back
// where it stood. For the object a whole document is read into, it also keeps what stood before
// and after the root element. A binding offers one through ShippingContainer::getKept; the XML
// reader fills it as the element is read and the XML writer writes it back.
#pragma once

#include "XML/XMLVerbatim.h"

#include <cstddef>
#include <vector>

namespace zelvane {

class Shipping;

class KeptMarkup {
public:
    enum class Side { before, inside, after };
    struct Item {
        XMLVerbatim::Markup markup;
        Side side = Side::inside;
        // Inside: how many of the binding's own child elements stood before it.
        std::size_t place = 0;
        // An element of a field that a later element of it was read into instead, or an entry that a
        // map did not take (one of a key it holds, say): so that reading it again takes the same,
        // it goes right before the field's element (its tag is the field's) should the field be
        // written before its place, and after all of the map's entries.
        bool twin = false;
    };

    bool empty() const { return m_items.empty(); }
    void clear() { m_items.clear(); }
    // Forgets what the element held, keeping what stood around a document's root element.
    void clearInside();
    // Whether an attribute, or anything that goes between the start and the end tag, is kept.
    bool holdsAttributes() const;
    bool holdsContent() const;

    // Keeps markup (a comment, a processing instruction, CDATA, text) as written.
    void keep(String const& text, Side side, std::size_t place);
    // Keeps a new element or attribute of that name inside the element; answers a new binding
    // (owned by the caller) through which the reader gives its text. The binding is valid until
    // the next item is kept.
    Shipping* add(String const& tag, String const& nameSpace, std::size_t place);
    // Keeps as a twin, where it stood, an element that was one of the binding's own child
    // elements, the one `place` of them stood before.
    void keepTwin(String const& tag, String const& nameSpace, String const& text, std::size_t place);
    bool holdsTwins() const;
    // Moves the elements of that name (in no namespace) kept inside after every own element, in
    // the order they were kept. Where the n-th element of a name is read into the n-th binding of
    // it, one that none took goes after them all, so that reading it again leaves it again.
    void putLast(String const& tag);

    // In document order.
    std::vector<Item> const& items() const { return m_items; }
    // The text of the item at that position, for markup kept before all of it was read.
    String& textAt(std::size_t index) { return m_items[index].markup.text; }

private:
    std::vector<Item> m_items;
};

} // namespace zelvane
