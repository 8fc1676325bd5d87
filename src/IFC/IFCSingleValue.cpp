#include "IFC/IFCSingleValue.h"

namespace zelvane {

IFCSingleValue::IFCSingleValue(const Setting& value, const String& name, const String& setName,
                               const String& valueTypeName, const String& description)
    : IFCProperty(name, setName, valueTypeName, description), m_value(value.clone()) {}

IFCSingleValue::IFCSingleValue(const IFCSingleValue& other)
    : IFCProperty(other), m_value(other.m_value != nullptr ? other.m_value->clone() : nullptr) {}

IFCSingleValue::IFCSingleValue(const API_IFCProperty& record)
    : IFCProperty(record), m_value(makeValue(nullptr)) {
    extractValue(m_value.get(), record.singleValue);
}

IFCSingleValue* IFCSingleValue::create(const API_IFCProperty& record) {
    if (!isAcceptable(record, kind) || record.singleValue.valueType.IsEmpty()) {
        return nullptr;
    }
    return new IFCSingleValue(record);
}

bool IFCSingleValue::pack(API_IFCProperty& record) const {
    bool head = IFCProperty::pack(record);
    return packValue(record.singleValue, m_value.get()) && head;
}

void IFCSingleValue::setSetting(const Setting& value) {
    if (m_value != nullptr) {
        *m_value = value;
    }
}

} // namespace zelvane
