#include "Geometry/LineCut.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PieceTracer.h"
#include "Geometry/PolyList.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace zelvane {

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

LineCut::LineCut(LinearEquation const& line, CadPoint const& reference, double tol)
    : m_reference(reference.x(), reference.y(), 0.0), m_tol(std::max(tol, 0.0)) {
    double length = std::hypot(line.a(), line.b());
    if (!(length > 0.0))
        return;
    m_valid = true;
    m_nx = line.a() / length;
    m_ny = line.b() / length;
    // Measured at the reference point, the equation keeps its precision for any distance from the
    // origin.
    m_offset = (line.a() * m_reference.x() + line.b() * m_reference.y() + line.c()) / length;
}

double LineCut::sideOf(CadPoint const& p) const {
    return m_nx * p.x() + m_ny * p.y() + m_offset;
}

double LineCut::along(CadPoint const& p) const {
    return -m_ny * p.x() + m_nx * p.y();
}

double LineCut::crossings(PolyPoint const& from, PolyPoint const& to, std::vector<PolyPoint>& out) const {
    double sweep = to.getSweep();
    if (isStraightSweep(sweep)) {
        double s0 = sideOf(from), s1 = sideOf(to);
        if ((s0 > m_tol && s1 < -m_tol) || (s0 < -m_tol && s1 > m_tol)) {
            double f = s0 / (s0 - s1);
            CadPoint at = from + (CadPoint(to) - CadPoint(from)) * f;
            out.emplace_back(at, 0.0, 0);
        }
        return sweep;
    }
    double cx, cy, r;
    PieceTracer::arcCircle(from, to, sweep, cx, cy, r);
    double d = sideOf(CadPoint(cx, cy, 0.0));
    if (!(std::fabs(d) < r))
        return sweep;
    double h = std::sqrt(r * r - d * d);
    double fx = cx - m_nx * d, fy = cy - m_ny * d;
    double start = std::atan2(from.y() - cy, from.x() - cx);
    struct Hit {
        double u;
        CadPoint at;
    };
    std::vector<Hit> hits;
    for (double k : {-1.0, 1.0}) {
        CadPoint at(fx - m_ny * h * k, fy + m_nx * h * k, 0.0);
        if (at.isEqual2D(from, m_tol) || at.isEqual2D(to, m_tol))
            continue;
        double angle = std::atan2(at.y() - cy, at.x() - cx);
        double u = sweep > 0.0 ? normalisedAngle(angle - start) : normalisedAngle(start - angle);
        if (u > 0.0 && u < std::fabs(sweep))
            hits.push_back({u, at});
    }
    std::sort(hits.begin(), hits.end(), [](Hit const& p, Hit const& q) { return p.u < q.u; });
    double done = 0.0;
    double sign = sweep > 0.0 ? 1.0 : -1.0;
    for (Hit const& hit : hits) {
        double f = hit.u / std::fabs(sweep);
        CadPoint at(hit.at.x(), hit.at.y(), from.z() + (to.z() - from.z()) * f);
        out.emplace_back(at, sign * (hit.u - done), 0);
        done = hit.u;
    }
    return sign * (std::fabs(sweep) - done);
}

int LineCut::addNode(PolyPoint const& vertex) {
    double s = sideOf(vertex);
    m_nodes.push_back({vertex, s, std::fabs(s) <= m_tol, int(m_nodes.size())});
    return int(m_nodes.size()) - 1;
}

void LineCut::addArrow(int from, int to, double sweep) {
    Node const& a = m_nodes[std::size_t(from)];
    Node const& b = m_nodes[std::size_t(to)];
    double chord = std::atan2(b.vertex.y() - a.vertex.y(), b.vertex.x() - a.vertex.x());
    double s = isStraightSweep(sweep) ? 0.0 : sweep;
    CadPoint::Pos side = CadPoint::along;
    bool lying = false;
    auto sideCode = [](double value) { return value > 0.0 ? CadPoint::inside : CadPoint::outside; };
    if (!a.on) {
        side = sideCode(a.side);
    } else if (!b.on) {
        side = sideCode(b.side);
    } else if (s != 0.0) {
        // An arc between two nodes on the line bulges to one side, unless it is flat.
        double cx, cy, r;
        PieceTracer::arcCircle(a.vertex, b.vertex, s, cx, cy, r);
        double mid = chord - pi / 2.0 * (s > 0.0 ? 1.0 : -1.0);
        double m = sideOf(CadPoint(cx + r * std::cos(mid), cy + r * std::sin(mid), 0.0));
        if (std::fabs(m) > m_tol)
            side = sideCode(m);
    }
    if (side == CadPoint::along) {
        // An edge along the line bounds the side its material lies on: its left.
        lying = true;
        side = along(b.vertex) > along(a.vertex) ? CadPoint::outside : CadPoint::inside;
    }
    m_arrows.push_back({from, to, s, side, lying});
}

