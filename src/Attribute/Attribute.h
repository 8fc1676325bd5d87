// The base of every attribute wrapper: the link to its host attribute and the header of the host
// record it keeps a copy of. Wrappers fetch their record from the host on first use.
#pragma once

#include "ACAPI/Attributes.hpp"
#include "Attribute/AttributeID.h"
#include "Database/AttributeLink.h"
#include "Environment/String.h"

#include <cstddef>

namespace zelvane {

class Memo;
class MemoStore;
class MemoryBlock;

class Attribute {
public:
    // The type of attributes that are no host table (storeys, phases).
    static constexpr attribute_id ID = 0;
    // Whether memo owners keep to the mask they are asked for instead of widening it to the
    // part's whole mask. Nothing sets it.
    static bool m_isMinData;

    Attribute() = default;
    explicit Attribute(const AttributeLink& link) : m_link(link), m_type(link.getType()) {}
    Attribute(const Attribute&) = default;
    Attribute& operator=(const Attribute&) = default;
    virtual ~Attribute() = default;

    virtual Attribute* clone() const = 0;
    // The record names a host index and the link is valid.
    virtual bool exists() const;
    virtual const AttributeLink& getLink() const { return m_link; }
    virtual attribute_id getType() const = 0;
    virtual attribute_index getIndex() const { return m_link.getIndex(); }
    virtual UInt16 getFlags() const;
    virtual String getName() const;
    // The add-on's data on the host attribute (the caller deletes it), with its version and
    // platform (1 for a Mac signature, else 2); null with 0 and 0 when the attribute is not stored
    // or the host refuses.
    virtual MemoryBlock* getOwnerData(short& version, int& platform) const;
    virtual void setLink(const AttributeLink& link);
    virtual void clearLink();
    virtual void setFlags(UInt16 flags);
    virtual void setName(const String& name);
    // A new whole host record (the caller deletes it): cleared, then the kept record copied in.
    virtual API_Attribute* getData() const;
    // A new extension record of the attribute's extra data for storing it (the caller disposes
    // it), or null when the attribute has none.
    virtual API_AttributeDefExt* getMemo() const { return nullptr; }
    virtual API_Attr_Head& getHead() = 0;
    virtual const API_Attr_Head& getHead() const = 0;

    // By index, as signed 16-bit values.
    bool operator<(const Attribute& other) const { return short(getIndex()) < short(other.getIndex()); }

protected:
    // The size of the host record part the wrapper keeps (the header first).
    virtual std::size_t getRecordSize() const = 0;
    // Copies the record of the linked attribute, when its set has one of this class, into record
    // (size bytes); false when there is none.
    bool fetchRecord(void* record, std::size_t size) const;
    AttributeLink& link() { return m_link; }
    // An owner's read of its memo part: widens the mask to the part's whole mask unless the
    // part is loaded and valid; with no store, reads the stored attribute's extra data into a new
    // one (handed back) or, when not stored, marks the part loaded; unpacks the part when the
    // mask asks for it.
    void readMemo(const Memo& part, UInt64 mask, MemoStore*& store) const;
    // An owner's write: the part packed into a new extension record (the caller disposes it), or
    // null when it does not pack.
    API_AttributeDefExt* writeMemo(const Memo& part) const;

private:
    AttributeLink m_link;
    attribute_id m_type = 0;
};

} // namespace zelvane
