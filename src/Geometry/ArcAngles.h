// Angles and sweeps as the plane geometry reads them: an angle brought into one turn, and a sweep
// small enough that its edge is straight.
#pragma once

#include <cmath>

namespace zelvane {

// The angle brought into [0, 2pi).
inline double normalisedAngle(double angle) {
    constexpr double turn = 2.0 * 3.14159265358979323846;
    angle = std::fmod(angle, turn);
    return angle < 0.0 ? angle + turn : angle;
}

// An edge turning by this sweep is straight: the sweep is within 1e-5 of zero.
inline bool isStraightSweep(double sweep) {
    return std::fabs(sweep) <= 1e-5;
}

} // namespace zelvane
