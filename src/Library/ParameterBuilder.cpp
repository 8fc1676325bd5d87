#include "Library/ParameterBuilder.h"

#include "Attribute/Attribute.h"
#include "Environment/ToString.h"
#include "Library/FillParameter.h"
#include "Library/LineStyleParameter.h"
#include "Library/MaterialParameter.h"
#include "Library/ParameterList.h"
#include "Library/PenParameter.h"

#include <memory>

namespace zelvane {

namespace {

constexpr attribute_id penKind = 1;
constexpr attribute_id lineKind = 3;
constexpr attribute_id fillKind = 4;
constexpr attribute_id finishKind = 6;
constexpr short unset = short(0xFFFC);

// The parameter type that holds attributes of the kind.
Int32 typeOfKind(attribute_id kind) {
    switch (kind) {
    case penKind:
        return 11;
    case lineKind:
        return 8;
    case fillKind:
        return 10;
    case finishKind:
        return 9;
    default:
        return 0;
    }
}

IntegerParameter* asKind(Parameter* parameter, attribute_id kind) {
    return parameter != nullptr && parameter->getTypeID() == typeOfKind(kind)
               ? dynamic_cast<IntegerParameter*>(parameter)
               : nullptr;
}

} // namespace

ParameterBuilder::ParameterBuilder(ParameterList* list) {
    setParameterList(list);
}

void ParameterBuilder::setParameterList(ParameterList* list) {
    m_list = list;
    m_line.method = m_finish.method = m_fill.method = 0;
    for (Kind& pen : m_pens) {
        pen.method = 0;
    }
    m_lastLine = m_lastFinish = m_lastFill = attribute_index(unset);
    m_lastPen = attribute_index();
    for (attribute_index& pen : m_lastPens) {
        pen = attribute_index();
    }
    m_penType = -1;
}

void ParameterBuilder::setLineParameter(const String& name, const String& description, Method method) {
    m_line = Kind{name, description, method};
}

void ParameterBuilder::setFinishParameter(const String& name, const String& description, Method method) {
    m_finish = Kind{name, description, method};
}

void ParameterBuilder::setFillParameter(const String& name, const String& description, Method method) {
    m_fill = Kind{name, description, method};
}

void ParameterBuilder::setPenParameter(PenType penType, const String& name, const String& description,
                                       Method method) {
    if (isPenType(penType)) {
        m_pens[penType] = Kind{name, description, method};
    }
}

void ParameterBuilder::setAttributeParameter(attribute_id kind, const String& name, const String& description,
                                             Method method, PenType penType) {
    switch (kind) {
    case penKind:
        setPenParameter(penType, name, description, method);
        break;
    case fillKind:
        setFillParameter(name, description, method);
        break;
    case finishKind:
        setFinishParameter(name, description, method);
        break;
    case lineKind:
        setLineParameter(name, description, method);
        break;
    default:
        break;
    }
}

Parameter* ParameterBuilder::allocateAttributeValue(const Attribute& attribute, std::size_t& row,
                                                    bool onlyIfChanged, PenType penType) {
    switch (attribute.getType()) {
    case penKind:
        return allocatePenValue(attribute, penType, row, onlyIfChanged);
    case fillKind:
        return allocateFillValue(attribute, row, onlyIfChanged);
    case finishKind:
        return allocateFinishValue(attribute, row, onlyIfChanged);
    case lineKind:
        return allocateLineValue(attribute, row, onlyIfChanged);
    default:
        return nullptr;
    }
}

Parameter* ParameterBuilder::allocateLineValue(const Attribute& lineStyle, std::size_t& row,
                                               bool onlyIfChanged) {
    attribute_index index = lineStyle.getIndex();
    bool same = onlyIfChanged && short(m_lastLine) != 0 && short(m_lastLine) == short(index);
    m_lastLine = index;
    return same ? nullptr : allocateParameter(lineKind, m_line, index, row);
}

Parameter* ParameterBuilder::allocateFillValue(const Attribute& fill, std::size_t& row, bool onlyIfChanged) {
    attribute_index index = fill.getIndex();
    bool same = onlyIfChanged && short(m_lastFill) != 0 && short(m_lastFill) == short(index);
    m_lastFill = index;
    return same ? nullptr : allocateParameter(fillKind, m_fill, index, row);
}

Parameter* ParameterBuilder::allocateFinishValue(const Attribute& finish, std::size_t& row,
                                                 bool onlyIfChanged) {
    attribute_index index = finish.getIndex();
    bool same = onlyIfChanged && short(m_lastFinish) != 0 && short(m_lastFinish) == short(index);
    m_lastFinish = index;
    return same ? nullptr : allocateParameter(finishKind, m_finish, index, row);
}

Parameter* ParameterBuilder::allocatePenValue(const Attribute& pen, PenType penType, std::size_t& row,
                                              bool onlyIfChanged) {
    if (!isPenType(penType)) {
        return nullptr;
    }
    bool same = onlyIfChanged && short(m_lastPens[penType]) != 0 && !isAttributeChange(pen, penType);
    m_lastPen = m_lastPens[penType] = pen.getIndex();
    return same ? nullptr : allocateParameter(penKind, m_pens[penType], pen.getIndex(), row);
}

bool ParameterBuilder::isAttributeChange(const Attribute& attribute, PenType penType) const {
    attribute_id kind = attribute.getType();
    if (getAttributeMethod(kind, penType) == -4) {
        return false;
    }
    if (kind == penKind && getAttributeMethod(kind, penType) != -3 && m_penType != penType) {
        return true;
    }
    return short(attribute.getIndex()) != short(getLastAttribute(kind) & 0xFFFF);
}

void ParameterBuilder::setLastPen(PenType penType, attribute_index index) {
    if (isPenType(penType)) {
        m_lastPen = m_lastPens[penType] = index;
        m_penType = penType;
    }
}

void ParameterBuilder::setLastAttribute(attribute_id kind, attribute_index index, PenType penType) {
    switch (kind) {
    case penKind:
        setLastPen(penType, index);
        break;
    case lineKind:
        m_lastLine = index;
        break;
    case finishKind:
        m_lastFinish = index;
        break;
    case fillKind:
        m_lastFill = index;
        break;
    default:
        break;
    }
}

UInt32 ParameterBuilder::getLastAttribute(attribute_id kind) const {
    auto packed = [](attribute_index index) {
        return UInt32(UInt16(index.getIndex())) | (UInt32(index.getExtension()) << 16);
    };
    switch (kind) {
    case penKind:
        return packed(m_lastPen);
    case lineKind:
        return packed(m_lastLine);
    case finishKind:
        return packed(m_lastFinish);
    case fillKind:
        return packed(m_lastFill);
    default:
        return 0;
    }
}

ParameterBuilder::Method ParameterBuilder::getAttributeMethod(attribute_id kind, PenType penType) const {
    switch (kind) {
    case penKind:
        return isPenType(penType) ? m_pens[penType].method : 0;
    case lineKind:
        return m_line.method;
    case finishKind:
        return m_finish.method;
    case fillKind:
        return m_fill.method;
    default:
        return 0;
    }
}

bool ParameterBuilder::isAllocatedAttribute(attribute_id kind, PenType penType) const {
    switch (kind) {
    case penKind:
        return isPenType(penType) && short(m_lastPens[penType]) != 0;
    case lineKind:
        return short(m_lastLine) != 0;
    case finishKind:
        return short(m_lastFinish) != 0;
    case fillKind:
        return short(m_lastFill) != 0;
    default:
        return false;
    }
}

Parameter* ParameterBuilder::makeParameter(attribute_id kind, const String& name, const String& description,
                                           bool isArray) const {
    switch (kind) {
    case penKind:
        return new PenParameter(name, description, short(0), 0, 1, 1, isArray);
    case lineKind:
        return new LineStyleParameter(name, description, short(0), 0, 1, 1, isArray);
    case fillKind:
        return new FillParameter(name, description, short(0), 0, 1, 1, isArray);
    default:
        return new MaterialParameter(name, description, short(0), 0, 1, 1, isArray);
    }
}

Parameter* ParameterBuilder::allocateParameter(attribute_id kind, const Kind& settings, attribute_index value,
                                               std::size_t& row) {
    if (m_list == nullptr || settings.method == -3 || settings.method == -4) {
        return nullptr;
    }
    short index = value.getIndex();
    if (settings.method == -1) {
        IntegerParameter* target = nullptr;
        for (std::size_t i = 0; i < m_list->size() && target == nullptr; ++i) {
            Parameter* parameter = m_list->getParameter(i);
            if (parameter != nullptr && parameter->getName() == settings.name) {
                target = asKind(parameter, kind);
            }
        }
        if (target == nullptr) {
            target = static_cast<IntegerParameter*>(
                makeParameter(kind, settings.name, settings.description, false));
            m_list->addParameter(target);
        }
        row = 0;
        target->setValue(index, 0, 0);
        return target;
    }
    if (settings.method == -2) {
        IntegerParameter* target = asKind(m_list->getParameter(settings.name), kind);
        if (target == nullptr) {
            return nullptr;
        }
        if (!target->isArray()) {
            return allocateTable(kind, settings, index, row);
        }
        row = 0;
        target->setValue(index, 0, 0);
        return target;
    }
    if (settings.method == 0) {
        return allocateTable(kind, settings, index, row);
    }
    return allocateSeries(kind, settings, index, row);
}

Parameter* ParameterBuilder::allocateTable(attribute_id kind, const Kind& settings, short value,
                                           std::size_t& row) {
    Parameter* found = m_list->getParameter(settings.name);
    IntegerParameter* table = asKind(found, kind);
    if (found != nullptr && table == nullptr) {
        return nullptr; // the name holds another kind of parameter
    }
    if (table == nullptr) {
        table =
            static_cast<IntegerParameter*>(makeParameter(kind, settings.name, settings.description, true));
        m_list->addParameter(table);
    }
    const IntegerParameter& cells = *table;
    std::size_t rows = table->getRowCount();
    if (cells.getValue(0, 0) == 0) {
        row = 0;
    } else {
        row = rows;
        for (std::size_t r = 0; r < rows; ++r) {
            if (cells.getValue(r, 0) == value) {
                row = r;
                break;
            }
        }
    }
    if (row >= rows && !table->isArray()) {
        return nullptr; // a scalar holds one value only
    }
    table->setValue(value, row, 0);
    return table;
}

Parameter* ParameterBuilder::allocateSeries(attribute_id kind, const Kind& settings, short value,
                                            std::size_t& row) {
    unsigned int largest = 0;
    unsigned int baseLength = settings.name.size();
    for (std::size_t i = 0; i < m_list->size(); ++i) {
        IntegerParameter* parameter = asKind(m_list->getParameter(i), kind);
        if (parameter == nullptr || parameter->getName().substr(0, baseLength) != settings.name) {
            continue;
        }
        const IntegerParameter& cells = *parameter;
        short held = cells.getValue(0, 0);
        if (held == 0 || held == value) {
            row = 0;
            parameter->setValue(value, 0, 0);
            return parameter;
        }
        ToUInt32 number(parameter->getName().substr(baseLength, unsigned(settings.method)));
        if (number.isValid() && number.getValue() > largest) {
            largest = number.getValue();
        }
    }
    String name = settings.name;
    name += ToString(largest + 1);
    auto* added = static_cast<IntegerParameter*>(makeParameter(kind, name, settings.description, false));
    m_list->addParameter(added);
    row = 0;
    added->setValue(value, 0, 0);
    return added;
}

} // namespace zelvane
