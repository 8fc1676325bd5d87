// Comparison of points in geometry tests, reporting the coordinates on failure.
#pragma once

#include "Geometry/CadPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace zelvane {

inline std::ostream& operator<<(std::ostream& out, CadPoint const& p) {
    return out << "(" << p.x() << ", " << p.y() << ", " << p.z() << ")";
}

inline ::testing::AssertionResult near3D(CadPoint const& actual, CadPoint const& expected,
                                         double tol = 1e-9) {
    if (std::fabs(actual.x() - expected.x()) <= tol && std::fabs(actual.y() - expected.y()) <= tol &&
        std::fabs(actual.z() - expected.z()) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not " << expected;
}

constexpr double kPi = 3.14159265358979323846;

} // namespace zelvane
