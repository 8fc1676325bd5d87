// The remapping rules of every source kind and named source: which library part of the loaded
// library replaces a foreign or broken one, and with which parameter values. Kept in one XML file
// in the add-on's preferences folder.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "Environment/String.h"
#include "Environment/Vector.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLArray.h"
#include "XML/XMLTypeProxy.h"

#include <utility>

namespace zelvane {
class PopupMenu;
}

namespace zelvane::remap {

class ObjectSpecification;
class SpecificationList;

class ObjectMap : public XMLArray {
public:
    // The source kind; none names no list.
    enum Type : Int32 { IFC = 0, DWG = 1, GSM = 2, missing = 3, legacy = 4, none = 5 };
    static constexpr std::size_t typeCount = 5;

    // The rule key: the library-part type of the element's current part and its source name.
    using Key = std::pair<API_LibTypeID, String>;

    // The map's lists in insertion order, each owned.
    // Its special members live with the list class, so that users of the map need not see it.
    class RemappingList : public Vector<SpecificationList> {
    public:
        RemappingList();
        RemappingList(RemappingList const& other);
        RemappingList& operator=(RemappingList const& other);
        ~RemappingList() override;

        // The list whose name equals `name` exactly and whose kind is `type`, or null.
        SpecificationList* getSpecificationList(String const& name, Type type) const;
        // Whether any list has that kind.
        bool isSpecificationFor(Type type) const;
        // Deletes the first list of that name and kind; false when there is none.
        bool deleteSpecificationList(String const& name, Type type);
    };

    // A new map holds no list.
    ObjectMap();
    ObjectMap(ObjectMap const& other);
    ObjectMap& operator=(ObjectMap const& other);
    ~ObjectMap() override;

    // The XML names of the kinds, in kind order, and the kind of a name (none for any other text).
    static char const* typeName(Type type);
    static Type typeOf(String const& name);
    // The name given to a new source: localised string 32525/1.
    static String defaultSourceName();

    char const* getTag() const override { return "objectMap"; }
    std::size_t shippingSize() const override { return m_lists.size(); }
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // A "specificationList" element appends a new list; nothing else is bound.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // The map has no attributes: each is kept.
    Shipping* addAttribute(String const&, String const&) override { return nullptr; }
    // Drops every list and what the map's element held beside them.
    void setDefault() override;
    // What the file holds that the map does not take, written back where it stood.
    KeptMarkup* getKept() override { return &m_kept; }
    // Run when the "objectMap" element closed: every kind gets a list.
    bool validate() override;

    // Whether every list's kind and every rule's part type has a name in the file: a map holding
    // others would be written as a file that no read accepts.
    bool isWritable() const;
    // Whether the last read met and closed an "objectMap" element (setDefault forgets it).
    bool isComplete() const { return m_complete; }

    // Drops every list and all that was kept of the file, then gives each kind a default list.
    void initialise();
    // Adds a default-named list for each kind that has none, in kind order.
    void checkMappingRepresentation();
    // Appends a new empty list; names are not checked.
    void addSource(String const& name, Type type);
    bool renameSource(String const& oldName, String const& newName, Type type);
    bool deleteSource(String const& name, Type type);
    // Copies the other map's list of that name and kind into this one, replacing a list of the
    // same name and kind; false when the other map has none.
    bool importSource(ObjectMap const& other, String const& name, Type type);

    // The rule for a key: first in the named list of that kind (made there when asked), else in any
    // list of the map of another name, when `sourceName` becomes the name of the list that holds
    // it: a changed name always means another source. Null when none.
    ObjectSpecification* getSpecification(Key const& key, String& sourceName, Type type, bool create,
                                          bool automatic);
    // Appends a copy of the rule to the named list, its target resolved once; false without that
    // list.
    bool setSpecification(ObjectSpecification const& rule, String const& sourceName, Type type);
    bool deleteSpecification(Key const& key, String const& sourceName, Type type);

    // Fills the mapping dialog's source menu: the commands new, rename and delete (the last two
    // naming the current source), a separator, then the names of the kind's lists in letter order,
    // letter case aside. Selects the current name (an empty one: the first source), falling back
    // to the first source or, without one, the last row; answers the label selected.
    String populateMenu(PopupMenu& popup, String const& currentName, Type type) const;

    RemappingList const& getLists() const { return m_lists; }
    RemappingList& getLists() { return m_lists; }

private:
    RemappingList m_lists;
    KeptMarkup m_kept;
    bool m_complete = false;
};

} // namespace zelvane::remap

namespace zelvane {

// The kinds are written as their names; any other text fails the read.
template <>
bool XMLTypeProxy<remap::ObjectMap::Type>::write(String& text);
template <>
bool XMLTypeProxy<remap::ObjectMap::Type>::read(String const& text);
template <>
void XMLTypeProxy<remap::ObjectMap::Type>::setDefault();

} // namespace zelvane
