// Makes the parameter class that matches a host parameter record.
#pragma once

#include "Library/Parameter.h"

namespace zelvane {

struct MakeParameter {
    // From an add-on command record by its type: 1 text, 2 integer, 3 real; null for any other.
    // The caller owns the result.
    Parameter* operator()(const API_MDCLParameter& record) const;
    // From a library-part record by its type ID (1 to 15); null for any other, or for a record
    // that cannot be read.
    Parameter* operator()(const API_AddParType& record) const;
};

} // namespace zelvane
