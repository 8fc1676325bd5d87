#include "IFC/MakeIFCData.h"

#include "IFC/IFCAttribute.h"
#include "IFC/IFCBoundedValue.h"
#include "IFC/IFCCalendarDate.h"
#include "IFC/IFCClassificationReference.h"
#include "IFC/IFCEnumeratedValue.h"
#include "IFC/IFCListValue.h"
#include "IFC/IFCSingleValue.h"
#include "IFC/IFCTableValue.h"

namespace zelvane {

IFCData* MakeIFCData::operator()(const API_IFCAttribute& record) const {
    return IFCAttribute::create(record);
}

IFCData* MakeIFCData::operator()(const API_IFCProperty& record) const {
    switch (record.head.propertyType) {
    case API_IFCPropertySingleValueType:
        return IFCSingleValue::create(record);
    case API_IFCPropertyListValueType:
        return IFCListValue::create(record);
    case API_IFCPropertyBoundedValueType:
        return IFCBoundedValue::create(record);
    case API_IFCPropertyEnumeratedValueType:
        return IFCEnumeratedValue::create(record);
    case API_IFCPropertyTableValueType:
        return IFCTableValue::create(record);
    case API_IFCPropertyCalendarDateType:
        return IFCCalendarDate::create(record);
    default:
        return nullptr;
    }
}

IFCData* MakeIFCData::operator()(const API_IFCClassificationReference& record) const {
    return IFCClassificationReference::create(record);
}

} // namespace zelvane
