// A part placed in walls or roofs: doors, windows and skylights.
#pragma once

#include "Library/ParametricSource.h"

namespace zelvane {

class OpeningSource : public ParametricSource {
public:
    using ParametricSource::ParametricSource;
    OpeningSource(const OpeningSource&) = default;
};

} // namespace zelvane
