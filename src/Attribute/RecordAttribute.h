// The shape every wrapper of a host attribute table shares: a link and an owned copy of the part
// of the host record that belongs to the wrapper's kind, fetched from the link's attribute set on
// first use. Derived is the wrapper; it may hide setDefaults to give a new record its defaults.
#pragma once

#include "Attribute/Attribute.h"

#include <memory>

namespace zelvane {

template <typename Derived, typename Record, attribute_id Type>
class RecordAttribute : public Attribute {
public:
    static constexpr attribute_id ID = Type;

    // Not linked, with a new record of the defaults.
    RecordAttribute() { initialise(); }
    // Linked; the record is fetched on first use.
    explicit RecordAttribute(const AttributeLink& link) : Attribute(link) {}
    // Linked, with a copy of the host record.
    RecordAttribute(const API_Attribute& record, const AttributeLink& link)
        : Attribute(link), m_record(new Record(reinterpret_cast<const Record&>(record))) {}
    // The attribute at the index of the front attribute set.
    explicit RecordAttribute(attribute_index index) : Attribute(AttributeLink(index, Type)) {}
    // The attribute of that name; a new one of that name when the host has none.
    explicit RecordAttribute(const String& name) : Attribute(AttributeLink(name, Type)) {
        if (!name.empty() && getLink().getIndex() == 0) {
            initialise();
            setName(name);
        }
    }
    RecordAttribute(const RecordAttribute& other)
        : Attribute(other), m_record(other.m_record != nullptr ? new Record(*other.m_record) : nullptr) {}
    RecordAttribute& operator=(const RecordAttribute& other) {
        if (this != &other) {
            Attribute::operator=(other);
            m_record.reset(other.m_record != nullptr ? new Record(*other.m_record) : nullptr);
        }
        return *this;
    }

    // The registry's factory: a wrapper of a copy of the record when it is of this type.
    static Attribute* create(const API_Attribute& record, const AttributeLink& link) {
        return record.header.typeID == Type ? new Derived(record, link) : nullptr;
    }

    Attribute* clone() const override { return new Derived(static_cast<const Derived&>(*this)); }
    attribute_id getType() const override { return Type; }
    API_Attr_Head& getHead() override { return data().head; }
    const API_Attr_Head& getHead() const override { return data().head; }

    // Same host index.
    bool operator==(const Derived& other) const { return short(getIndex()) == short(other.getIndex()); }
    bool operator!=(const Derived& other) const { return !(*this == other); }

    // A new record of the defaults, header type set, in place of the held one.
    void initialise() {
        m_record.reset(new Record());
        m_record->head.typeID = Type;
        Derived::setDefaults(*m_record);
    }

protected:
    static void setDefaults(Record&) {}

    std::size_t getRecordSize() const override { return sizeof(Record); }
    // The record, fetched first; a link that does not load gives the defaults.
    Record& data() const {
        if (m_record == nullptr) {
            std::unique_ptr<Record> fetched(new Record());
            if (fetchRecord(fetched.get(), sizeof(Record))) {
                m_record = std::move(fetched);
            } else {
                const_cast<RecordAttribute*>(this)->initialise();
            }
        }
        return *m_record;
    }
    bool hasRecord() const { return m_record != nullptr; }

private:
    mutable std::unique_ptr<Record> m_record;
};

} // namespace zelvane
