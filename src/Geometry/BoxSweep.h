// Boxes in the plane and the pairs of them that overlap, found by a sweep over the boxes in x: only
// boxes whose x ranges overlap are compared.
#pragma once

#include <functional>
#include <vector>

namespace zelvane {

class BoxSweep {
public:
    // Every box is grown by the margin on each side.
    explicit BoxSweep(double margin);

    // The box from (xMin, yMin) to (xMax, yMax), known by its id.
    void add(double xMin, double xMax, double yMin, double yMax, int id);
    // Calls meet(later, earlier) with the ids of each pair of boxes that overlap, later being the one
    // the sweep reaches after earlier.
    void forEachOverlap(std::function<void(int later, int earlier)> const& meet);

private:
    struct Box {
        double xMin, xMax, yMin, yMax;
        int id;
    };

    double m_margin;
    std::vector<Box> m_boxes;
};

} // namespace zelvane
