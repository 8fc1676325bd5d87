#include "Database/Drawing.h"
#include "Element/ElevationReference.h"
#include "Element/Object.h"
#include "Element/ProxyElem.h"
#include "Element/SectionReference.h"

namespace zelvane {

namespace {

struct StartupCreator {
    element_id kind;
    Drawing::Factory factory;
};

// The element kinds the framework makes by itself, in registration order. An entry whose element
// class is not part of the framework yet has no factory and is left out.
const StartupCreator startupCreators[] = {
    {element_id(25), SectionReference::create},
    {element_id(33), ElevationReference::create},
    {element_id(29), ProxyElem::create},
    {element_id(6), Object::create},
};

} // namespace

void Drawing::startup() {
    for (const StartupCreator& entry : startupCreators) {
        if (entry.factory != nullptr) {
            addAdapter(entry.kind, entry.factory, false);
        }
    }
}

} // namespace zelvane
