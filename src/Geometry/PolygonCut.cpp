#include "Geometry/PolygonCut.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/BoxSweep.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/PieceTracer.h"
#include "Geometry/PolyList.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <utility>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;

// The point where the circle about (cx, cy) of radius r meets the line through p along the unit
// direction (dx, dy), both of them.
void lineCircle(CadPoint const& p, double dx, double dy, double cx, double cy, double r,
                std::vector<CadPoint>& out) {
    double fx = p.x() - cx, fy = p.y() - cy;
    double along = -(fx * dx + fy * dy);
    double footX = fx + along * dx, footY = fy + along * dy;
    double d2 = footX * footX + footY * footY;
    if (!(d2 < r * r))
        return;
    double h = std::sqrt(r * r - d2);
    out.emplace_back(cx + footX + h * dx, cy + footY + h * dy, 0.0);
    out.emplace_back(cx + footX - h * dx, cy + footY - h * dy, 0.0);
}

} // namespace

PolygonCut::PolygonCut(CadPolygon const& subject, CadPolygon const& cutter, double tol)
    : m_tol(std::max(tol, 0.0)) {
    if (subject.vertSize() > 0)
        m_reference = CadPoint(subject[0].x(), subject[0].y(), 0.0);
    load(subject, 0);
    load(cutter, 1);
    // The edges of the two polygons whose boxes meet, found by a sweep over the boxes in x.
    BoxSweep sweep(2.0 * std::max(m_tol, fixedTol));
    std::vector<std::pair<EdgeRef, int>> edges;
    for (int c = 0; c < int(m_contours.size()); ++c) {
        Contour const& contour = m_contours[std::size_t(c)];
        for (int k = 0; k < int(contour.run.size()); ++k) {
            EdgeRef edge{c, k};
            PolyPoint const& a = start(edge);
            PolyPoint const& b = end(edge);
            int id = int(edges.size());
            edges.emplace_back(edge, contour.polygon);
            if (!isStraightSweep(b.getSweep())) {
                double cx, cy, r;
                PieceTracer::arcCircle(a, b, b.getSweep(), cx, cy, r);
                sweep.add(cx - r, cx + r, cy - r, cy + r, id);
            } else {
                sweep.add(std::min(a.x(), b.x()), std::max(a.x(), b.x()), std::min(a.y(), b.y()),
                          std::max(a.y(), b.y()), id);
            }
        }
    }
    sweep.forEachOverlap([this, &edges](int later, int earlier) {
        auto const& box = edges[std::size_t(later)];
        auto const& other = edges[std::size_t(earlier)];
        if (other.second == box.second)
            return;
        // The subject's edge first.
        meet(box.second == 0 ? box.first : other.first, box.second == 0 ? other.first : box.first);
    });
    buildStretches();
}

void PolygonCut::load(CadPolygon const& polygon, int index) {
    for (int k = 0; k <= polygon.getHoleCount(); ++k) {
        CadPolygon const& shape = polygon.getShape(k);
        std::vector<PolyPoint> run;
        for (int i = 0; i < shape.vertSize(); ++i) {
            PolyPoint v(shape[i]);
            v.x() -= m_reference.x();
            v.y() -= m_reference.y();
            if (!run.empty() && v.isEqual2D(run.back(), m_tol))
                continue;
            run.push_back(v);
        }
        while (run.size() > 1 && run.back().isEqual2D(run.front(), m_tol)) {
            run.front().setSweep(run.back().getSweep());
            run.pop_back();
        }
        if (!PieceTracer::orient(run, k > 0))
            continue;
        Contour contour{index, {}};
        for (PolyPoint const& v : run)
            contour.run.push_back({v, newNode(v, index == 0 ? 0 : 2)});
        m_contours.push_back(contour);
    }
}

int PolygonCut::newNode(CadPoint const& point, int rank) {
    m_points.push_back(point);
    m_rank.push_back(rank);
    m_parent.push_back(int(m_parent.size()));
    m_owners.push_back(char(rank == 0 ? 1 : rank == 2 ? 2 : 3));
    return int(m_points.size()) - 1;
}

int PolygonCut::find(int node) {
    while (m_parent[std::size_t(node)] != node) {
        m_parent[std::size_t(node)] = m_parent[std::size_t(m_parent[std::size_t(node)])];
        node = m_parent[std::size_t(node)];
    }
    return node;
}

