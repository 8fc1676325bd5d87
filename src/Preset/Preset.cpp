#include "Preset/Preset.h"

#include "Preset/PresetFilter.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include <algorithm>

namespace zelvane {

namespace {

constexpr char const* typeTag = "type";
constexpr char const* menuTag = "menuName";
constexpr char const* filterTag = "filter";
constexpr char const* nameTag = "nameParameter";
constexpr char const* echoTag = "echoParameter";
constexpr char const* keyTag = "keyParameter";
constexpr char const* statusTag = "statusParameter";
constexpr char const* settingsTag = "settingList";
constexpr char const* rangeTag = "indexRange";
constexpr char const* subtypeTag = "subtype";

// A parameter without a name is left out: read back, it would not be valid.
Shipping* namedParameter(PresetParameter& parameter, char const* tag) {
    return parameter.getName().empty() ? nullptr : new XMLAssemblyProxy(parameter, tag);
}

} // namespace

Preset::Preset(String const& type, String const& menuName) : m_type(type), m_menuName(menuName) {}

Preset::Preset(Preset const& other)
    : XMLArray(other), m_type(other.m_type), m_menuName(other.m_menuName),
      m_filter(other.m_filter != nullptr ? other.m_filter->clone() : nullptr),
      m_nameParameter(other.m_nameParameter), m_echoParameter(other.m_echoParameter),
      m_keyParameter(other.m_keyParameter), m_statusParameter(other.m_statusParameter),
      m_settingList(other.m_settingList), m_indexRange(other.m_indexRange), m_subtypes(other.m_subtypes) {}

Preset::~Preset() = default;

Shipping* Preset::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<String>(m_type, typeTag, true);
    case 1:
        return new XMLTypeProxy<String>(m_menuName, menuTag, true);
    }
    if (attributes) {
        return nullptr;
    }
    switch (index) {
    case 2:
        return m_filter != nullptr ? new XMLAssemblyProxy(*m_filter, filterTag) : nullptr;
    case 3:
        return namedParameter(m_nameParameter, nameTag);
    case 4:
        return namedParameter(m_echoParameter, echoTag);
    case 5:
        return namedParameter(m_keyParameter, keyTag);
    case 6:
        return namedParameter(m_statusParameter, statusTag);
    case 7:
        return new XMLArrayProxy(m_settingList, settingsTag);
    case 8:
        return new XMLAssemblyProxy(m_indexRange, rangeTag);
    default:
        if (index - 9 >= m_subtypes.size()) {
            return nullptr;
        }
        return new XMLTypeProxy<unsigned int>(m_subtypes[index - 9], subtypeTag);
    }
}

Shipping* Preset::addShipping(String const& tag, String const&) {
    if (tag == typeTag) {
        return getShipping(0, true);
    }
    if (tag == menuTag) {
        return getShipping(1, true);
    }
    if (tag == filterTag) {
        m_filter = std::make_unique<PresetFilter>();
        return new XMLAssemblyProxy(*m_filter, filterTag);
    }
    PresetParameter* parameters[] = {&m_nameParameter, &m_echoParameter, &m_keyParameter, &m_statusParameter};
    char const* tags[] = {nameTag, echoTag, keyTag, statusTag};
    for (std::size_t k = 0; k < 4; ++k) {
        if (tag == tags[k]) {
            return new XMLAssemblyProxy(*parameters[k], tags[k]);
        }
    }
    if (tag == settingsTag) {
        return new XMLArrayProxy(m_settingList, settingsTag);
    }
    if (tag == rangeTag) {
        return new XMLAssemblyProxy(m_indexRange, rangeTag);
    }
    if (tag == subtypeTag) {
        m_subtypes.push_back(0);
        return new XMLTypeProxy<unsigned int>(m_subtypes.back(), subtypeTag);
    }
    return nullptr;
}

void Preset::setDefault() {
    m_type.clear();
    m_menuName.clear();
    m_filter.reset();
    m_nameParameter.setDefault();
    m_echoParameter.setDefault();
    m_keyParameter.setDefault();
    m_statusParameter.setDefault();
    m_settingList.setDefault();
    // A definition without a range serves the first instance, as a new one does; a range element
    // that is read must give its count.
    m_indexRange = IndexRange();
    m_subtypes.clear();
}

void Preset::setFilter(PresetFilter* filter) {
    m_filter.reset(filter);
}

bool Preset::isClassSupported(std::uint32_t subtype) const {
    return m_subtypes.empty() || std::find(m_subtypes.begin(), m_subtypes.end(), subtype) != m_subtypes.end();
}

PresetParameter Preset::findParameterForField(String const& fieldName) const {
    for (PresetSetting const* setting : m_settingList) {
        if (setting->getField() == fieldName) {
            return setting->getParameter();
        }
    }
    return PresetParameter();
}

PresetParameter Preset::findFieldForParameter(String const& parameterName) const {
    PresetParameter result;
    for (PresetSetting const* setting : m_settingList) {
        if (setting->getParameter().getName() == parameterName) {
            result.setName(setting->getField());
            break;
        }
        for (std::size_t k = 0; k < setting->getLegacySize(); ++k) {
            PresetParameter const& legacy = setting->getLegacyParameter(k);
            if (legacy.getName() == parameterName) {
                result.setName(setting->getField());
                result.setColumn(legacy.getColumn());
            }
        }
    }
    return result;
}

} // namespace zelvane
