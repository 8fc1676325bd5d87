// The binding of one custom parameter of a rule: a "parameter" element with its name, kind and
// column count as attributes and one "value" element per cell, row by row. Written from a
// parameter; read into texts of its own, from which validate builds the typed parameter and hands
// it to the rule's list.
#pragma once

#include "Environment/String.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLArray.h"

#include <cstddef>
#include <deque>
#include <map>
#include <utility>

namespace zelvane {
class Parameter;
class ParameterList;
} // namespace zelvane

namespace zelvane::remap {

// What each parameter's element held beside its fields, by the parameter's name and the number of
// parameters of that name before it in the list: names may repeat, and each element keeps its own.
using KeptParameters = std::map<std::pair<String, std::size_t>, KeptMarkup>;

class ParameterShipping : public XMLArray {
public:
    // Writes the parameter, which is not owned, with what was kept of its element (where given).
    explicit ParameterShipping(Parameter const& parameter, KeptMarkup const* kept = nullptr);
    // Reads a parameter for the list, which is not owned; what its element holds beside its
    // fields goes to `kept` (where given) under the parameter's key.
    explicit ParameterShipping(ParameterList& target, KeptParameters* kept = nullptr);

    // The key of what was kept of the parameter at that position of the list.
    static KeptParameters::key_type keptKey(ParameterList const& list, std::size_t index);

    // The kind name of a parameter: its type's, "long" for a long integer; null for a parameter
    // without values, which is not written.
    static char const* kindOf(Parameter const& parameter);
    // A new parameter of the named kind and shape (the caller owns it), or null for another name.
    static Parameter* make(String const& kind, String const& name, std::size_t rows, std::size_t columns);

    char const* getTag() const override { return "parameter"; }
    // Name, kind and column count (attributes), then the cells.
    std::size_t shippingSize() const override;
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override;
    // Builds the parameter and appends it to the list; refuses an empty name, an unknown kind, a
    // column count below 1, and a number of values that is 0 or not a whole number of rows.
    bool validate() override;
    KeptMarkup* getKept() override { return &m_kept; }

private:
    Parameter const* m_parameter = nullptr;
    ParameterList* m_target = nullptr;
    String m_name;
    String m_kind;
    int m_columns = 1;
    std::deque<String> m_values;
    KeptMarkup m_kept;
    KeptParameters* m_keptByName = nullptr;
};

} // namespace zelvane::remap
