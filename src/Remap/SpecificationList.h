// All rules of one named source of one kind, in the order they were made, indexed by key.
#pragma once

#include "Environment/List.h"
#include "Environment/String.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectSpecification.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLArray.h"

#include <string>
#include <unordered_map>

namespace zelvane::remap {

class SpecificationList : public List<ObjectSpecification>, public XMLArray {
public:
    // An IFC list without a name or rules.
    SpecificationList() = default;
    SpecificationList(String const& name, ObjectMap::Type type) : m_sourceName(name), m_type(type) {}
    // Copies the name and the kind and clones every rule.
    SpecificationList(SpecificationList const& other);
    SpecificationList& operator=(SpecificationList const& other);

    virtual SpecificationList* clone() const { return new SpecificationList(*this); }

    String const& getSourceName() const { return m_sourceName; }
    void setSourceName(String const& name) { m_sourceName = name; }
    ObjectMap::Type getType() const { return m_type; }
    void setType(ObjectMap::Type type) { m_type = type; }
    // The first rule whose name matches the key's (letter case aside) and whose type is the key's.
    // One look-up in the list's index, which the list's own changes keep up to date and a change
    // of a rule's name or type (or a read) has rebuilt, in list order, at the next search.
    ObjectSpecification* find(ObjectMap::Key const& key) const;
    // The same search by the index's key, made once for searches in many lists.
    static std::string indexKey(API_LibTypeID type, String const& loweredName);
    ObjectSpecification* findByIndexKey(std::string const& key) const;

    // The list's changes, which keep the index. Changing the list through its base classes would
    // leave the index behind: moving rules between lists or reordering them is not offered.
    void push_back(ObjectSpecification* rule);
    void push_front(ObjectSpecification* rule) { insert(cbegin(), rule); }
    iterator insert(const_iterator position, ObjectSpecification* rule);
    iterator erase(const_iterator position);
    iterator erase(const_iterator first, const_iterator last);
    void pop_back() { erase(std::prev(cend())); }
    void pop_front() { erase(cbegin()); }
    ObjectSpecification* release(const_iterator position);
    void releaseAll() noexcept;
    void splice(const_iterator, List&) = delete;
    void splice(const_iterator, List&, const_iterator) = delete;
    template <typename Compare>
    void sort(Compare) = delete;
    void reverse() = delete;
    void swap(List&) = delete;

    char const* getTag() const override { return "specificationList"; }
    // The name and the kind (attributes), then one field per rule.
    std::size_t shippingSize() const override { return 2 + size(); }
    // A walk over the rules in order, as the writer makes, takes each in constant time: the walk
    // starts again at the first rule, so it never sees a rule list older than its start.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // "sourceName" and "objectType" bind the attributes; each "objectSpecification" appends a rule.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // No name, kind IFC, no rules, nothing kept.
    void setDefault() override;
    // What the list's element holds beside its name, kind and rules, written back where it stood.
    KeptMarkup* getKept() override { return &m_kept; }
    // A list read without a name is refused.
    bool validate() override { return !m_sourceName.empty(); }
    // Drops the rules only.
    void clear() override;

private:
    friend class ObjectSpecification;
    // A rule's key changed: the index is rebuilt at the next search.
    void forgetIndex() noexcept { m_indexed = false; }
    // The rule belongs to this list; null for none.
    void adopt(ObjectSpecification* rule) noexcept;
    // Whether the index answers this rule for its key: removing it leaves the index stale.
    bool isIndexed(ObjectSpecification const* rule) const;
    void buildIndex() const;

    // The first rule of each key (part type and lower-cased name); valid while m_indexed.
    mutable std::unordered_map<std::string, ObjectSpecification*> m_index;
    mutable bool m_indexed = false;

    // The rule of the walk's last step and its position.
    const_iterator m_cursor;
    std::size_t m_cursorIndex = 0;
    bool m_walking = false;

    String m_sourceName;
    ObjectMap::Type m_type = ObjectMap::IFC;
    KeptMarkup m_kept;
};

} // namespace zelvane::remap
