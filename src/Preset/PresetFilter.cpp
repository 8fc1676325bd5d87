#include "Preset/PresetFilter.h"

#include "Library/ParameterList.h"
#include "Library/StringParameter.h"
#include "Preset/PresetDatabase.h"
#include "Preset/PresetFieldType.h"
#include "Preset/PresetKeyFilter.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include <algorithm>

namespace zelvane {

namespace {

constexpr char const* typeTag = "type";
constexpr char const* fieldTag = "keyFilterField";
constexpr char const* keyTag = "keyParameter";

} // namespace

bool PresetKeyFilter::isAccepted(PresetDatabase::Pair const& pair) const {
    return std::find(m_keys.begin(), m_keys.end(), pair.first) != m_keys.end();
}

Shipping* PresetFilter::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<String>(m_type, typeTag, true);
    case 1:
        return new XMLTypeProxy<String>(m_keyFilterField, fieldTag, true);
    case 2:
        return attributes || m_keyParameter.getName().empty() ? nullptr
                                                              : new XMLAssemblyProxy(m_keyParameter, keyTag);
    default:
        return nullptr;
    }
}

Shipping* PresetFilter::getShipping(String const& tag, String const&) {
    if (tag == typeTag) {
        return getShipping(0, true);
    }
    if (tag == fieldTag) {
        return getShipping(1, true);
    }
    if (tag == keyTag) {
        return new XMLAssemblyProxy(m_keyParameter, keyTag);
    }
    return nullptr;
}

void PresetFilter::setDefault() {
    m_type.clear();
    m_keyFilterField.clear();
    m_keyParameter.setDefault();
}

PresetKeyFilter* PresetFilter::getFilter(ParameterList const& element, PresetDatabase const& database) const {
    if (m_type.empty() || m_keyFilterField.empty() || m_keyParameter.getName().empty()) {
        return nullptr;
    }
    auto const* key = dynamic_cast<StringParameter const*>(element.getParameter(m_keyParameter.getName()));
    std::size_t row = 0;
    if (key == nullptr || !m_keyParameter.rowOf(0, row) || row >= key->getRowCount()) {
        return nullptr;
    }
    Guid guid(key->getValue(row, 0));
    PresetDatabase::RecordPtr record = database.findRecord(guid, false);
    if (record == nullptr || record->getTypeName() != m_type) {
        return nullptr;
    }
    using GuidField = PresetFieldType<IDSetting, Guid>;
    auto const* field = dynamic_cast<GuidField const*>(record->getField(m_keyFilterField));
    if (field == nullptr) {
        return nullptr;
    }
    std::vector<Guid> keys;
    for (std::size_t c = 0; c < field->getColumnCount(); ++c) {
        keys.push_back(field->getValue(c));
    }
    return new PresetKeyFilter(std::move(keys));
}

} // namespace zelvane