void PolygonCut::unite(int a, int b) {
    a = find(a);
    b = find(b);
    if (a == b)
        return;
    // The subject's vertices keep their places: they stand for what they are joined with.
    if (m_rank[std::size_t(b)] < m_rank[std::size_t(a)] ||
        (m_rank[std::size_t(b)] == m_rank[std::size_t(a)] && b < a))
        std::swap(a, b);
    m_parent[std::size_t(b)] = a;
    m_owners[std::size_t(a)] = char(m_owners[std::size_t(a)] | m_owners[std::size_t(b)]);
}

PolyPoint const& PolygonCut::start(EdgeRef const& edge) const {
    auto const& run = m_contours[std::size_t(edge.contour)].run;
    return run[std::size_t((edge.corner + int(run.size()) - 1) % int(run.size()))].point;
}

PolyPoint const& PolygonCut::end(EdgeRef const& edge) const {
    return m_contours[std::size_t(edge.contour)].run[std::size_t(edge.corner)].point;
}

double PolygonCut::parameter(EdgeRef const& edge, CadPoint const& point) const {
    PolyPoint const& a = start(edge);
    PolyPoint const& b = end(edge);
    double sweep = b.getSweep();
    if (isStraightSweep(sweep)) {
        double length = a.lengthTo2D(b);
        return length > 0.0
                   ? ((point.x() - a.x()) * (b.x() - a.x()) + (point.y() - a.y()) * (b.y() - a.y())) / length
                   : 0.0;
    }
    double cx, cy, r;
    PieceTracer::arcCircle(a, b, sweep, cx, cy, r);
    double a0 = std::atan2(a.y() - cy, a.x() - cx);
    double angle = std::atan2(point.y() - cy, point.x() - cx);
    return sweep > 0.0 ? normalisedAngle(angle - a0) : normalisedAngle(a0 - angle);
}

CadPoint PolygonCut::projected(EdgeRef const& edge, CadPoint const& point) const {
    PolyPoint const& a = start(edge);
    PolyPoint const& b = end(edge);
    double sweep = b.getSweep();
    if (isStraightSweep(sweep)) {
        double length = a.lengthTo2D(b);
        if (!(length > 0.0))
            return a;
        double t = parameter(edge, point) / length;
        return CadPoint(a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t,
                        a.z() + (b.z() - a.z()) * t);
    }
    double cx, cy, r;
    PieceTracer::arcCircle(a, b, sweep, cx, cy, r);
    double d = std::hypot(point.x() - cx, point.y() - cy);
    if (!(d > 0.0))
        return point;
    return CadPoint(cx + (point.x() - cx) * r / d, cy + (point.y() - cy) * r / d, point.z());
}

bool PolygonCut::onEdge(EdgeRef const& edge, CadPoint const& point, double& u) const {
    PolyPoint const& a = start(edge);
    PolyPoint const& b = end(edge);
    if (point.isEqual2D(a, m_tol) || point.isEqual2D(b, m_tol))
        return false;
    double sweep = b.getSweep();
    u = parameter(edge, point);
    if (isStraightSweep(sweep)) {
        double length = a.lengthTo2D(b);
        if (!(length > 0.0) || u <= 0.0 || u >= length)
            return false;
        double off = ((b.x() - a.x()) * (point.y() - a.y()) - (b.y() - a.y()) * (point.x() - a.x())) / length;
        return std::fabs(off) <= m_tol;
    }
    double cx, cy, r;
    PieceTracer::arcCircle(a, b, sweep, cx, cy, r);
    return u > 0.0 && u < std::fabs(sweep) &&
           std::fabs(std::hypot(point.x() - cx, point.y() - cy) - r) <= m_tol;
}

