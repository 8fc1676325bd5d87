// CadPolygon cleaned and reshaped: self-intersecting outlines resolved into simple polygons, arcs
// replaced by chords, and repeated or collinear vertices removed.
#include "Geometry/CadPolygon.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/BoxSweep.h"
#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Geometry/Faceter.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double chordDeviation = 0.002;

// A point where the outline meets itself, to become a vertex: inside edge e at parameter u (the
// distance from the edge's start, or the angle turned along an arc).
struct Node {
    int edge;
    double u;
    CadPoint at;
};

// Asks the two edges for their meeting points; the first edge's codes land in the list's first
// intercept.
void meet(PolyEdge const& first, PolyEdge const& second, IntersectList& list, double tol) {
    if (first.isStraight()) {
        if (second.isStraight())
            first.asLine().intersectionWith2D(second.asLine(), list, tol);
        else {
            list.swapSpec();
            second.asArc().intersectionWith2D(first.asLine(), list, tol);
            list.swapSpec();
        }
    } else if (second.isStraight()) {
        first.asArc().intersectionWith2D(second.asLine(), list, tol);
    } else {
        first.asArc().intersectionWith2D(second.asArc(), list, tol);
    }
}

double parameterOn(PolyEdge const& edge, CadPoint const& point) {
    if (edge.isStraight())
        return edge.origin().lengthTo2D(point);
    CadArc arc = edge.asArc();
    double a0 = std::atan2(edge.origin().y() - arc.centre().y(), edge.origin().x() - arc.centre().x());
    double a = std::atan2(point.y() - arc.centre().y(), point.x() - arc.centre().x());
    return normalisedAngle(edge.getSweep() > 0.0 ? a - a0 : a0 - a);
}

// Every place where an edge of the outline meets another edge anywhere but at the vertex they share:
// points inside edges go to nodes, vertices where edges meet are marked. Only edges whose boxes
// meet are compared, found by a sweep over the boxes in x.
void findMeetings(CadPolygon const& w, double tol, std::vector<Node>& nodes, std::vector<char>& marked) {
    int n = w.vertSize();
    BoxSweep sweep(2.0 * std::max(tol, fixedTol));
    for (int e = 0; e < n; ++e) {
        PolyEdge edge = w.edgeTo(e);
        CadPoint const& a = edge.origin();
        CadPoint const& b = edge.end();
        if (!edge.isStraight()) {
            CadArc arc = edge.asArc();
            double r = arc.getRadius();
            sweep.add(arc.centre().x() - r, arc.centre().x() + r, arc.centre().y() - r, arc.centre().y() + r,
                      e);
        } else {
            sweep.add(std::min(a.x(), b.x()), std::max(a.x(), b.x()), std::min(a.y(), b.y()),
                      std::max(a.y(), b.y()), e);
        }
    }
    // Edge e runs from vertex e-1 to vertex e.
    sweep.forEachOverlap([&](int later, int earlier) {
        int i = std::min(later, earlier);
        int j = std::max(later, earlier);
        // Edges i and j share vertex i when j follows i, and vertex j when i is the closing edge 0
        // and j the last.
        int shared = j == i + 1 ? i : (i == 0 && j == n - 1 ? j : -1);
        PolyEdge first = w.edgeTo(i);
        PolyEdge second = w.edgeTo(j);
        if (shared >= 0 && n > 2 && first.isStraight() && second.isStraight()) {
            // Straight neighbours nearly in line meet all along within the tolerance: they meet
            // elsewhere only where one folds back over the other, at the other's far end.
            PolyEdge const& arriving = shared == i ? first : second;
            PolyEdge const& leaving = shared == i ? second : first;
            int arrivingEdge = shared == i ? i : j;
            int leavingEdge = shared == i ? j : i;
            if (arriving.positionOf2D(leaving.end(), tol) == CadPoint::along) {
                nodes.push_back({arrivingEdge, parameterOn(arriving, leaving.end()), leaving.end()});
                marked[std::size_t(leavingEdge)] = 1;
            }
            if (leaving.positionOf2D(arriving.origin(), tol) == CadPoint::along) {
                nodes.push_back({leavingEdge, parameterOn(leaving, arriving.origin()), arriving.origin()});
                marked[std::size_t(w.wrapIndex(arrivingEdge - 1))] = 1;
            }
            return;
        }
        IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
        meet(first, second, list, tol);
        for (InterPoint const* point : list) {
            if (shared >= 0 && point->isEqual2D(w[shared], tol))
                continue;
            for (int side = 0; side < 2; ++side) {
                int e = side == 0 ? i : j;
                PolyEdge const& edge = side == 0 ? first : second;
                CadPoint::Pos code = point->getPosition(side == 0 ? InterPoint::first : InterPoint::second);
                if (code == CadPoint::atOrigin)
                    marked[std::size_t(w.wrapIndex(e - 1))] = 1;
                else if (code == CadPoint::atEnd)
                    marked[std::size_t(e)] = 1;
                else
                    nodes.push_back({e, parameterOn(edge, *point), *point});
            }
        }
    });
}

