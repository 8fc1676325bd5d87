// The preset instances a definition serves: indices row to row + count - 1.
#pragma once

#include "XML/XMLAssembly.h"

#include <cstdint>

namespace zelvane {

class IndexRange : public XMLAssembly {
public:
    static constexpr char const* tag = "indexRange";

    IndexRange() = default;
    IndexRange(std::uint64_t row, std::uint64_t count) : m_row(row), m_count(count) {}

    std::size_t shippingSize() const override { return 2; }
    // "row" and "count", both attributes.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override {
        m_row = 0;
        m_count = 0;
    }
    bool validate() override { return m_count != 0; }
    char const* getTag() const override { return tag; }

    std::uint64_t getRow() const { return m_row; }
    std::uint64_t getCount() const { return m_count; }
    // Whether the offset-th instance (counted from 0) exists: it lies in the range and its index
    // fits without wrapping.
    bool holds(std::uint64_t offset) const { return offset < m_count && m_row + offset >= m_row; }

private:
    unsigned long long m_row = 0;
    unsigned long long m_count = 1;
};

} // namespace zelvane