void PolygonCut::crossings(EdgeRef const& e, EdgeRef const& f, std::vector<CadPoint>& out) const {
    PolyPoint const& a = start(e);
    PolyPoint const& b = end(e);
    PolyPoint const& c = start(f);
    PolyPoint const& d = end(f);
    bool lineE = isStraightSweep(b.getSweep());
    bool lineF = isStraightSweep(d.getSweep());
    if (lineE && lineF) {
        auto side = [](CadPoint const& p, CadPoint const& q, CadPoint const& x) {
            return (q.x() - p.x()) * (x.y() - p.y()) - (q.y() - p.y()) * (x.x() - p.x());
        };
        double sa = side(c, d, a), sb = side(c, d, b);
        double sc = side(a, b, c), sd = side(a, b, d);
        if (((sa > 0.0 && sb < 0.0) || (sa < 0.0 && sb > 0.0)) &&
            ((sc > 0.0 && sd < 0.0) || (sc < 0.0 && sd > 0.0))) {
            double t = sa / (sa - sb);
            out.emplace_back(a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t,
                             a.z() + (b.z() - a.z()) * t);
        }
        return;
    }
    std::vector<CadPoint> candidates;
    if (lineE != lineF) {
        PolyPoint const& p = lineE ? a : c;
        PolyPoint const& q = lineE ? b : d;
        double length = p.lengthTo2D(q);
        if (!(length > 0.0))
            return;
        double cx, cy, r;
        PieceTracer::arcCircle(lineE ? c : a, lineE ? d : b, lineE ? d.getSweep() : b.getSweep(), cx, cy, r);
        lineCircle(p, (q.x() - p.x()) / length, (q.y() - p.y()) / length, cx, cy, r, candidates);
    } else {
        double x1, y1, r1, x2, y2, r2;
        PieceTracer::arcCircle(a, b, b.getSweep(), x1, y1, r1);
        PieceTracer::arcCircle(c, d, d.getSweep(), x2, y2, r2);
        double dx = x2 - x1, dy = y2 - y1;
        double dist = std::hypot(dx, dy);
        if (!(dist > 0.0) || dist >= r1 + r2 || dist <= std::fabs(r1 - r2))
            return;
        double along = (dist * dist + r1 * r1 - r2 * r2) / (2.0 * dist);
        double h = std::sqrt(std::max(0.0, r1 * r1 - along * along));
        double mx = x1 + dx * along / dist, my = y1 + dy * along / dist;
        candidates.emplace_back(mx - dy * h / dist, my + dx * h / dist, 0.0);
        candidates.emplace_back(mx + dy * h / dist, my - dx * h / dist, 0.0);
    }
    // Within the two arcs' sweeps (the ends are settled by the caller).
    for (CadPoint const& x : candidates) {
        bool within = true;
        for (EdgeRef const& edge : {e, f}) {
            double sweep = end(edge).getSweep();
            double u = parameter(edge, x);
            within = within && (isStraightSweep(sweep) ? u > 0.0 && u < start(edge).lengthTo2D(end(edge))
                                                       : u > 0.0 && u < std::fabs(sweep));
        }
        if (within)
            out.push_back(x);
    }
}

void PolygonCut::meet(EdgeRef const& a, EdgeRef const& b) {
    int nodeA = m_contours[std::size_t(a.contour)].run[std::size_t(a.corner)].node;
    int nodeB = m_contours[std::size_t(b.contour)].run[std::size_t(b.corner)].node;
    if (end(a).isEqual2D(end(b), m_tol))
        unite(nodeA, nodeB);
    double u;
    if (onEdge(b, end(a), u)) {
        m_insertions.push_back({b.contour, b.corner, u, nodeA});
        m_owners[std::size_t(find(nodeA))] |= 2;
    }
    if (onEdge(a, end(b), u)) {
        // The subject's edge keeps its line: the cutter's vertex moves onto it.
        int node = newNode(projected(a, end(b)), 0);
        unite(node, nodeB);
        m_insertions.push_back({a.contour, a.corner, u, node});
    }
    std::vector<CadPoint> points;
    crossings(a, b, points);
    for (CadPoint const& x : points) {
        // A crossing at a vertex is that vertex, put into the other edge.
        int vertex = -1;
        int on = 0;
        for (int k = 0; k < 2 && vertex < 0; ++k) {
            EdgeRef const& edge = k == 0 ? a : b;
            Contour const& contour = m_contours[std::size_t(edge.contour)];
            int n = int(contour.run.size());
            for (int corner : {edge.corner, (edge.corner + n - 1) % n}) {
                if (x.isEqual2D(contour.run[std::size_t(corner)].point, m_tol)) {
                    vertex = contour.run[std::size_t(corner)].node;
                    on = 1 - k;
                    break;
                }
            }
        }
        if (vertex < 0) {
            int node = newNode(x, 1);
            m_insertions.push_back({a.contour, a.corner, parameter(a, x), node});
            m_insertions.push_back({b.contour, b.corner, parameter(b, x), node});
            continue;
        }
        EdgeRef const& into = on == 0 ? a : b;
        CadPoint const& place = m_points[std::size_t(vertex)];
        if (place.isEqual2D(start(into), m_tol) || place.isEqual2D(end(into), m_tol))
            continue;
        m_insertions.push_back({into.contour, into.corner, parameter(into, place), vertex});
        m_owners[std::size_t(find(vertex))] |= char(on == 0 ? 1 : 2);
    }
}

