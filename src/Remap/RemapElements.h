// Points collected elements at the library parts their rules map them to, keeping an object's plan
// size, reference point, rotation and base level, and tells the user how many were remapped.
#pragma once

#include "Environment/String.h"
#include "Remap/ObjectMapTransaction.h"

#include <cstddef>

namespace zelvane {
class Drawing;
} // namespace zelvane

namespace zelvane::remap {

// Remaps the elements of every key whose rule lies in the chosen source of the kind, key by key in
// map order, each element loaded and put back through the drawing that holds it (the floor plan
// for elements collected in a model view such as a section; the given drawing for links naming
// none). Layers, locks and reservations opened for the run and the class-wide minimal-data switch
// are put back however the run ends. A notice gives the counts. Answers the number of elements
// changed.
std::size_t remapElements(ObjectMap::Type kind, Drawing& drawing,
                          const ObjectMapTransaction::ElementMap& elements, ObjectMap& objectMap,
                          const String& sourceName);

// The notice after a run, a line for each count that is not 0 (elements changed, sources without a
// valid target, elements not changed), or the nothing-found text when all are 0.
String remapNotice(std::size_t changed, std::size_t unmapped, std::size_t unchanged);

} // namespace zelvane::remap
