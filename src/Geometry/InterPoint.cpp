#include "Geometry/InterPoint.h"

#include <utility>

namespace zelvane {

InterPoint::InterPoint(CadPoint const& point, CadPoint::Pos firstCode, CadPoint::Pos secondCode)
    : CadPoint(point.x(), point.y(), point.z()), m_intercept{Intercept(firstCode), Intercept(secondCode)} {}

InterPoint& InterPoint::operator=(CadPoint const& point) {
    CadPoint::operator=(point);
    return *this;
}

InterPoint* InterPoint::clone() const {
    return new InterPoint(*this);
}

void InterPoint::swapIntercept() {
    std::swap(m_intercept[0], m_intercept[1]);
}

} // namespace zelvane