void PolygonCut::buildStretches() {
    std::sort(m_insertions.begin(), m_insertions.end(), [](Insertion const& p, Insertion const& q) {
        if (p.contour != q.contour)
            return p.contour < q.contour;
        return p.corner != q.corner ? p.corner < q.corner : p.u < q.u;
    });
    // Nodes put into one edge at one place are one.
    for (std::size_t i = 1; i < m_insertions.size(); ++i) {
        Insertion const& p = m_insertions[i - 1];
        Insertion const& q = m_insertions[i];
        if (p.contour == q.contour && p.corner == q.corner &&
            m_points[std::size_t(p.node)].isEqual2D(m_points[std::size_t(q.node)], m_tol))
            unite(p.node, q.node);
    }
    std::size_t next = 0;
    for (int c = 0; c < int(m_contours.size()); ++c) {
        Contour const& contour = m_contours[std::size_t(c)];
        for (int k = 0; k < int(contour.run.size()); ++k) {
            PolyPoint const& b = contour.run[std::size_t(k)].point;
            double sweep = b.getSweep();
            bool arc = !isStraightSweep(sweep);
            double sign = sweep > 0.0 ? 1.0 : -1.0;
            int from =
                contour.run[std::size_t((k + int(contour.run.size()) - 1) % int(contour.run.size()))].node;
            double turned = 0.0;
            for (; next < m_insertions.size() && m_insertions[next].contour == c &&
                   m_insertions[next].corner == k;
                 ++next) {
                Insertion const& insertion = m_insertions[next];
                if (find(insertion.node) == find(from))
                    continue;
                m_stretches.push_back(
                    {from, insertion.node, arc ? sign * (insertion.u - turned) : 0.0, contour.polygon, c});
                if (arc)
                    turned = insertion.u;
                from = insertion.node;
            }
            m_stretches.push_back({from, contour.run[std::size_t(k)].node, arc ? sweep - sign * turned : 0.0,
                                   contour.polygon, c});
        }
    }
    for (Stretch& stretch : m_stretches) {
        stretch.from = find(stretch.from);
        stretch.to = find(stretch.to);
    }
    m_stretches.erase(
        std::remove_if(m_stretches.begin(), m_stretches.end(),
                       [](Stretch const& p) { return p.from == p.to && isStraightSweep(p.sweep); }),
        m_stretches.end());
}

CadPoint::Pos PolygonCut::probe(Stretch const& stretch, CadPolygon const& other, double tol) const {
    // The middle of the stretch (of the arc), else a quarter along it from either end.
    CadPoint const& p = m_points[std::size_t(stretch.from)];
    CadPoint const& q = m_points[std::size_t(stretch.to)];
    CadPoint::Pos position = CadPoint::along;
    for (double f : {0.5, 0.25, 0.75}) {
        CadPoint at(p.x() + (q.x() - p.x()) * f, p.y() + (q.y() - p.y()) * f, 0.0);
        if (!isStraightSweep(stretch.sweep)) {
            double cx, cy, r;
            PieceTracer::arcCircle(p, q, stretch.sweep, cx, cy, r);
            double angle = std::atan2(p.y() - cy, p.x() - cx) + stretch.sweep * f;
            at = CadPoint(cx + r * std::cos(angle), cy + r * std::sin(angle), 0.0);
        }
        position = other.positionOf(at, tol);
        if (position != CadPoint::along)
            break;
    }
    return position;
}

