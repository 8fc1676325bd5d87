#include "IFC/IFCClassificationReference.h"

namespace zelvane {

IFCClassificationReference::IFCClassificationReference(const API_IFCClassificationReference& record)
    : IFCData(addText(record.itemReference), ValueType(), false), m_classification(record.referencedSource),
      m_location(record.location), m_description(record.description), m_referenceName(record.name),
      m_hasLocation(record.hasLocation), m_hasName(record.hasName), m_hasDescription(record.hasDescription) {}

IFCClassificationReference* IFCClassificationReference::create(const API_IFCClassificationReference& record) {
    return new IFCClassificationReference(record);
}

bool IFCClassificationReference::pack(API_IFCClassificationReference& record) const {
    record.itemReference = GS::UniString(getName());
    record.location = GS::UniString(m_location);
    record.hasLocation = m_hasLocation;
    record.name = GS::UniString(m_referenceName);
    record.hasName = m_hasName;
    record.description = GS::UniString(m_description);
    record.hasDescription = m_hasDescription;
    m_classification.pack(record.referencedSource);
    return true;
}

} // namespace zelvane
