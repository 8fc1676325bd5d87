// A 16-bit integer parameter.
#pragma once

#include "Attribute/AttributeID.h"
#include "Library/ParameterForm.h"

namespace zelvane {

class Attribute;
class Specification;

class IntegerParameter : public ParameterForm<short> {
public:
    using ParameterForm<short>::ParameterForm;
    IntegerParameter(const IntegerParameter&) = default;

    IntegerParameter* clone() const override { return new IntegerParameter(*this); }
    Int32 getTypeID() const override { return 1; }
    Int32 getCommandTypeID() const override { return MDCLPar_int; }

protected:
    // The attribute of the given kind whose index is the first cell, loaded from the attribute
    // set: a new wrapper the caller deletes, or null (also when there is no set).
    Attribute* loadAttribute(Specification* specification, attribute_id kind) const;
};

} // namespace zelvane
