#include "Attribute/LineStyle.h"

#include "Attribute/UseSteps.h"

namespace zelvane {

LineStyle::Use& operator++(LineStyle::Use& use) {
    return stepUseForward(use);
}

LineStyle::Use& operator--(LineStyle::Use& use) {
    return stepUseBack(use);
}

LineStyle::Use operator++(LineStyle::Use& use, int) {
    return stepUseForwardAfter(use);
}

LineStyle::Use operator--(LineStyle::Use& use, int) {
    return stepUseBackAfter(use);
}

} // namespace zelvane