// The outline with every meeting point made a vertex, and for each vertex the place it stands for
// (vertices at one place share it), or -1 for a vertex where the outline does not meet itself.
void insertNodes(CadPolygon const& w, std::vector<Node>& nodes, std::vector<char> marked, double tol,
                 std::vector<PolyPoint>& run, std::vector<int>& place) {
    std::sort(nodes.begin(), nodes.end(),
              [](Node const& p, Node const& q) { return p.edge != q.edge ? p.edge < q.edge : p.u < q.u; });
    std::vector<std::size_t> nodeVertices;
    std::vector<std::size_t> runIndexOf(marked.size(), 0);
    std::size_t next = 0;
    int n = w.vertSize();
    for (int e = 0; e < n; ++e) {
        PolyEdge edge = w.edgeTo(e);
        double sweep = w[e].getSweep();
        bool arc = std::fabs(sweep) > fixedTol;
        double turned = 0.0;
        bool inserted = false;
        for (; next < nodes.size() && nodes[next].edge == e; ++next) {
            Node const& node = nodes[next];
            if (node.at.isEqual2D(edge.end(), tol)) {
                marked[std::size_t(e)] = 1;
                continue;
            }
            if (node.at.isEqual2D(edge.origin(), tol)) {
                marked[std::size_t(w.wrapIndex(e - 1))] = 1;
                continue;
            }
            if (inserted && node.at.isEqual2D(run.back(), tol))
                continue;
            PolyPoint vertex(w[e]);
            vertex.x() = node.at.x();
            vertex.y() = node.at.y();
            vertex.z() = node.at.z();
            vertex.setSweep(arc ? (sweep > 0.0 ? 1.0 : -1.0) * (node.u - turned) : 0.0);
            vertex.setID(0);
            if (arc)
                turned = node.u;
            run.push_back(vertex);
            nodeVertices.push_back(run.size() - 1);
            inserted = true;
        }
        PolyPoint end(w[e]);
        if (arc)
            end.setSweep(sweep - (sweep > 0.0 ? 1.0 : -1.0) * turned);
        run.push_back(end);
        runIndexOf[std::size_t(e)] = run.size() - 1;
    }
    for (std::size_t v = 0; v < marked.size(); ++v)
        if (marked[v])
            nodeVertices.push_back(runIndexOf[v]);
    // Places: node vertices within the tolerance of each other, found along x.
    std::sort(nodeVertices.begin(), nodeVertices.end());
    nodeVertices.erase(std::unique(nodeVertices.begin(), nodeVertices.end()), nodeVertices.end());
    std::sort(nodeVertices.begin(), nodeVertices.end(),
              [&run](std::size_t p, std::size_t q) { return run[p].x() < run[q].x(); });
    place.assign(run.size(), -1);
    for (std::size_t k = 0; k < nodeVertices.size(); ++k) {
        std::size_t v = nodeVertices[k];
        if (place[v] < 0)
            place[v] = int(v);
        for (std::size_t m = k + 1; m < nodeVertices.size() && run[nodeVertices[m]].x() - run[v].x() <= tol;
             ++m) {
            std::size_t other = nodeVertices[m];
            if (place[other] < 0 && run[other].isEqual2D(run[v], tol))
                place[other] = place[v];
        }
    }
}

// Cuts the outline into loops at every place it passes twice: walking it, a place met again closes
// the loop since its first visit. Each loop keeps the direction it had in the outline.
void cutLoops(CadPolygon const& pattern, std::vector<PolyPoint> const& run, std::vector<int> const& place,
              PolyList& out) {
    std::vector<std::size_t> stack;
    std::unordered_map<int, std::size_t> onStack;
    auto emit = [&](std::vector<PolyPoint const*> const& loop) {
        std::unique_ptr<CadPolygon> polygon(pattern.clone());
        for (PolyPoint const* vertex : loop)
            polygon->push_back(new PolyPoint(*vertex));
        if (polygon->isValid(false, fixedTol))
            out.push_back(polygon.release());
    };
    for (std::size_t v = 0; v < run.size(); ++v) {
        int at = place[v];
        auto seen = at >= 0 ? onStack.find(at) : onStack.end();
        if (seen == onStack.end()) {
            if (at >= 0)
                onStack[at] = stack.size();
            stack.push_back(v);
            continue;
        }
        std::vector<PolyPoint const*> loop;
        for (std::size_t k = seen->second + 1; k < stack.size(); ++k) {
            loop.push_back(&run[stack[k]]);
            if (place[stack[k]] >= 0)
                onStack.erase(place[stack[k]]);
        }
        loop.push_back(&run[v]);
        stack.resize(seen->second + 1);
        // The loop ends at this visit; the walk goes on from the first, with the arc that leaves here.
        emit(loop);
    }
    std::vector<PolyPoint const*> rest;
    for (std::size_t v : stack)
        rest.push_back(&run[v]);
    emit(rest);
}

} // namespace

