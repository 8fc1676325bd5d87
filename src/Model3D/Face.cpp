#include "Model3D/Face.h"

#include "Model3D/FinishLookup.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace zelvane {

bool Face::m_isFacetLoaded = false;

Int32 Face::Data::edge(std::size_t j, bool isSigned) const {
    Int32 entry = edges->at(j);
    return isSigned || entry == separator ? entry : std::abs(entry) - 1;
}

void Face::Data::reverse() {
    std::reverse(edges->begin(), edges->end());
}

const Face::Data& Face::data() const {
    if (m_data == nullptr) {
        throw std::out_of_range("no face");
    }
    return *m_data;
}

Finish Face::getFinish() const {
    return m_lookup != nullptr ? const_cast<FinishLookup*>(m_lookup)->getFinish(int(getFinishIndex()))
                               : Finish();
}

Int32 Face::edge(std::size_t j, bool isSigned) const {
    return data().edge(j, isSigned);
}

SimpleFace Face::facet(std::size_t i) const {
    if (!data().facets) {
        throw std::out_of_range("no facets");
    }
    return SimpleFace(data().facets->at(i));
}

std::size_t Face::holeSize() const {
    return m_data != nullptr
               ? std::size_t(std::count(m_data->edges->begin(), m_data->edges->end(), separator))
               : 0;
}

} // namespace zelvane
