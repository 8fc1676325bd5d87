#include "Geometry/PieceTracer.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/PolyList.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace zelvane {

namespace {

constexpr double pi = 3.14159265358979323846;

// The signed area between the chord and the arc (positive for a positive sweep).
double segmentArea(CadPoint const& a, CadPoint const& b, double sweep) {
    if (isStraightSweep(sweep))
        return 0.0;
    double half = a.lengthTo2D(b) / 2.0;
    double r = half / std::fabs(std::sin(sweep / 2.0));
    return r * r / 2.0 * (sweep - std::sin(sweep));
}

} // namespace

PieceTracer::PieceTracer(CadPoint const& reference, double tol) : m_reference(reference), m_tol(tol) {}

void PieceTracer::arcCircle(CadPoint const& a, CadPoint const& b, double sweep, double& cx, double& cy,
                            double& r) {
    double dx = b.x() - a.x(), dy = b.y() - a.y();
    double half = std::hypot(dx, dy) / 2.0;
    r = half / std::fabs(std::sin(sweep / 2.0));
    // The centre lies on the chord's left normal for a positive sweep below pi.
    double d = half > 0.0 ? 1.0 / std::tan(sweep / 2.0) / 2.0 : 0.0;
    cx = (a.x() + b.x()) / 2.0 - dy * d;
    cy = (a.y() + b.y()) / 2.0 + dx * d;
}

double PieceTracer::signedArea(std::vector<PolyPoint> const& run) {
    double sum = 0.0;
    std::size_t n = run.size();
    for (std::size_t j = 0; j < n; ++j) {
        PolyPoint const& a = run[(j + n - 1) % n];
        PolyPoint const& b = run[j];
        sum += (a.x() * b.y() - b.x() * a.y()) / 2.0 + segmentArea(a, b, b.getSweep());
    }
    return sum;
}

bool PieceTracer::orient(std::vector<PolyPoint>& run, bool hole) {
    double area = run.size() < 2 ? 0.0 : signedArea(run);
    if (area == 0.0)
        return false;
    if ((area > 0.0) == hole) {
        // Turned round: each edge keeps its arc, which now ends at its former start.
        std::vector<PolyPoint> turned(run.rbegin(), run.rend());
        std::size_t n = run.size();
        for (std::size_t j = 0; j < n; ++j)
            turned[j].setSweep(-run[(n - j) % n].getSweep());
        run.swap(turned);
    }
    return true;
}

int PieceTracer::addNode(PolyPoint const& vertex) {
    m_nodes.push_back(vertex);
    return int(m_nodes.size()) - 1;
}

void PieceTracer::addEdge(int from, int to, double sweep) {
    PolyPoint const& a = m_nodes[std::size_t(from)];
    PolyPoint const& b = m_nodes[std::size_t(to)];
    double chord = std::atan2(b.y() - a.y(), b.x() - a.x());
    double s = isStraightSweep(sweep) ? 0.0 : sweep;
    m_edges.push_back({from, to, s, chord - s / 2.0, chord + s / 2.0, false});
}

void PieceTracer::trace(CadPolygon const& pattern, PolyList& out) {
    std::vector<std::vector<int>> leaving(m_nodes.size());
    for (int i = 0; i < int(m_edges.size()); ++i)
        leaving[std::size_t(m_edges[std::size_t(i)].from)].push_back(i);
    struct Loop {
        std::unique_ptr<CadPolygon> polygon;
        double area;
    };
    std::vector<Loop> pieces, holes;
    for (int start = 0; start < int(m_edges.size()); ++start) {
        if (m_edges[std::size_t(start)].used)
            continue;
        m_edges[std::size_t(start)].used = true;
        std::vector<int> loop{start};
        bool closed = false;
        for (std::size_t guard = 0; guard < m_edges.size() && !closed; ++guard) {
            Edge const& current = m_edges[std::size_t(loop.back())];
            double back = current.endAngle + pi;
            int best = -1;
            double bestTurn = 0.0;
            for (int candidate : leaving[std::size_t(current.to)]) {
                Edge const& next = m_edges[std::size_t(candidate)];
                if (next.used && candidate != start)
                    continue;
                double turn = normalisedAngle(back - next.startAngle);
                if (turn <= 1e-12)
                    turn += 2.0 * pi;
                if (best < 0 || turn < bestTurn) {
                    best = candidate;
                    bestTurn = turn;
                }
            }
            if (best < 0)
                break;
            if (best == start) {
                closed = true;
                break;
            }
            m_edges[std::size_t(best)].used = true;
            loop.push_back(best);
        }
        if (!closed)
            continue;
        // A loop that passes a node twice (a hole touching the outline there) is cut there into
        // loops that pass every node once.
        std::vector<std::vector<int>> parts;
        std::vector<int> stack;
        // Each node met, with the length of the stack after the edge that arrived there.
        std::unordered_map<int, std::size_t> seen{{m_edges[std::size_t(start)].from, 0}};
        for (int index : loop) {
            int node = m_edges[std::size_t(index)].to;
            stack.push_back(index);
            auto at = seen.find(node);
            if (at == seen.end()) {
                seen.emplace(node, stack.size());
                continue;
            }
            std::size_t from = at->second;
            parts.emplace_back(stack.begin() + long(from), stack.end());
            for (std::size_t k = from; k + 1 < stack.size(); ++k)
                seen.erase(m_edges[std::size_t(stack[k])].to);
            stack.resize(from);
        }
        if (!stack.empty())
            parts.push_back(stack);
        for (std::vector<int> const& part : parts) {
            std::vector<PolyPoint> run;
            for (int index : part) {
                Edge const& edge = m_edges[std::size_t(index)];
                PolyPoint v(m_nodes[std::size_t(edge.to)]);
                v.setSweep(edge.sweep);
                run.push_back(v);
            }
            double area = signedArea(run);
            if (std::fabs(area) <= m_tol * m_tol)
                continue;
            std::unique_ptr<CadPolygon> polygon(pattern.clone());
            for (PolyPoint const& v : run) {
                auto* vertex = new PolyPoint(v);
                vertex->x() += m_reference.x();
                vertex->y() += m_reference.y();
                polygon->push_back(vertex);
            }
            // Pieces run clockwise, their holes anticlockwise.
            polygon->reverse();
            (area > 0.0 ? pieces : holes).push_back({std::move(polygon), area});
        }
    }
    std::sort(pieces.begin(), pieces.end(), [](Loop const& p, Loop const& q) { return p.area < q.area; });
    for (Loop& hole : holes) {
        // The smallest piece that holds the hole takes it.
        for (Loop& piece : pieces) {
            CadPoint::Pos position = CadPoint::along;
            for (int i = 0; i < hole.polygon->vertSize() && position == CadPoint::along; ++i)
                position = piece.polygon->positionOf(*(*hole.polygon)[i], m_tol);
            if (position == CadPoint::inside) {
                piece.polygon->addHole(hole.polygon.release());
                break;
            }
        }
    }
    for (Loop& piece : pieces)
        out.push_back(piece.polygon.release());
}

} // namespace zelvane
