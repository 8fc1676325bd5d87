// A complex profile of the project, and the elements it is available for.
#pragma once

#include "Attribute/RecordAttribute.h"

namespace zelvane {

class ComplexProfile : public RecordAttribute<ComplexProfile, API_ProfileAttrType, 11> {
public:
    using RecordAttribute::RecordAttribute;

    bool isForWalls() const { return data().wallType; }
    bool isForBeams() const { return data().beamType; }
    bool isForColumns() const { return data().coluType; }
    void setForWalls(bool on) { data().wallType = on; }
    void setForBeams(bool on) { data().beamType = on; }
    void setForColumns(bool on) { data().coluType = on; }
};

} // namespace zelvane
