// One record field that a preset carries: the parameter that receives the field's values, an
// optional integer parameter whose cell mirrors the field's ignored flag, and the parameter names
// under which legacy preset files stored the field.
#pragma once

#include "Environment/List.h"
#include "Environment/String.h"
#include "Preset/PresetParameter.h"
#include "XML/XMLArray.h"

#include <cstdint>
#include <memory>

namespace zelvane {

class ParameterList;
class PresetRecord;

class PresetSetting : public XMLArray {
public:
    static constexpr char const* tag = "presetSetting";
    using LegacyList = List<PresetParameter>;

    PresetSetting() = default;
    explicit PresetSetting(String const& field, String const& parameter = String());
    // Copies the parameters and every legacy entry.
    PresetSetting(PresetSetting const& other);
    PresetSetting& operator=(PresetSetting const&) = delete;
    virtual PresetSetting* clone() const { return new PresetSetting(*this); }

    std::size_t shippingSize() const override { return 3 + getLegacySize(); }
    // "field" as an attribute, "parameter", "flags" (only when named) and the "legacy" entries.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // "legacy" appends an entry.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // No field name, no legacy entries.
    void setDefault() override;
    bool validate() override { return !m_field.empty(); }
    char const* getTag() const override { return tag; }

    // Writes the record's field into the cells of instance i; true when a cell changed.
    virtual bool applyTo(ParameterList& element, std::uint64_t instance, PresetRecord const& record) const;
    // Reads the cells of instance i into the record's field.
    virtual void extractFrom(ParameterList const& element, std::uint64_t instance,
                             PresetRecord& record) const;

    std::size_t getLegacySize() const { return m_legacy == nullptr ? 0 : m_legacy->size(); }
    // std::out_of_range past the end.
    PresetParameter const& getLegacyParameter(std::size_t index) const;
    void addLegacyParameter(PresetParameter* parameter);

    String const& getField() const { return m_field; }
    PresetParameter& getParameter() { return m_parameter; }
    PresetParameter const& getParameter() const { return m_parameter; }
    PresetParameter& getFlags() { return m_flags; }
    PresetParameter const& getFlags() const { return m_flags; }

private:
    String m_field;
    PresetParameter m_parameter;
    PresetParameter m_flags;
    std::unique_ptr<LegacyList> m_legacy;
};

} // namespace zelvane
