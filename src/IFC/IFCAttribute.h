// An IFC attribute of an element (such as "GlobalId" or "Name"): a named value.
#pragma once

#include "IFC/IFCData.h"

namespace zelvane {

class IFCAttribute : public IFCData {
public:
    static constexpr int kind = attributeKind;

    IFCAttribute(const Setting& value, const String& name, const String& valueTypeName, bool recordFlag);
    IFCAttribute(const IFCAttribute& other);

    // A new item of a record with a name and a type name, else null.
    static IFCAttribute* create(const API_IFCAttribute& record);

    IFCAttribute* clone() const override { return new IFCAttribute(*this); }
    int getType() const override { return kind; }

    // Null for a value type without a setting (dates).
    virtual const Setting* getSetting() const { return m_value.get(); }
    virtual void setSetting(const Setting& value);
    // The value's text (empty without a setting); true when the record has a name and a type.
    virtual bool pack(API_IFCAttribute& record) const;
    // The value's text; empty without a setting.
    String getText() const;

private:
    explicit IFCAttribute(const API_IFCAttribute& record);

    std::unique_ptr<Setting> m_value;
};

} // namespace zelvane
