// Stepping through an attribute kind's enumeration of uses, from `first` to `last`, wrapping round
// at both ends: what the kinds' ++ and -- operators do.
#pragma once

#include <type_traits>

namespace zelvane {

template <typename Use>
Use& stepUseForward(Use& use) {
    using Number = std::underlying_type_t<Use>;
    use = use == Use::last ? Use::first : Use(Number(use) + 1);
    return use;
}

template <typename Use>
Use& stepUseBack(Use& use) {
    using Number = std::underlying_type_t<Use>;
    use = use == Use::first ? Use::last : Use(Number(use) - 1);
    return use;
}

// The use before the step.
template <typename Use>
Use stepUseForwardAfter(Use& use) {
    Use old = use;
    stepUseForward(use);
    return old;
}

template <typename Use>
Use stepUseBackAfter(Use& use) {
    Use old = use;
    stepUseBack(use);
    return old;
}

} // namespace zelvane
