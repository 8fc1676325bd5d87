// An IFC property of a list of values of one type.
#pragma once

#include "IFC/IFCProperty.h"

#include <vector>

namespace zelvane {

class IFCListValue : public IFCProperty {
public:
    static constexpr int kind = API_IFCPropertyListValueType;

    IFCListValue(const String& name, const String& setName, const String& valueTypeName, std::size_t count,
                 const String& description);
    IFCListValue(const IFCListValue& other);

    static IFCListValue* create(const API_IFCProperty& record);

    IFCListValue* clone() const override { return new IFCListValue(*this); }
    int getType() const override { return kind; }
    // Every value that packs goes into the record's list; true when it is not empty.
    bool pack(API_IFCProperty& record) const override;

    std::size_t size() const { return m_values.size(); }
    // Null for a value type without a setting.
    const Setting* getSetting(std::size_t i) const { return m_values.at(i).get(); }
    // The list takes the setting (null allowed).
    void addSetting(Setting* value) { m_values.emplace_back(value); }

private:
    explicit IFCListValue(const API_IFCProperty& record);

    std::vector<std::unique_ptr<Setting>> m_values;
};

} // namespace zelvane
