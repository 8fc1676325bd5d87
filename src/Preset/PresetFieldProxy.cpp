#include "Preset/PresetFieldProxy.h"

#include "Environment/String.h"
#include "Preset/PresetField.h"

namespace zelvane {

PresetFieldProxy::PresetFieldProxy(PresetField& field, char const* name)
    : XMLArrayProxy(field, name), m_field(&field) {}

Shipping* PresetFieldProxy::addShipping(String const& tag, String const& nameSpace) {
    if (tag != PresetField::unitTag) {
        return m_field->addShipping(tag, nameSpace);
    }
    if (!m_appending && m_counter < m_field->shippingSize()) {
        return m_field->getValueShipping(m_counter++ - 1);
    }
    m_appending = true;
    std::size_t column = m_field->getColumnCount();
    if (!m_field->setColumnCount(column + 1)) {
        return nullptr;
    }
    return m_field->getValueShipping(column);
}

void PresetFieldProxy::setDefault() {
    m_field->setDefault();
    m_counter = 1;
    m_appending = false;
}

bool PresetFieldProxy::validate() {
    if (m_counter > 1 && !m_appending) {
        m_field->setColumnCount(m_counter - 1);
    }
    return m_field->validate();
}

} // namespace zelvane