void LineCut::addContour(CadPolygon const& contour, bool hole) {
    if (!m_valid)
        return;
    std::vector<PolyPoint> run;
    for (int i = 0; i < contour.vertSize(); ++i) {
        PolyPoint v(contour[i]);
        v.x() -= m_reference.x();
        v.y() -= m_reference.y();
        // A vertex at the place of the one before it adds no edge; of the two, the one nearer the
        // line gives the place, so that the cut does not depend on their order.
        if (!run.empty() && v.isEqual2D(run.back(), m_tol)) {
            if (std::fabs(sideOf(v)) < std::fabs(sideOf(run.back()))) {
                run.back().x() = v.x();
                run.back().y() = v.y();
            }
            continue;
        }
        run.push_back(v);
    }
    while (run.size() > 1 && run.back().isEqual2D(run.front(), m_tol)) {
        run.front().setSweep(run.back().getSweep());
        run.pop_back();
    }
    if (!PieceTracer::orient(run, hole))
        return;
    std::vector<PolyPoint> split;
    std::size_t n = run.size();
    for (std::size_t j = 0; j < n; ++j) {
        PolyPoint const& from = run[(j + n - 1) % n];
        PolyPoint const& to = run[j];
        // The rest of an arc stays with the end vertex.
        double rest = crossings(from, to, split);
        split.push_back(to);
        split.back().setSweep(rest);
    }
    int first = int(m_nodes.size());
    for (PolyPoint const& v : split)
        addNode(v);
    for (int j = first; j < int(m_nodes.size()); ++j) {
        int previous = j == first ? int(m_nodes.size()) - 1 : j - 1;
        addArrow(previous, j, m_nodes[std::size_t(j)].vertex.getSweep());
    }
}

void LineCut::finish() {
    std::vector<int> on;
    for (int i = 0; i < int(m_nodes.size()); ++i)
        if (m_nodes[std::size_t(i)].on)
            on.push_back(i);
    std::stable_sort(on.begin(), on.end(), [this](int p, int q) {
        return along(m_nodes[std::size_t(p)].vertex) < along(m_nodes[std::size_t(q)].vertex);
    });
    // Nodes at one place are one: the one nearest the line stands for the others.
    std::vector<int> places;
    std::size_t groupStart = 0;
    for (std::size_t g = 0; g <= on.size(); ++g) {
        if (g < on.size() && g > groupStart) {
            Node const& first = m_nodes[std::size_t(on[groupStart])];
            Node const& node = m_nodes[std::size_t(on[g])];
            if (along(node.vertex) - along(first.vertex) <= m_tol &&
                node.vertex.isEqual2D(first.vertex, 2.0 * m_tol))
                continue;
        }
        if (g > groupStart) {
            int best = on[groupStart];
            for (std::size_t i = groupStart; i < g; ++i)
                if (std::fabs(m_nodes[std::size_t(on[i])].side) < std::fabs(m_nodes[std::size_t(best)].side))
                    best = on[i];
            for (std::size_t i = groupStart; i < g; ++i)
                m_nodes[std::size_t(on[i])].merged = best;
            places.push_back(best);
        }
        groupStart = g;
    }
    std::vector<Arrow> arrows;
    for (Arrow arrow : m_arrows) {
        arrow.from = m_nodes[std::size_t(arrow.from)].merged;
        arrow.to = m_nodes[std::size_t(arrow.to)].merged;
        if (arrow.from != arrow.to || !isStraightSweep(arrow.sweep))
            arrows.push_back(arrow);
    }
    m_arrows.swap(arrows);
    // Just beside the line, the material begins or ends at every edge that leaves a node into that
    // side; the stretch after a node is a cut when material lies on both sides of it.
    std::vector<int> rightEnds(m_nodes.size(), 0), leftEnds(m_nodes.size(), 0);
    for (Arrow const& arrow : m_arrows) {
        for (int end : {arrow.from, arrow.to}) {
            if (!m_nodes[std::size_t(end)].on || arrow.lying)
                continue;
            if (arrow.side == CadPoint::inside)
                ++rightEnds[std::size_t(end)];
            else if (arrow.side == CadPoint::outside)
                ++leftEnds[std::size_t(end)];
        }
    }
    bool right = false, left = false;
    for (std::size_t k = 0; k + 1 < places.size(); ++k) {
        int at = places[k];
        int next = places[k + 1];
        right = right != (rightEnds[std::size_t(at)] % 2 == 1);
        left = left != (leftEnds[std::size_t(at)] % 2 == 1);
        if (!right || !left)
            continue;
        // The right piece has the cut on its left when running against the line, the left piece when
        // running with it.
        m_arrows.push_back({next, at, 0.0, CadPoint::inside, false});
        m_arrows.push_back({at, next, 0.0, CadPoint::outside, false});
    }
}

bool LineCut::reaches(CadPoint::Pos side) const {
    for (Arrow const& arrow : m_arrows)
        if (arrow.side == side && !arrow.lying)
            return true;
    return false;
}

void LineCut::trace(CadPoint::Pos side, CadPolygon const& pattern, PolyList& out) const {
    PieceTracer tracer(m_reference, m_tol);
    for (Node const& node : m_nodes)
        tracer.addNode(node.vertex);
    for (Arrow const& arrow : m_arrows)
        if (arrow.side == side)
            tracer.addEdge(arrow.from, arrow.to, arrow.sweep);
    tracer.trace(pattern, out);
}

} // namespace zelvane
