// The project's attribute set: counts, finds, loads, stores and deletes the host's attributes,
// iterates them through a filter, and makes the right wrapper for each host record through a
// registry of factories keyed by attribute type.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "Attribute/Attribute.h"
#include "Attribute/AttributeID.h"
#include "Database/AttributeLink.h"
#include "Environment/IteratorBase.h"
#include "Environment/String.h"
#include "Environment/Vector.h"

#include <memory>

namespace zelvane {

class BaseAttrSelection;
class CadColour;
class FinishLookup;
class Project;

class Specification {
public:
    // Makes the wrapper for a host record, or answers null when the record is not its kind.
    using Factory = Attribute* (*)(const API_Attribute& record, const AttributeLink& link);
    using LinkList = Vector<AttributeLink>;

    class Filter {
    public:
        // Type 0 passes every type. With reuse, a scan keeps the type's count it found in the
        // filter instead of asking the host at every step; each walk's begin counts afresh.
        explicit Filter(attribute_id type = 0, bool reuseCount = true)
            : m_type(type), m_reuseCount(reuseCount) {}
        Filter(const Filter&) = default;
        Filter& operator=(const Filter&) = default;
        virtual ~Filter() = default;

        virtual Filter* clone() const { return new Filter(*this); }
        virtual bool isAccepted(const Attribute&) const { return true; }

        attribute_id getType() const { return m_type; }
        bool canReuseCount() const { return m_reuseCount; }
        attribute_index getCount() const { return m_count; }
        void setCount(attribute_index count) const { m_count = count; }

    private:
        attribute_id m_type;
        bool m_reuseCount;
        mutable attribute_index m_count;
    };

    using iterator = Iterator<Specification, Attribute, AttributeLink, Filter, LinkList>;
    using reverse_iterator = ReverseIterator<Specification, Attribute, AttributeLink, Filter, LinkList>;
    using const_iterator = ConstIterator<Specification, Attribute, AttributeLink, Filter, LinkList>;

    explicit Specification(Project* project = nullptr, int tag = 0);
    Specification(const Specification&) = delete;
    Specification& operator=(const Specification&) = delete;
    virtual ~Specification();

    Project* getProject() const { return m_project; }
    // Its surface materials by index, for the 3D bodies of its project; made on first use.
    FinishLookup* getFinishLookup();
    int getTag() const { return m_tag; }

    // Nothing is cached here, so there is nothing to drop.
    virtual void reset() {}
    virtual String getDescription() const { return "Specification"; }
    // The size of the type's table (deleted indexes included); type 0 sums types 1 to 18.
    virtual Int16 getCount(attribute_id type) const;
    // The pen nearest in colour, then in thickness (the signed difference, so a thinner pen comes
    // before an exact one); 1 when there are no pens.
    virtual attribute_index findPen(const CadColour& colour, double thickness);
    // The first city within a degree of both; index 0 when there is none.
    virtual attribute_index findCity(double longitude, double latitude);
    virtual bool reload(Attribute&) { return false; }
    // A new extension record of the attribute's extra data for the mask, read from the host (the
    // caller disposes its handles and frees it), or null; the host's answer is kept as the last
    // error.
    virtual API_AttributeDefExt* getMemo(const AttributeLink& link, UInt64 mask);
    virtual int getLastError() const { return m_lastError; }
    // Stores the attribute: a new host attribute when it has no index or belongs to another set,
    // else a change of its host attribute. The attribute then names its host attribute here.
    // False for an attribute without a host record.
    virtual bool put(Attribute& attribute);
    virtual bool erase(const AttributeLink& link);
    // Deletes every member of the selection, a host call per type; false when any type failed.
    virtual bool erase(const BaseAttrSelection& selection);
    virtual Attribute* operator[](const AttributeLink& link) { return load(link); }
    // The next attribute after the link that loads and passes the filter (the caller deletes it),
    // or null at the end.
    virtual Attribute* seekNext(const AttributeLink& link, bool forward, const Filter& filter);
    // A new wrapper of the linked attribute (the caller deletes it), or null when it cannot be
    // read or the filter rejects it.
    virtual Attribute* load(const AttributeLink& link, const Filter* filter = nullptr);
    virtual void setLastError(int error) { m_lastError = error; }

    iterator begin(bool autoWrite, const Filter& filter);
    iterator end() const { return iterator(); }
    reverse_iterator rbegin(const Filter& filter);
    // The attributes in index order, read only: nothing is written back.
    const_iterator cbegin(const Filter& filter);
    const_iterator cend() const { return const_iterator(); }
    reverse_iterator rend() const { return reverse_iterator(); }

    static void startup();
    static void shutdown();
    // Adapters are asked before the creators; the same pair may be added twice.
    static void addAdapter(attribute_id type, Factory factory);
    static Attribute* createAttribute(const API_Attribute& record, const AttributeLink& link);

private:
    Project* m_project; // not owned
    int m_tag;
    int m_lastError = NoError;
    std::unique_ptr<FinishLookup> m_finishes;
};

// Iterators reach the attribute set through the links' set and store through put.
template <>
struct IteratorAccess<Specification, Attribute, AttributeLink, Specification::Filter> {
    static Specification* source(const AttributeLink& link) { return link.getSpecification(); }
    static const AttributeLink& link(const Attribute& item);
    static Attribute* load(Specification& database, const AttributeLink& link,
                           const Specification::Filter& filter) {
        return database.load(link, &filter);
    }
    static Attribute* seekNext(Specification& database, const AttributeLink& link, bool forward,
                               const Specification::Filter& filter) {
        return database.seekNext(link, forward, filter);
    }
    static bool put(Specification& database, Attribute& item);
};

} // namespace zelvane