void PolygonCut::split(CadPolygon const& subject, CadPolygon const& pattern, PolyList* inside,
                       PolyList* outside) {
    if (inside == nullptr && outside == nullptr)
        return;
    // Relative copies for the positions of edges.
    CadPolygon relative[2] = {CadPolygon(0, 0, true), CadPolygon(0, 0, true)};
    for (Contour const& contour : m_contours) {
        CadPolygon* shape = &relative[contour.polygon];
        if (!shape->empty())
            shape = shape->addHole(nullptr);
        for (Corner const& corner : contour.run)
            shape->push_back(new PolyPoint(corner.point));
    }
    // Edges of one polygon along edges of the other, by their nodes.
    auto key = [this](int from, int to) { return (long long)(from) * (long long)(m_points.size()) + to; };
    std::unordered_map<long long, std::size_t> cutterEdges;
    for (std::size_t i = 0; i < m_stretches.size(); ++i)
        if (m_stretches[i].polygon == 1)
            cutterEdges.emplace(key(m_stretches[i].from, m_stretches[i].to), i);
    std::unordered_map<long long, std::size_t> subjectEdges;
    for (std::size_t i = 0; i < m_stretches.size(); ++i)
        if (m_stretches[i].polygon == 0)
            subjectEdges.emplace(key(m_stretches[i].from, m_stretches[i].to), i);
    auto sameArc = [](double s, double t) { return std::fabs(s - t) <= fixedTol; };

    PieceTracer in(m_reference, m_tol), out(m_reference, m_tol);
    for (CadPoint const& point : m_points) {
        in.addNode(PolyPoint(point, 0.0, 0));
        out.addNode(PolyPoint(point, 0.0, 0));
    }
    // Where each stretch lies: a run of stretches between nodes where the boundaries meet lies all on
    // one side, told by the first of them that a probe can tell.
    std::vector<CadPoint::Pos> position(m_stretches.size(), CadPoint::none);
    std::vector<char> shared(m_stretches.size(), 0); // 1 along the other running the same way, 2 against
    auto meets = [this](Stretch const& stretch, int node) {
        return (m_owners[std::size_t(node)] & (stretch.polygon == 0 ? 2 : 1)) != 0;
    };
    for (std::size_t begin = 0; begin < m_stretches.size();) {
        std::size_t finish = begin;
        while (finish < m_stretches.size() && m_stretches[finish].contour == m_stretches[begin].contour)
            ++finish;
        std::size_t length = finish - begin;
        std::size_t first = 0;
        while (first < length && !meets(m_stretches[begin + first], m_stretches[begin + first].from))
            ++first;
        if (first == length)
            first = 0;
        std::vector<std::size_t> run;
        auto settle = [&]() {
            if (run.empty())
                return;
            CadPoint::Pos found = CadPoint::along;
            if (run.size() == 1) {
                Stretch const& stretch = m_stretches[run[0]];
                auto& others = stretch.polygon == 0 ? cutterEdges : subjectEdges;
                auto same = others.find(key(stretch.from, stretch.to));
                auto against = others.find(key(stretch.to, stretch.from));
                if (same != others.end() && sameArc(m_stretches[same->second].sweep, stretch.sweep))
                    shared[run[0]] = 1;
                else if (against != others.end() &&
                         sameArc(m_stretches[against->second].sweep, -stretch.sweep))
                    shared[run[0]] = 2;
            }
            if (shared[run[0]] == 0) {
                // Stretches within the tolerance of the other boundary all along are told by their
                // vertices, else by a tenth of the tolerance.
                CadPolygon const& other = relative[1 - m_stretches[run[0]].polygon];
                for (std::size_t i = 0; i < run.size() && found == CadPoint::along; ++i)
                    found = probe(m_stretches[run[i]], other, m_tol);
                for (std::size_t i = 0; i + 1 < run.size() && found == CadPoint::along; ++i)
                    found = other.positionOf(m_points[std::size_t(m_stretches[run[i]].to)], m_tol);
                for (std::size_t i = 0; i < run.size() && found == CadPoint::along; ++i)
                    found = probe(m_stretches[run[i]], other, m_tol / 10.0);
            }
            for (std::size_t i : run)
                position[i] = found == CadPoint::along ? CadPoint::outside : found;
            run.clear();
        };
        for (std::size_t k = 0; k < length; ++k) {
            std::size_t i = begin + (first + k) % length;
            if (meets(m_stretches[i], m_stretches[i].from))
                settle();
            run.push_back(i);
        }
        settle();
        begin = finish;
    }
    bool anyIn = false, anyOut = false;
    for (std::size_t i = 0; i < m_stretches.size(); ++i) {
        Stretch const& stretch = m_stretches[i];
        if (shared[i] != 0) {
            // Both boundaries run here: the subject's edge bounds the inside when they run the same
            // way, the outside when they run against each other.
            if (stretch.polygon == 0) {
                (shared[i] == 1 ? in : out).addEdge(stretch.from, stretch.to, stretch.sweep);
                (shared[i] == 1 ? anyIn : anyOut) = true;
            }
            continue;
        }
        if (stretch.polygon == 0) {
            (position[i] == CadPoint::inside ? in : out).addEdge(stretch.from, stretch.to, stretch.sweep);
            (position[i] == CadPoint::inside ? anyIn : anyOut) = true;
        } else if (position[i] == CadPoint::inside) {
            in.addEdge(stretch.from, stretch.to, stretch.sweep);
            out.addEdge(stretch.to, stretch.from, -stretch.sweep);
            anyIn = anyOut = true;
        }
    }
    if (!anyIn || !anyOut) {
        PolyList* target = anyIn ? inside : outside;
        if (target != nullptr)
            target->push_back(subject.clone());
        return;
    }
    if (inside != nullptr)
        in.trace(pattern, *inside);
    if (outside != nullptr)
        out.trace(pattern, *outside);
}

} // namespace zelvane
