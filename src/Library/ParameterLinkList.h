// An owning list of parameter links.
#pragma once

#include "Environment/Vector.h"
#include "Library/ParameterLink.h"

namespace zelvane {

class ParameterLinkList : public Vector<ParameterLink> {
public:
    using Vector<ParameterLink>::Vector;
};

} // namespace zelvane
