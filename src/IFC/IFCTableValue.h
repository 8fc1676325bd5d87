// An IFC property of a table: defining values (of their own type) mapped to defined values.
#pragma once

#include "IFC/IFCProperty.h"

#include <map>

namespace zelvane {

class IFCTableValue : public IFCProperty {
public:
    static constexpr int kind = API_IFCPropertyTableValueType;
    using Rows = std::map<SharedKey, std::unique_ptr<Setting>, KeyLess>;

    IFCTableValue(const String& name, const String& setName, const String& definingTypeName,
                  const String& valueTypeName, const String& description);
    IFCTableValue(const IFCTableValue& other);

    static IFCTableValue* create(const API_IFCProperty& record);

    IFCTableValue* clone() const override { return new IFCTableValue(*this); }
    int getType() const override { return kind; }
    // The rows whose key and value both pack; true when there are some.
    bool pack(API_IFCProperty& record) const override;

    const Rows& getRows() const { return m_rows; }
    const ValueType& getDefiningType() const { return m_definingType; }
    // The table takes the value; the key is interned.
    void setRow(const SharedKey& key, Setting* value);

private:
    explicit IFCTableValue(const API_IFCProperty& record);

    Rows m_rows;
    ValueType m_definingType;
};

} // namespace zelvane
