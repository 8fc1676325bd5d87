// The floor plan's storeys, from the lowest up; the list owns them.
#pragma once

#include "Attribute/Storey.h"
#include "Environment/List.h"

namespace zelvane {

class StoreyList : public List<Storey> {
public:
    StoreyList* clone() const { return new StoreyList(*this); }
};

} // namespace zelvane
