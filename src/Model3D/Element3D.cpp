#include "Model3D/Element3D.h"

#include "Geometry/Cube.h"

namespace zelvane {

Cube* Element3D::getBounds() const {
    return new Cube(m_element.bounds);
}

} // namespace zelvane
