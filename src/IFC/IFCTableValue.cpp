#include "IFC/IFCTableValue.h"

namespace zelvane {

IFCTableValue::IFCTableValue(const String& name, const String& setName, const String& definingTypeName,
                             const String& valueTypeName, const String& description)
    : IFCProperty(name, setName, valueTypeName, description),
      m_definingType(addValueType(definingTypeName, true)) {}

IFCTableValue::IFCTableValue(const IFCTableValue& other)
    : IFCProperty(other), m_definingType(other.m_definingType) {
    for (const auto& [key, value] : other.m_rows) {
        m_rows[key].reset(value != nullptr ? value->clone() : nullptr);
    }
}

IFCTableValue::IFCTableValue(const API_IFCProperty& record) : IFCProperty(record) {
    UInt32 count = std::min(record.definingValues.GetSize(), record.definedValues.GetSize());
    for (UInt32 i = 0; i < count; ++i) {
        if (m_definingType.code == 0) {
            m_definingType = addValueType(String(record.definingValues[i].valueType), true);
        }
        std::unique_ptr<Setting> defined(makeValue(nullptr));
        extractValue(defined.get(), record.definedValues[i]);
        SharedKey defining(makeValue(nullptr, &m_definingType));
        if (defining == nullptr) {
            continue; // a key without a setting
        }
        extractValue(defining.get(), record.definingValues[i], &m_definingType);
        m_rows[addKey(defining)] = std::move(defined);
    }
}

IFCTableValue* IFCTableValue::create(const API_IFCProperty& record) {
    if (!isAcceptable(record, kind) || record.definedValues.IsEmpty() ||
        record.definedValues[0].valueType.IsEmpty()) {
        return nullptr;
    }
    return new IFCTableValue(record);
}

bool IFCTableValue::pack(API_IFCProperty& record) const {
    bool head = IFCProperty::pack(record);
    record.definingValues.Clear();
    record.definedValues.Clear();
    for (const auto& [key, value] : m_rows) {
        if (key == nullptr || value == nullptr) {
            continue;
        }
        API_IFCPropertyValue defining, defined;
        if (packValue(defining, key.get(), &m_definingType) && packValue(defined, value.get())) {
            record.definingValues.Push(defining);
            record.definedValues.Push(defined);
        }
    }
    return head && !record.definingValues.IsEmpty() &&
           record.definingValues.GetSize() == record.definedValues.GetSize();
}

void IFCTableValue::setRow(const SharedKey& key, Setting* value) {
    std::unique_ptr<Setting> held(value);
    if (key != nullptr) {
        m_rows[addKey(key)] = std::move(held);
    }
}

} // namespace zelvane
