#include "IFC/IFCAttribute.h"

namespace zelvane {

IFCAttribute::IFCAttribute(const Setting& value, const String& name, const String& valueTypeName,
                           bool recordFlag)
    : IFCData(name, valueTypeName, recordFlag), m_value(makeValue(&value)) {}

IFCAttribute::IFCAttribute(const IFCAttribute& other)
    : IFCData(other), m_value(other.m_value != nullptr ? other.m_value->clone() : nullptr) {}

IFCAttribute::IFCAttribute(const API_IFCAttribute& record)
    : IFCData(addText(record.attributeName), addValueType(String(record.attributeType), true), record.isOwn),
      m_value(makeValue(nullptr)) {
    if (m_value != nullptr) {
        m_value->setValue(String(record.attributeValue));
    }
}

IFCAttribute* IFCAttribute::create(const API_IFCAttribute& record) {
    if (record.attributeName.IsEmpty() || record.attributeType.IsEmpty()) {
        return nullptr;
    }
    return new IFCAttribute(record);
}

void IFCAttribute::setSetting(const Setting& value) {
    if (m_value != nullptr) {
        *m_value = value;
    }
}

String IFCAttribute::getText() const {
    String text;
    if (m_value != nullptr) {
        m_value->getValue(text);
    }
    return text;
}

bool IFCAttribute::pack(API_IFCAttribute& record) const {
    record.attributeName = GS::UniString(getName());
    if (getValueType().name != nullptr) {
        record.attributeType = GS::UniString(*getValueType().name);
    }
    String text = getText();
    record.attributeValue = GS::UniString(text);
    record.hasValue = !text.empty();
    record.isOwn = getRecordFlag();
    return !record.attributeName.IsEmpty() && !record.attributeType.IsEmpty();
}

} // namespace zelvane
