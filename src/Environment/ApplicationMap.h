// Objects keyed by a character position, such as the style and ruler runs of styled text.
#pragma once

#include "Environment/Map.h"

namespace zelvane {

template <typename T>
class ApplicationMap : public Map<unsigned int, T> {
public:
    using Map<unsigned int, T>::Map;
};

} // namespace zelvane
