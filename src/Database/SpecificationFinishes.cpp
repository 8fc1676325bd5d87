#include "Database/SpecificationFinishes.h"

#include "Database/AttributeLink.h"

namespace zelvane {

Finish SpecificationFinishes::getFinish(int material) {
    return getFinish(attribute_index(short(material)));
}

Finish SpecificationFinishes::getFinish(attribute_index index) {
    return Finish(AttributeLink(index, Finish::ID, m_specification));
}

} // namespace zelvane
