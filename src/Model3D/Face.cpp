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
    const Data& face = data();
    if (!face.facets) {
        throw std::out_of_range("no facets");
    }
    std::shared_ptr<const SimpleFace::Normals> normals;
    if (face.facetNormals && i < face.facetNormals->size()) {
        normals = (*face.facetNormals)[i];
    }
    return SimpleFace(face.facets->at(i), face.normal, normals);
}

CadPoint Face::textureCoordinates(const CadPoint& point) const {
    ModelerAPI::TextureCoordinate uv{0.0, 0.0};
    if (m_data == nullptr || m_data->polygon == nullptr ||
        !m_data->polygon->GetTextureCoordinate(ModelerAPI::Vertex(point), &uv)) {
        return CadPoint();
    }
    if (m_lookup != nullptr) {
        Finish finish = getFinish();
        double width = finish.getTextureScaleX();
        double height = finish.getTextureScaleY();
        if (finish.hasTexture() && width > 1e-9 && height > 1e-9) {
            uv.u /= width;
            uv.v /= height;
        }
    }
    return CadPoint(uv);
}

std::size_t Face::holeSize() const {
    return m_data != nullptr
               ? std::size_t(std::count(m_data->edges->begin(), m_data->edges->end(), separator))
               : 0;
}

} // namespace zelvane
