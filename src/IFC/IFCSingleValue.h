// An IFC property of one value.
#pragma once

#include "IFC/IFCProperty.h"

namespace zelvane {

class IFCSingleValue : public IFCProperty {
public:
    static constexpr int kind = API_IFCPropertySingleValueType;

    IFCSingleValue(const Setting& value, const String& name, const String& setName,
                   const String& valueTypeName, const String& description);
    IFCSingleValue(const IFCSingleValue& other);

    // A new item of an acceptable record, else null.
    static IFCSingleValue* create(const API_IFCProperty& record);

    IFCSingleValue* clone() const override { return new IFCSingleValue(*this); }
    int getType() const override { return kind; }
    bool pack(API_IFCProperty& record) const override;

    // Null for a value type without a setting.
    virtual const Setting* getSetting() const { return m_value.get(); }
    virtual void setSetting(const Setting& value);

private:
    explicit IFCSingleValue(const API_IFCProperty& record);

    std::unique_ptr<Setting> m_value;
};

} // namespace zelvane
