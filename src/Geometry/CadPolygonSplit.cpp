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

namespace {

constexpr double fixedTol = 1e-5;

} // namespace

CadPoint getEdgeMidpoint(CadPolygon const& polygon, int vertex, int step) {
    if (step < 0)
        return PolyEdge(polygon[vertex + step], polygon[vertex]).midpoint();
    return PolyEdge(polygon[vertex], polygon[vertex + step]).midpoint();
}

void insertHoles(CadPolygon& piece, PolyList& holes, double) {
    for (auto it = holes.begin(); it != holes.end();) {
        if (*it != nullptr && piece.encloses(**it, fixedTol)) {
            piece.addHole(holes.release(it++));
        } else {
            ++it;
        }
    }
}

bool extractPolygonPath(CadPolygon const& contour, int i, IntersectList::iterator& position, int d,
                        CadPolygon& piece, IntersectList& list, double tol) {
    int n = contour.vertSize();
    if (n == 0 || piece.empty())
        return true;
    for (int step = 0; step < n; ++step) {
        int j = contour.wrapIndex(i + d);
        auto v = std::unique_ptr<PolyPoint>(contour[j].clone());
        if (d < 0)
            v->setSweep(-contour[i].getSweep());
        if (v->isEqual2D(*piece[0], tol)) {
            piece[0]->setSweep(v->getSweep());
            return true;
        }
        CadPoint at = *v;
        piece.push_back(v.release());
        for (auto it = list.begin(); it != list.end(); ++it) {
            if ((*it)->isEqual2D(at, tol)) {
                position = it;
                return false;
            }
        }
        i = j;
    }
    return true;
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
