#include "Remap/ParameterShipping.h"

#include "Library/AngleParameter.h"
#include "Library/BooleanParameter.h"
#include "Library/ColourParameter.h"
#include "Library/FillParameter.h"
#include "Library/IntegerParameter.h"
#include "Library/IntensityParameter.h"
#include "Library/LengthParameter.h"
#include "Library/LineStyleParameter.h"
#include "Library/LongParameter.h"
#include "Library/MaterialParameter.h"
#include "Library/ParameterList.h"
#include "Library/PenParameter.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"
#include "Library/SwitchParameter.h"
#include "XML/XMLTypeProxy.h"

#include <memory>

namespace zelvane::remap {

namespace {

// The kind names by the host's parameter type, from type 1.
constexpr char const* kindNames[] = {"short",  "length",    "angle",     "float",    "switch",
                                     "colour", "intensity", "linestyle", "material", "fill",
                                     "pen",    "string",    "boolean"};

template <typename P, typename T>
Parameter* makeForm(String const& name, std::size_t rows, std::size_t columns) {
    return new P(name, String(), T(), 0, rows, columns, false);
}

using Maker = Parameter* (*)(String const&, std::size_t, std::size_t);

struct Kind {
    char const* name;
    Maker make;
};

// Every cell is set from its text once made, so the initial values never show.
Kind const kinds[] = {
    {"angle", makeForm<AngleParameter, double>},
    {"boolean", makeForm<BooleanParameter, bool>},
    {"colour", makeForm<ColourParameter, short>},
    {"float", makeForm<RealParameter, double>},
    {"fill", makeForm<FillParameter, short>},
    {"intensity", makeForm<IntensityParameter, double>},
    {"length", makeForm<LengthParameter, double>},
    {"long", makeForm<LongParameter, int>},
    {"linestyle", makeForm<LineStyleParameter, short>},
    {"material", makeForm<MaterialParameter, short>},
    {"pen", makeForm<PenParameter, short>},
    {"short", makeForm<IntegerParameter, short>},
    {"string", makeForm<StringParameter, String>},
    {"switch", makeForm<SwitchParameter, bool>},
};

std::size_t cellCount(Parameter const& parameter) {
    return parameter.getRowCount() * parameter.getColumnCount();
}

} // namespace

ParameterShipping::ParameterShipping(Parameter const& parameter, KeptMarkup const* kept)
    : m_parameter(&parameter) {
    if (kept != nullptr) {
        m_kept = *kept;
    }
}

ParameterShipping::ParameterShipping(ParameterList& target, KeptParameters* kept)
    : m_target(&target), m_keptByName(kept) {}

KeptParameters::key_type ParameterShipping::keptKey(ParameterList const& list, std::size_t index) {
    String const& name = list.getParameter(index)->getName();
    std::size_t before = 0;
    for (std::size_t i = 0; i < index; ++i) {
        Parameter const* other = list.getParameter(i);
        before += other != nullptr && other->getName() == name;
    }
    return {name, before};
}

char const* ParameterShipping::kindOf(Parameter const& parameter) {
    // Long and short integers share their type; only the class tells them apart.
    if (dynamic_cast<LongParameter const*>(&parameter) != nullptr) {
        return "long";
    }
    Int32 type = parameter.getTypeID();
    if (type < 1 || type > Int32(sizeof kindNames / sizeof kindNames[0])) {
        return nullptr;
    }
    return kindNames[type - 1];
}

Parameter* ParameterShipping::make(String const& kind, String const& name, std::size_t rows,
                                   std::size_t columns) {
    for (Kind const& entry : kinds) {
        if (kind == entry.name) {
            return entry.make(name, rows, columns);
        }
    }
    return nullptr;
}

std::size_t ParameterShipping::shippingSize() const {
    return 3 + (m_parameter != nullptr ? cellCount(*m_parameter) : m_values.size());
}

Shipping* ParameterShipping::getShipping(std::size_t index, bool attributes) {
    if (m_parameter == nullptr) {
        return nullptr;
    }
    switch (index) {
    case 0:
        m_name = m_parameter->getName();
        return new XMLTypeProxy<String>(m_name, "name", true);
    case 1: {
        char const* kind = kindOf(*m_parameter);
        m_kind = kind != nullptr ? kind : "";
        return new XMLTypeProxy<String>(m_kind, "type", true);
    }
    case 2: {
        m_columns = int(m_parameter->getColumnCount());
        auto* columns = new XMLTypeProxy<int>(m_columns, "columnCount", true);
        columns->setEssential(m_columns != 1);
        return columns;
    }
    default:
        break;
    }
    std::size_t cell = index - 3;
    if (attributes || cell >= cellCount(*m_parameter)) {
        return nullptr;
    }
    std::size_t columns = m_parameter->getColumnCount();
    m_values.resize(1);
    m_values.front() = m_parameter->getValueText(cell / columns, cell % columns);
    return new XMLTypeProxy<String>(m_values.front(), "value");
}

Shipping* ParameterShipping::addShipping(String const& tag, String const&) {
    if (m_target == nullptr) {
        return nullptr;
    }
    if (tag == "name") {
        return new XMLTypeProxy<String>(m_name, "name", true);
    }
    if (tag == "type") {
        return new XMLTypeProxy<String>(m_kind, "type", true);
    }
    if (tag == "columnCount") {
        return new XMLTypeProxy<int>(m_columns, "columnCount", true);
    }
    if (tag == "value") {
        m_values.emplace_back();
        return new XMLTypeProxy<String>(m_values.back(), "value");
    }
    return nullptr;
}

void ParameterShipping::setDefault() {
    m_name.clear();
    m_kind.clear();
    m_columns = 1;
    m_values.clear();
    m_kept.clear();
}

bool ParameterShipping::validate() {
    if (m_target == nullptr) {
        return true;
    }
    if (m_name.empty() || m_columns < 1 || m_values.empty() ||
        m_values.size() % std::size_t(m_columns) != 0) {
        return false;
    }
    auto columns = std::size_t(m_columns);
    std::unique_ptr<Parameter> parameter(make(m_kind, m_name, m_values.size() / columns, columns));
    if (parameter == nullptr) {
        return false;
    }
    for (std::size_t cell = 0; cell < m_values.size(); ++cell) {
        parameter->setValueText(m_values[cell], cell / columns, cell % columns);
    }
    m_target->addParameter(parameter.release());
    if (m_keptByName != nullptr && !m_kept.empty()) {
        (*m_keptByName)[keptKey(*m_target, m_target->size() - 1)] = std::move(m_kept);
    }
    return true;
}

} // namespace zelvane::remap
