#include "Geometry/BoxSweep.h"

#include <algorithm>

namespace zelvane {

BoxSweep::BoxSweep(double margin) : m_margin(margin) {}

void BoxSweep::add(double xMin, double xMax, double yMin, double yMax, int id) {
    m_boxes.push_back(Box{xMin - m_margin, xMax + m_margin, yMin - m_margin, yMax + m_margin, id});
}

void BoxSweep::forEachOverlap(std::function<void(int later, int earlier)> const& meet) {
    std::sort(m_boxes.begin(), m_boxes.end(), [](Box const& p, Box const& q) { return p.xMin < q.xMin; });
    std::vector<Box const*> active;
    for (Box const& box : m_boxes) {
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [&box](Box const* other) { return other->xMax < box.xMin; }),
                     active.end());
        for (Box const* other : active) {
            if (other->yMax < box.yMin || other->yMin > box.yMax)
                continue;
            meet(box.id, other->id);
        }
        active.push_back(&box);
    }
}

} // namespace zelvane
