#include "Geometry/PolyList.h"

namespace zelvane {

namespace {

template <typename Iterator>
Iterator largestOf(Iterator first, Iterator last) {
    Iterator best = last;
    double bestArea = 0.0;
    for (Iterator it = first; it != last; ++it) {
        if (*it == nullptr)
            continue;
        double area = (*it)->getArea(true, false);
        if (area > bestArea) {
            bestArea = area;
            best = it;
        }
    }
    return best;
}

} // namespace

PolyList::iterator PolyList::findLargest() {
    return largestOf(begin(), end());
}

PolyList::const_iterator PolyList::findLargest() const {
    return largestOf(begin(), end());
}

} // namespace zelvane
