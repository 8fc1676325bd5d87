#include "IFC/IFCBoundedValue.h"

namespace zelvane {

IFCBoundedValue::IFCBoundedValue(const IFCBoundedValue& other)
    : IFCProperty(other), m_lower(other.m_lower != nullptr ? other.m_lower->clone() : nullptr),
      m_upper(other.m_upper != nullptr ? other.m_upper->clone() : nullptr) {}

IFCBoundedValue::IFCBoundedValue(const API_IFCProperty& record)
    : IFCProperty(record), m_lower(makeValue(nullptr)), m_upper(makeValue(nullptr)) {
    extractValue(m_lower.get(), record.lowerBoundValue);
    extractValue(m_upper.get(), record.upperBoundValue);
}

IFCBoundedValue* IFCBoundedValue::create(const API_IFCProperty& record) {
    if (!isAcceptable(record, kind) || record.lowerBoundValue.valueType.IsEmpty()) {
        return nullptr;
    }
    return new IFCBoundedValue(record);
}

bool IFCBoundedValue::pack(API_IFCProperty& record) const {
    bool head = IFCProperty::pack(record);
    bool lower = packValue(record.lowerBoundValue, m_lower.get());
    bool upper = packValue(record.upperBoundValue, m_upper.get());
    return head && lower && upper;
}

void IFCBoundedValue::setLowerBound(const Setting& value) {
    if (m_lower != nullptr) {
        *m_lower = value;
    }
}

void IFCBoundedValue::setUpperBound(const Setting& value) {
    if (m_upper != nullptr) {
        *m_upper = value;
    }
}

} // namespace zelvane
