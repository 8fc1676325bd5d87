// CadPolygon cut by an infinite line into the pieces on either side of it.
#include "Geometry/CadPolygon.h"

#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/LineCut.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "Geometry/PolygonTracing.h"

#include <cmath>
#include <iterator>
#include <memory>

namespace zelvane {

CadPoint getEdgeMidpoint(CadPolygon const& polygon, int vertex, int step) {
    if (step < 0)
        return PolyEdge(polygon[vertex + step], polygon[vertex]).midpoint();
    return PolyEdge(polygon[vertex], polygon[vertex + step]).midpoint();
}

void CadPolygon::splitWith(LinearEquation const& line, PolyList* right, PolyList* left, double tol) const {
    if (right == nullptr && left == nullptr)
        return;
    CadPoint reference = vertSize() > 0 ? CadPoint((*this)[0]) : CadPoint();
    LineCut cut(line, reference, tol);
    cut.addContour(*this, false);
    for (int k = 0; k < getHoleCount(); ++k)
        cut.addContour(getHole(k), true);
    cut.finish();
    bool reachesRight = cut.reaches(CadPoint::inside);
    bool reachesLeft = cut.reaches(CadPoint::outside);
    if (!reachesRight || !reachesLeft) {
        // Not cut: the polygon goes whole to its side (to the right when it has no side).
        PolyList* target = reachesLeft ? left : right;
        if (target != nullptr)
            target->push_back(clone());
        return;
    }
    CadPolygon pattern(*this);
    pattern.initialise(isClosed(), isHole());
    if (right != nullptr)
        cut.trace(CadPoint::inside, pattern, *right);
    if (left != nullptr)
        cut.trace(CadPoint::outside, pattern, *left);
}

} // namespace zelvane
