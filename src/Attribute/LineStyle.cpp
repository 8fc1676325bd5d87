#include "Attribute/LineStyle.h"

namespace zelvane {

LineStyle::Use& operator++(LineStyle::Use& use) {
    use = use == LineStyle::Use::last ? LineStyle::Use::first : LineStyle::Use(UInt8(use) + 1);
    return use;
}

LineStyle::Use& operator--(LineStyle::Use& use) {
    use = use == LineStyle::Use::first ? LineStyle::Use::last : LineStyle::Use(UInt8(use) - 1);
    return use;
}

LineStyle::Use operator++(LineStyle::Use& use, int) {
    LineStyle::Use old = use;
    ++use;
    return old;
}

LineStyle::Use operator--(LineStyle::Use& use, int) {
    LineStyle::Use old = use;
    --use;
    return old;
}

} // namespace zelvane
