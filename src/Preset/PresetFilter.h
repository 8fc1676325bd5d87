// The optional restriction of a preset's menu: a string parameter cell holds the Guid of a key
// record of a given type, and a Guid field of that record lists the records the menu may show.
#pragma once

#include "Environment/String.h"
#include "Preset/PresetParameter.h"
#include "XML/XMLAssembly.h"

namespace zelvane {

class ParameterList;
class PresetDatabase;
class PresetKeyFilter;

class PresetFilter : public XMLAssembly {
public:
    static constexpr char const* tag = "filter";

    explicit PresetFilter(String const& type = String()) : m_type(type) {}
    PresetFilter(PresetFilter const&) = default;
    virtual PresetFilter* clone() const { return new PresetFilter(*this); }

    std::size_t shippingSize() const override { return 3; }
    // "type" and "keyFilterField" as attributes, then "keyParameter".
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    bool validate() override { return !m_type.empty(); }
    char const* getTag() const override { return tag; }

    // A new filter over the key record's field (owned by the caller), or null when the element's
    // key cell names no record of the filter's type with such a Guid field.
    PresetKeyFilter* getFilter(ParameterList const& element, PresetDatabase const& database) const;

    String const& getType() const { return m_type; }
    String const& getKeyFilterField() const { return m_keyFilterField; }
    void setKeyFilterField(String const& field) { m_keyFilterField = field; }
    PresetParameter& getKeyParameter() { return m_keyParameter; }

private:
    String m_type;
    String m_keyFilterField;
    PresetParameter m_keyParameter;
};

} // namespace zelvane