int CadPolygon::resolveSelfIntersect(PolyList& out, double tol) const {
    CadPolygon w(*this);
    w.setHoles(nullptr);
    bool cleaned = w.removeDuplicates2D(tol);
    w.renumber(false);
    int n = w.vertSize();
    std::vector<Node> nodes;
    std::vector<char> marked(std::size_t(std::max(n, 0)), 0);
    if (n >= 2)
        findMeetings(w, tol, nodes, marked);
    bool meets = !nodes.empty() || std::find(marked.begin(), marked.end(), 1) != marked.end();
    if (!meets && !cleaned)
        return 0;
    PolyList done;
    CadPolygon pattern(w);
    pattern.initialise(w.isClosed(), w.isHole());
    if (meets) {
        std::vector<PolyPoint> run;
        std::vector<int> place;
        insertNodes(w, nodes, marked, tol, run, place);
        cutLoops(pattern, run, place, done);
    } else if (w.isValid(false, fixedTol)) {
        done.push_back(w.clone());
    }
    // Pieces of no more area than a strip of the tolerance across the polygon go.
    double smallest = 0.0;
    if (auto box = getBounds())
        smallest = tol * std::max(box->getEnd().x() - box->getOrigin().x(),
                                  box->getEnd().y() - box->getOrigin().y());
    double total = 0.0;
    for (auto it = done.begin(); it != done.end();) {
        double area = (*it)->getArea(true, false);
        if (std::fabs(area) <= smallest) {
            it = done.erase(it);
        } else {
            total += area;
            ++it;
        }
    }
    if (getHoleCount() > 0) {
        PolyList holes;
        for (int k = 0; k < getHoleCount(); ++k)
            if (getHole(k).resolveSelfIntersect(holes, tol) == 0)
                holes.push_back(getHole(k).clone());
        for (CadPolygon const* hole : holes) {
            double area = hole->getArea(true, false);
            if (std::fabs(area) <= smallest || area > total + fixedTol)
                continue;
            PolyList next;
            for (CadPolygon const* piece : done)
                piece->splitWith(*hole, nullptr, &next, tol);
            done.swap(next);
        }
    }
    int count = int(done.size());
    while (!done.empty())
        out.push_back(done.release(done.begin()));
    return count;
}

void CadPolygon::facet() {
    for (int k = vertSize(); k >= 1; --k) {
        PolyPoint& end = *(*this)[k];
        if (std::fabs(end.getSweep()) <= fixedTol)
            continue;
        PolyPoint const& start = *(*this)[k - 1];
        PolyEdge edge(start, end);
        Faceter faceter(start, end, true, false, chordDeviation);
        bool validArc = edge.asArc().isValid(fixedTol);
        end.setSweep(0.0);
        if (faceter.getStepAngle() == 0.0 || faceter.getCount() == 0) {
            // No grid angle lies inside the arc (it spans less than a step), or the arc is too tight
            // for the deviation: its midpoint alone keeps the chords close to it and the polygon valid.
            if (validArc)
                insert(begin() + k, new PolyPoint(edge.midpoint(), 0.0, 0));
            continue;
        }
        int at = k;
        do {
            ++faceter;
            insert(begin() + at++, new PolyPoint(faceter.getVertex(), 0.0, 0));
        } while (faceter.getIndex() != faceter.getCount());
    }
}

void CadPolygon::optimise(bool removeColinear, double tol) {
    if (vertSize() < 3)
        return;
    PolyPoint previous = *(*this)[-1];
    // Never fewer than two vertices, so that vertex 0 is always there to read.
    for (int i = 0; i <= vertSize() && vertSize() > 2;) {
        PolyPoint vertex = *(*this)[i];
        PolyPoint next = *(*this)[i + 1];
        if (vertex.isEqual2D(previous, tol)) {
            erase(begin() + wrapIndex(i));
            continue;
        }
        if (removeColinear && PolyEdge(previous, vertex).isColinearTo2D(PolyEdge(vertex, next), tol)) {
            (*this)[i + 1]->setSweep(next.getSweep() + vertex.getSweep());
            erase(begin() + wrapIndex(i));
            continue;
        }
        previous = vertex;
        ++i;
    }
}

} // namespace zelvane
