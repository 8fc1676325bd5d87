// Writes attribute values (pens, line styles, fills and finishes) into a parameter list as GDL
// attribute parameters: into one named parameter, a table of distinct values, or a numbered series
// of parameters, as each kind's allocation method says. It remembers the last attribute written
// per kind, so that unchanged values can be skipped.
#pragma once

#include "Attribute/AttributeID.h"
#include "Attribute/AttributeIndex.h"
#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"

#include <cstddef>

namespace zelvane {

class Attribute;
class Parameter;
class ParameterList;

class ParameterBuilder {
public:
    // -4, -3: nothing written; -1: one parameter of the name, made when missing; -2: one existing
    // parameter only; 0: a table of distinct values; any other value m: a numbered series whose
    // numbers have at most m digits.
    using Method = Int32;
    // 0 to 3; -1 none.
    using PenType = Int32;
    static constexpr std::size_t penTypes = 4;

    explicit ParameterBuilder(ParameterList* list = nullptr);

    void setParameterList(ParameterList* list);
    void setLineParameter(const String& name, const String& description, Method method);
    void setFinishParameter(const String& name, const String& description, Method method);
    void setFillParameter(const String& name, const String& description, Method method);
    void setPenParameter(PenType penType, const String& name, const String& description, Method method);
    void setAttributeParameter(attribute_id kind, const String& name, const String& description,
                               Method method, PenType penType);

    // The parameter written (the list owns it) and the row used, or null when nothing was written.
    Parameter* allocateAttributeValue(const Attribute& attribute, std::size_t& row, bool onlyIfChanged,
                                      PenType penType);
    Parameter* allocateLineValue(const Attribute& lineStyle, std::size_t& row, bool onlyIfChanged);
    Parameter* allocateFillValue(const Attribute& fill, std::size_t& row, bool onlyIfChanged);
    Parameter* allocateFinishValue(const Attribute& finish, std::size_t& row, bool onlyIfChanged);
    Parameter* allocatePenValue(const Attribute& pen, PenType penType, std::size_t& row, bool onlyIfChanged);

    bool isAttributeChange(const Attribute& attribute, PenType penType) const;
    void setLastPen(PenType penType, attribute_index index);
    void setLastAttribute(attribute_id kind, attribute_index index, PenType penType);
    // The index and extension byte of the kind's last attribute (for pens, the last of any type).
    UInt32 getLastAttribute(attribute_id kind) const;
    Method getAttributeMethod(attribute_id kind, PenType penType) const;
    bool isAllocatedAttribute(attribute_id kind, PenType penType) const;

    // The names of the gradient fills the script writer defined, empty until it does.
    String& linearGradientName() { return m_linearGradient; }
    String& radialGradientName() { return m_radialGradient; }

private:
    struct Kind {
        String name;
        String description;
        Method method = 0;
    };

    Parameter* allocateParameter(attribute_id kind, const Kind& settings, attribute_index value,
                                 std::size_t& row);
    Parameter* allocateTable(attribute_id kind, const Kind& settings, short value, std::size_t& row);
    Parameter* allocateSeries(attribute_id kind, const Kind& settings, short value, std::size_t& row);
    Parameter* makeParameter(attribute_id kind, const String& name, const String& description,
                             bool isArray) const;
    static bool isPenType(PenType penType) { return penType >= 0 && penType < PenType(penTypes); }

    ParameterList* m_list = nullptr;
    Kind m_line;
    Kind m_finish;
    Kind m_fill;
    String m_linearGradient;
    String m_radialGradient;
    Kind m_pens[penTypes];
    attribute_index m_lastLine;
    attribute_index m_lastFinish;
    attribute_index m_lastFill;
    attribute_index m_lastPen;
    attribute_index m_lastPens[penTypes];
    PenType m_penType = -1;
};

} // namespace zelvane
