// New, unplaced elements of a rule key's kind (window, door, object or lamp by the key's part
// type), as the parameters button of the mapping dialog compares and sets tool defaults with them.
#pragma once

#include "Remap/ObjectMap.h"

#include <memory>

namespace zelvane {
class ComponentElem;
class ComponentLink;
} // namespace zelvane

namespace zelvane::remap {

// A new element of the part; null for a key of another part type.
std::shared_ptr<ComponentElem> makeElementFrom(ObjectMap::Key const& key, ComponentLink const& part);
// A new element of the host's tool defaults, with their parameters when asked; null for a key of
// another part type.
std::shared_ptr<ComponentElem> makeElementFrom(ObjectMap::Key const& key, bool withParameters);

} // namespace zelvane::remap
