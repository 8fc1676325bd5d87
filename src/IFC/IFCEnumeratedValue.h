// An IFC property whose values are chosen from an enumeration: every value of the enumeration,
// each marked whether it is chosen.
#pragma once

#include "IFC/IFCProperty.h"

#include <map>

namespace zelvane {

class IFCEnumeratedValue : public IFCProperty {
public:
    static constexpr int kind = API_IFCPropertyEnumeratedValueType;
    using Values = std::map<SharedKey, bool, KeyLess>;

    IFCEnumeratedValue(const IFCEnumeratedValue&) = default;

    static IFCEnumeratedValue* create(const API_IFCProperty& record);

    IFCEnumeratedValue* clone() const override { return new IFCEnumeratedValue(*this); }
    int getType() const override { return kind; }
    // Every value into the record's enumeration, the chosen ones also into its choice.
    bool pack(API_IFCProperty& record) const override;

    const Values& getValues() const { return m_values; }

private:
    explicit IFCEnumeratedValue(const API_IFCProperty& record);

    Values m_values;
};

} // namespace zelvane
