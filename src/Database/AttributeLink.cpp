#include "Database/AttributeLink.h"

#include "Environment/Host.h"
#include "Environment/String.h"

namespace zelvane {

AttributeLink::AttributeLink(const API_Attr_Head& head, Specification* specification)
    : m_index(head.index), m_specification(specification), m_type(attribute_id(head.typeID)) {
    defaultSpecification();
}

AttributeLink::AttributeLink(attribute_index index, attribute_id type, Specification* specification)
    : m_index(index), m_specification(specification), m_type(type) {
    defaultSpecification();
}

AttributeLink::AttributeLink(int index, attribute_id type, Specification* specification)
    : m_index(short(index)), m_specification(specification), m_type(type) {
    defaultSpecification();
}

AttributeLink::AttributeLink(const String& name, attribute_id type, Specification* specification)
    : m_specification(specification), m_type(type) {
    API_Attr_Head head = getHeader();
    name.copyTo(head.name, sizeof head.name);
    if (ACAPI_Attribute_Search(&head) == NoError) {
        m_index = head.index;
    }
    defaultSpecification();
}

AttributeLink& AttributeLink::operator=(const API_Attr_Head& head) {
    m_index = attribute_index(head.index);
    m_type = attribute_id(head.typeID);
    m_specification = nullptr;
    return *this;
}

void AttributeLink::defaultSpecification() {
    if (m_specification == nullptr && m_index != 0) {
        m_specification = host.getFrontSpec();
    }
}

API_Attr_Head AttributeLink::getHeader() const {
    API_Attr_Head head;
    head.typeID = m_type;
    head.index = m_index;
    return head;
}

void AttributeLink::setHeader(const API_Attr_Head& head) {
    m_index = attribute_index(head.index);
    m_type = attribute_id(head.typeID);
}

bool AttributeLink::operator==(const AttributeLink& other) const {
    return short(m_index) == short(other.m_index) && m_type == other.m_type &&
           m_specification == other.m_specification;
}

} // namespace zelvane
