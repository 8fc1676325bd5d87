// An IFC property of a range: a lower and an upper bound of one type.
#pragma once

#include "IFC/IFCProperty.h"

namespace zelvane {

class IFCBoundedValue : public IFCProperty {
public:
    static constexpr int kind = API_IFCPropertyBoundedValueType;

    IFCBoundedValue(const IFCBoundedValue& other);

    static IFCBoundedValue* create(const API_IFCProperty& record);

    IFCBoundedValue* clone() const override { return new IFCBoundedValue(*this); }
    int getType() const override { return kind; }
    bool pack(API_IFCProperty& record) const override;

    // The lower bound.
    virtual const Setting* getSetting() const { return m_lower.get(); }
    virtual const Setting* getUpperBound() const { return m_upper.get(); }
    virtual void setLowerBound(const Setting& value);
    virtual void setUpperBound(const Setting& value);

private:
    explicit IFCBoundedValue(const API_IFCProperty& record);

    std::unique_ptr<Setting> m_lower;
    std::unique_ptr<Setting> m_upper;
};

} // namespace zelvane
