// An IFC property: an item of a named property set, with a description.
#pragma once

#include "IFC/IFCData.h"

namespace zelvane {

class IFCProperty : public IFCData {
public:
    IFCProperty(const String& name, const String& setName, const String& valueTypeName,
                const String& description);
    IFCProperty(const IFCProperty&) = default;

    const String& getSetName() const { return textOf(m_setName); }
    const String& getDescription() const { return textOf(m_description); }
    // Fills the record's head; true when it names the property and its set.
    virtual bool pack(API_IFCProperty& record) const = 0;

    // The value type of a record of the kind (Algorithms of the value kinds), interned.
    static ValueType valueTypeOf(const API_IFCProperty& record);
    // Whether the record's head is of the kind and names the property and its set.
    static bool isAcceptable(const API_IFCProperty& record, int kind);

protected:
    // From a record: names, set name and description from its head; the flag from the record.
    explicit IFCProperty(const API_IFCProperty& record);

private:
    SharedText m_setName;
    SharedText m_description;
};

} // namespace zelvane
