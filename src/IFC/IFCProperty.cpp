#include "IFC/IFCProperty.h"

namespace zelvane {

IFCProperty::IFCProperty(const String& name, const String& setName, const String& valueTypeName,
                         const String& description)
    : IFCData(name, valueTypeName, false), m_setName(addText(setName)), m_description(addText(description)) {}

IFCProperty::IFCProperty(const API_IFCProperty& record)
    : IFCData(addText(record.head.propertyName), valueTypeOf(record), record.head.isExternal),
      m_setName(addText(record.head.propertySetName)),
      m_description(addText(record.head.propertyDescription)) {}

IFCData::ValueType IFCProperty::valueTypeOf(const API_IFCProperty& record) {
    GS::UniString name;
    switch (record.head.propertyType) {
    case API_IFCPropertySingleValueType:
        name = record.singleValue.valueType;
        break;
    case API_IFCPropertyListValueType:
        if (!record.listValues.IsEmpty()) {
            name = record.listValues[0].valueType;
        }
        break;
    case API_IFCPropertyBoundedValueType:
        name = record.lowerBoundValue.valueType;
        break;
    case API_IFCPropertyEnumeratedValueType:
        if (!record.enumerationChosen.IsEmpty()) {
            name = record.enumerationChosen[0].valueType;
        }
        break;
    case API_IFCPropertyTableValueType:
        if (!record.definedValues.IsEmpty()) {
            name = record.definedValues[0].valueType;
        }
        break;
    case API_IFCPropertyCalendarDateType:
        if (!record.date.isEmpty) {
            name = GS::UniString("IfcCalendarDate");
        }
        break;
    default:
        break;
    }
    return addValueType(String(name), true);
}

bool IFCProperty::isAcceptable(const API_IFCProperty& record, int kind) {
    return record.head.propertyType == kind && !record.head.propertyName.IsEmpty() &&
           !record.head.propertySetName.IsEmpty();
}

bool IFCProperty::pack(API_IFCProperty& record) const {
    record.head.propertyType = getType();
    record.head.propertyName = GS::UniString(getName());
    record.head.propertySetName = GS::UniString(getSetName());
    record.head.propertyDescription = GS::UniString(getDescription());
    record.head.isExternal = getRecordFlag();
    return !getName().empty() && !getSetName().empty();
}

} // namespace zelvane
