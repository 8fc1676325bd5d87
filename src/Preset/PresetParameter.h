// One cell of a library-part parameter that a preset definition names: the parameter, a row
// offset added to the preset instance index, and a column (used by legacy imports).
#pragma once

#include "Environment/String.h"
#include "XML/XMLAssembly.h"

#include <cstdint>

namespace zelvane {

class PresetParameter : public XMLAssembly {
public:
    static constexpr char const* tag = "presetParameter";

    explicit PresetParameter(std::uint64_t row = 0) : m_row(row) {}
    PresetParameter(PresetParameter const&) = default;
    PresetParameter& operator=(PresetParameter const&) = default;

    std::size_t shippingSize() const override { return 3; }
    // "name" as an attribute, "row" and "column" as elements.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    bool validate() override { return !m_name.empty(); }
    char const* getTag() const override { return tag; }
    virtual PresetParameter* clone() const { return new PresetParameter(*this); }

    // The row of instance i, false when the sum does not fit.
    bool rowOf(std::uint64_t instance, std::size_t& row) const;

    String const& getName() const { return m_name; }
    void setName(String const& name) { m_name = name; }
    std::uint64_t getRow() const { return m_row; }
    void setRow(std::uint64_t row) { m_row = row; }
    std::uint64_t getColumn() const { return m_column; }
    void setColumn(std::uint64_t column) { m_column = column; }

private:
    String m_name;
    unsigned long long m_row = 0;
    unsigned long long m_column = 0;
};

} // namespace zelvane
