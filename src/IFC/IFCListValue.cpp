#include "IFC/IFCListValue.h"

namespace zelvane {

IFCListValue::IFCListValue(const String& name, const String& setName, const String& valueTypeName,
                           std::size_t count, const String& description)
    : IFCProperty(name, setName, valueTypeName, description) {
    m_values.reserve(count);
}

IFCListValue::IFCListValue(const IFCListValue& other) : IFCProperty(other) {
    m_values.reserve(other.m_values.size());
    for (const auto& value : other.m_values) {
        m_values.emplace_back(value != nullptr ? value->clone() : nullptr);
    }
}

IFCListValue::IFCListValue(const API_IFCProperty& record) : IFCProperty(record) {
    for (const API_IFCPropertyValue& item : record.listValues) {
        std::unique_ptr<Setting> value(makeValue(nullptr));
        extractValue(value.get(), item);
        m_values.push_back(std::move(value));
    }
}

IFCListValue* IFCListValue::create(const API_IFCProperty& record) {
    if (!isAcceptable(record, kind) || record.listValues.IsEmpty() ||
        record.listValues[0].valueType.IsEmpty()) {
        return nullptr;
    }
    return new IFCListValue(record);
}

bool IFCListValue::pack(API_IFCProperty& record) const {
    bool head = IFCProperty::pack(record);
    record.listValues.Clear();
    for (const auto& value : m_values) {
        API_IFCPropertyValue packed;
        if (packValue(packed, value.get())) {
            record.listValues.Push(packed);
        }
    }
    return head && !record.listValues.IsEmpty();
}

} // namespace zelvane
