// The IFC data the host keeps for an element: properties of six value kinds, attributes and
// classification references; read stored only or with what the host derives, and written one
// item at a time.
#pragma once

#include "ACAPI/Elements.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/UniString.hpp"

// One IFC value: its IFC type name and its primitive value (the member the primitive type names:
// 0 integer, 1 real, 2 boolean, 3 count, 4 and above text).
struct API_IFCPropertyValue {
    GS::UniString valueType;
    Int32 primitiveType = 0;
    Int64 intValue = 0;
    double doubleValue = 0.0;
    bool boolValue = false;
    GS::UniString stringValue;
};

// Property kinds.
constexpr Int32 API_IFCPropertySingleValueType = 0;
constexpr Int32 API_IFCPropertyListValueType = 1;
constexpr Int32 API_IFCPropertyBoundedValueType = 2;
constexpr Int32 API_IFCPropertyEnumeratedValueType = 3;
constexpr Int32 API_IFCPropertyTableValueType = 4;
constexpr Int32 API_IFCPropertyCalendarDateType = 5;

struct API_IFCPropertyHead {
    Int32 propertyType = 0;
    bool isExternal = false;
    GS::UniString propertySetName;
    GS::UniString propertyName;
    GS::UniString propertyDescription;
};

// A date of a calendar-date property; empty when marked so.
struct API_IFCCalendarDate {
    bool isEmpty = true;
    UInt32 day : 5;
    UInt32 month : 4;
    UInt32 year : 15;
    API_IFCCalendarDate() : day(0), month(0), year(0) {}
};

// A property: its head and the part of its kind.
struct API_IFCProperty {
    API_IFCPropertyHead head;
    API_IFCPropertyValue singleValue;
    GS::Array<API_IFCPropertyValue> listValues;
    API_IFCPropertyValue lowerBoundValue;
    API_IFCPropertyValue upperBoundValue;
    GS::Array<API_IFCPropertyValue> enumerationValues; // every value
    GS::Array<API_IFCPropertyValue> enumerationChosen; // the values chosen
    GS::Array<API_IFCPropertyValue> definingValues;
    GS::Array<API_IFCPropertyValue> definedValues;
    API_IFCCalendarDate date;
};

// An attribute: name, IFC type name and value text; whether it has a value and whether it is the
// element's own.
struct API_IFCAttribute {
    GS::UniString attributeName;
    GS::UniString attributeType;
    GS::UniString attributeValue;
    bool hasValue = false;
    bool isOwn = false;
};

// A classification system: its source, edition, edition date and name.
struct API_IFCClassification {
    GS::UniString source;
    GS::UniString edition;
    GS::UniString editionDate;
    GS::UniString name;
};

// A reference into a classification: the item referred to, then three texts each with whether it
// is set, and the classification.
struct API_IFCClassificationReference {
    GS::UniString itemReference;
    GS::UniString location;
    bool hasLocation = false;
    GS::UniString name;
    bool hasName = false;
    GS::UniString description;
    bool hasDescription = false;
    API_IFCClassification referencedSource;
};

// The element's items, stored on it only or all (stored and derived); APIERR_BADID for an unknown
// element, APIERR_BADPARS without an array.
GSErrCode ACAPI_Element_GetIFCProperties(const API_Guid& guid, bool storedOnly,
                                         GS::Array<API_IFCProperty>* properties);
GSErrCode ACAPI_Element_GetIFCAttributes(const API_Guid& guid, bool storedOnly,
                                         GS::Array<API_IFCAttribute>* attributes);
GSErrCode ACAPI_Element_GetIFCClassificationReferences(const API_Guid& guid, bool storedOnly,
                                                       GS::Array<API_IFCClassificationReference>* references);
// Stores the item on the element, replacing one of the same name (and set); APIERR_BADPARS for a
// property without a name or set name, an attribute without a name.
GSErrCode ACAPI_Element_SetIFCProperty(const API_Guid& guid, const API_IFCProperty& property);
GSErrCode ACAPI_Element_SetIFCAttribute(const API_Guid& guid, const API_IFCAttribute& attribute);
// Removes the stored property of that name and set; APIERR_BADPARS when there is none.
GSErrCode ACAPI_Element_RemoveIFCProperty(const API_Guid& guid, const API_IFCProperty& property);
