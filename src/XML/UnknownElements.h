// What a document of packages holds that no package takes, kept so that writing the packages back
// puts it where it stood: elements (packages of a later version of the add-on, say), attributes,
// comments, processing instructions and text, before the root element, inside it among the
// packages, after it, and inside each package beside the fields its binding takes (KeptMarkup).
// Each is kept as the exact text it had in the document (XMLVerbatim) and written back unchanged,
// so that it reads as it did, namespaces and all.
#pragma once

#include "XML/KeptMarkup.h"
#include "XML/XMLVerbatim.h"

#include <map>
#include <memory>
#include <vector>

namespace zelvane {

class UnknownElements {
public:
    // One kept item, or the place where the package of `code` stood (no markup).
    struct Entry {
        std::unique_ptr<XMLVerbatim::Markup> markup;
        unsigned int code = 0;
    };
    using Entries = std::vector<Entry>;

    UnknownElements();
    // A copy keeps copies of every item.
    UnknownElements(UnknownElements const& other);
    UnknownElements& operator=(UnknownElements const& other);
    ~UnknownElements();

    // Whether nothing is kept (the places of packages do not count).
    bool empty() const;
    void clear();
    void swap(UnknownElements& other);

    // Before the root element, inside it (with the places of its packages, and for module data the
    // whole document) and after it.
    Entries& prolog() { return m_prolog; }
    Entries& content() { return m_content; }
    Entries& epilog() { return m_epilog; }
    Entries const& prolog() const { return m_prolog; }
    Entries const& content() const { return m_content; }
    Entries const& epilog() const { return m_epilog; }
    // What the package of that code held beside its fields; inside() makes the list.
    KeptMarkup& inside(unsigned int code) { return m_inside[code]; }
    KeptMarkup const* findInside(unsigned int code) const;

    // Keeps markup at the end of the list.
    static void keep(Entries& entries, String const& text);
    // Keeps a new element or attribute of that name at the end of the list; answers a new binding
    // (owned by the caller) through which the reader gives its text.
    static Shipping* add(Entries& entries, String const& tag, String const& nameSpace);
    // A new binding (owned by the caller) of kept markup, for the writer.
    static Shipping* bind(XMLVerbatim::Markup& markup) { return new XMLVerbatim(markup); }

private:
    Entries m_prolog;
    Entries m_content;
    Entries m_epilog;
    std::map<unsigned int, KeptMarkup> m_inside;
};

} // namespace zelvane
