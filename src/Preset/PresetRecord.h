// A record of the preset database: the values of one preset as named fields, each a row of typed
// values, and optionally named child records (presets of other types embedded in this one). Each
// preset type is a concrete record class; its XML tag is the type name that preset definitions
// refer to. A child stored under a key always comes with a Guid field of that name, whose first
// value links the slot to a stored record (null: the embedded child is used).
#pragma once

#include "Environment/Map.h"
#include "Environment/String.h"
#include "Preset/PresetField.h"
#include "Preset/UserDataRecord.h"

#include <memory>
#include <set>

namespace zelvane {

class Setting;

class PresetRecord : public UserDataRecord {
public:
    using FieldMap = Map<String, PresetField>;
    using ChildMap = Map<String, PresetRecord>;

    explicit PresetRecord(bool isChild = false, String const& name = String());
    // Copies every field and child.
    PresetRecord(PresetRecord const& other);

    // The record's three fields (none for a child), then one per field in name order.
    std::size_t shippingSize() const override { return 3 + m_fields.size(); }
    bool hasAttributes() const override { return !m_isChild; }
    // A field is written under its name; a Guid field linking no stored record gives its place
    // to the child of its name, written under the child's type name.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    // A field of that name, else the next child of that type written in place, else (unless a
    // child) the record's own fields; an element of a type with no such child left is kept.
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    // Only the record's own attributes: a field or a child of that name takes none.
    Shipping* getAttribute(String const& tag, String const& nameSpace) override;
    // Also begins a new reading of the record's elements: the children read in place so far
    // are forgotten.
    void setDefault() override;
    // Puts the elements of a child type that no child took after the record's elements, so that
    // each child gets the same element when the record is read again.
    bool validate() override;

    PresetRecord* clone() const override = 0;
    PresetRecord* cloneIndependent() const override { return clone(); }
    // The preset type: the record's XML tag.
    virtual String getTypeName() const { return String(getTag()); }
    // The record's own field with an empty child key; else the field of the child of that key, or
    // the first found searching every child in key order, depth first.
    virtual PresetField const* getField(String const& name, String const& childKey = String()) const;
    virtual PresetField* getField(String const& name, String const& childKey = String());
    virtual std::size_t getColumnCount(String const& name) const;
    virtual std::size_t getChildCount() const { return m_children == nullptr ? 0 : m_children->size(); }
    // Empty and null out of range.
    virtual String getChildKeyName(std::size_t index) const;
    virtual PresetRecord const* getChildRecord(std::size_t index) const;
    virtual PresetRecord* getChildRecord(std::size_t index);
    virtual PresetRecord const* getChildRecord(String const& key) const;
    virtual PresetRecord* getChildRecord(String const& key);
    // A new copy of the column's setting, owned by the caller; null when absent.
    virtual Setting* getSetting(String const& name, std::size_t column) const;
    virtual bool isChild() const { return m_isChild; }
    virtual bool isLegacy() const { return m_isLegacy; }
    // Takes the field; one of a name already present is deleted and the old one stays.
    virtual void addField(String const& name, PresetField* field);
    // Takes the child under the key with a Guid field of that name holding the null Guid. The
    // child is deleted and nothing changes when a field has the key or the child's type name, or
    // a child has the key.
    virtual void addChildPreset(String const& key, PresetRecord* child);
    // The fields become copies of the other's; the children stay.
    virtual void copyFieldsFrom(PresetRecord const& other);
    virtual bool setColumnCount(String const& name, std::size_t count);
    // An angle field takes the setting in degrees and stores radians; false when there is no
    // such field or the column is past the field's limit.
    virtual bool setSetting(String const& name, Setting const& setting, std::size_t column);
    virtual void setChild(bool isChild) { m_isChild = isChild; }
    virtual void setLegacy(bool isLegacy) { m_isLegacy = isLegacy; }
    virtual bool isValid() const { return true; }

    FieldMap const& getFields() const { return m_fields; }

private:
    // The child written in place of the field at that position, or null.
    PresetRecord* childInPlaceOf(FieldMap::const_iterator field) const;
    // The child that an element of that type read now goes to; null when none has the type.
    PresetRecord* nextChildRead(String const& tag);

    FieldMap m_fields;
    std::unique_ptr<ChildMap> m_children;
    // The keys of the children read in place since the record's element began.
    std::set<String> m_childrenRead;
    bool m_isChild;
    bool m_isLegacy = false;
};

} // namespace zelvane
