#include "Preset/PresetSetting.h"

#include "Library/IntegerParameter.h"
#include "Library/ParameterList.h"
#include "Preset/PresetRecord.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLTypeProxy.h"

#include <iterator>
#include <stdexcept>

namespace zelvane {

namespace {

constexpr char const* fieldTag = "field";
constexpr char const* parameterTag = "parameter";
constexpr char const* flagsTag = "flags";
constexpr char const* legacyTag = "legacy";

// The flag cell of instance i as an integer parameter and its row; null when there is none.
IntegerParameter* flagCell(ParameterList const& element, PresetParameter const& flags, std::uint64_t instance,
                           std::size_t& row) {
    if (flags.getName().empty() || !flags.rowOf(instance, row)) {
        return nullptr;
    }
    auto* parameter =
        dynamic_cast<IntegerParameter*>(const_cast<Parameter*>(element.getParameter(flags.getName())));
    return parameter != nullptr && row < parameter->getRowCount() ? parameter : nullptr;
}

} // namespace

PresetSetting::PresetSetting(String const& field, String const& parameter) : m_field(field) {
    m_parameter.setName(parameter);
}

PresetSetting::PresetSetting(PresetSetting const& other)
    : XMLArray(other), m_field(other.m_field), m_parameter(other.m_parameter), m_flags(other.m_flags),
      m_legacy(other.m_legacy != nullptr ? std::make_unique<LegacyList>(*other.m_legacy) : nullptr) {}

Shipping* PresetSetting::getShipping(std::size_t index, bool attributes) {
    switch (index) {
    case 0:
        return new XMLTypeProxy<String>(m_field, fieldTag, true);
    case 1:
        return attributes ? nullptr : new XMLAssemblyProxy(m_parameter, parameterTag);
    case 2:
        return attributes || m_flags.getName().empty() ? nullptr : new XMLAssemblyProxy(m_flags, flagsTag);
    default:
        if (attributes || index - 3 >= getLegacySize()) {
            return nullptr;
        }
        return new XMLAssemblyProxy(**std::next(m_legacy->begin(), static_cast<std::ptrdiff_t>(index - 3)),
                                    legacyTag);
    }
}

Shipping* PresetSetting::addShipping(String const& tag, String const&) {
    if (tag == fieldTag) {
        return getShipping(0, true);
    }
    if (tag == parameterTag) {
        return new XMLAssemblyProxy(m_parameter, parameterTag);
    }
    if (tag == flagsTag) {
        return new XMLAssemblyProxy(m_flags, flagsTag);
    }
    if (tag == legacyTag) {
        addLegacyParameter(new PresetParameter);
        return new XMLAssemblyProxy(*m_legacy->back(), legacyTag);
    }
    return nullptr;
}

void PresetSetting::setDefault() {
    m_field.clear();
    m_parameter.setDefault();
    m_flags.setDefault();
    m_legacy.reset();
}

PresetParameter const& PresetSetting::getLegacyParameter(std::size_t index) const {
    if (index >= getLegacySize()) {
        throw std::out_of_range("legacy parameter");
    }
    return **std::next(m_legacy->begin(), static_cast<std::ptrdiff_t>(index));
}

void PresetSetting::addLegacyParameter(PresetParameter* parameter) {
    std::unique_ptr<PresetParameter> held(parameter);
    if (held == nullptr) {
        return;
    }
    if (m_legacy == nullptr) {
        m_legacy = std::make_unique<LegacyList>();
    }
    m_legacy->push_back(held.release());
}

bool PresetSetting::applyTo(ParameterList& element, std::uint64_t instance,
                            PresetRecord const& record) const {
    PresetField const* field = record.getField(m_field);
    if (field == nullptr) {
        return false;
    }
    bool changed = false;
    std::size_t row = 0;
    if (IntegerParameter* flags = flagCell(element, m_flags, instance, row)) {
        short wanted = field->isIgnored() ? 1 : 0;
        if (flags->getValue(row, 0) != wanted) {
            flags->setValue(wanted, row, 0);
            changed = true;
        }
    }
    Parameter* parameter = element.getParameter(m_parameter.getName());
    if (parameter == nullptr || field->isIgnored() || !m_parameter.rowOf(instance, row) ||
        row >= parameter->getRowCount()) {
        return changed;
    }
    return field->applyTo(*parameter, row) || changed;
}

void PresetSetting::extractFrom(ParameterList const& element, std::uint64_t instance,
                                PresetRecord& record) const {
    PresetField* field = record.getField(m_field);
    if (field == nullptr) {
        return;
    }
    std::size_t row = 0;
    if (IntegerParameter* flags = flagCell(element, m_flags, instance, row)) {
        field->setIgnored((flags->getValue(row, 0) & 1) != 0);
    }
    Parameter const* parameter = element.getParameter(m_parameter.getName());
    if (parameter == nullptr || field->isIgnored() || !m_parameter.rowOf(instance, row) ||
        row >= parameter->getRowCount()) {
        return;
    }
    field->extractFrom(*parameter, row);
}

} // namespace zelvane
