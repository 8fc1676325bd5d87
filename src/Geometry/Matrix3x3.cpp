#include "Geometry/Matrix3x3.h"

#include <cmath>
#include <stdexcept>

namespace zelvane {

Matrix3x3::Matrix3x3(double m00, double m01, double m02, double m10, double m11, double m12, double m20,
                     double m21, double m22)
    : m_value{m00, m01, m02, m10, m11, m12, m20, m21, m22} {}

double& Matrix3x3::operator()(UInt16 row, UInt16 column) {
    if (row >= 3 || column >= 3)
        throw std::out_of_range("");
    return m_value[3 * row + column];
}

double const& Matrix3x3::operator()(UInt16 row, UInt16 column) const {
    if (row >= 3 || column >= 3)
        throw std::out_of_range("");
    return m_value[3 * row + column];
}

double Matrix3x3::getDeterminant() const {
    double const* m = m_value;
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

Matrix3x3 Matrix3x3::getInverse() const {
    double const* m = m_value;
    // Cofactor (r, c) of each element.
    double cof[9] = {
        m[4] * m[8] - m[5] * m[7], m[5] * m[6] - m[3] * m[8], m[3] * m[7] - m[4] * m[6],
        m[2] * m[7] - m[1] * m[8], m[0] * m[8] - m[2] * m[6], m[1] * m[6] - m[0] * m[7],
        m[1] * m[5] - m[2] * m[4], m[2] * m[3] - m[0] * m[5], m[0] * m[4] - m[1] * m[3],
    };
    // The pivot is the largest element of column 0; D is the pivot times the determinant.
    double m00 = std::fabs(m[0]), m10 = std::fabs(m[3]), m20 = std::fabs(m[6]);
    double pivot;
    if (m10 <= m00 && m20 < m00)
        pivot = m[0];
    else if (m10 > m00 && m20 < m10)
        pivot = m[3];
    else
        pivot = m[6];
    double determinant = m[0] * cof[0] + m[1] * cof[1] + m[2] * cof[2];
    double d = pivot * determinant;
    if (std::fabs(d) <= 1e-5 || std::fabs(pivot) <= 1e-5)
        return createIdentity();
    double scale = pivot / d;
    Matrix3x3 result;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            result.m_value[3 * c + r] = cof[3 * r + c] * scale;
    return result;
}

bool Matrix3x3::operator==(Matrix3x3 const& other) const {
    for (int i = 0; i < 9; ++i)
        if (std::fabs(m_value[i] - other.m_value[i]) > 1e-5)
            return false;
    return true;
}

bool Matrix3x3::operator!=(Matrix3x3 const& other) const {
    return !(*this == other);
}

Matrix3x3 Matrix3x3::operator*(Matrix3x3 const& other) const {
    Matrix3x3 result;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += m_value[3 * r + k] * other.m_value[3 * k + c];
            result.m_value[3 * r + c] = sum;
        }
    return result;
}

Matrix3x3& Matrix3x3::operator*=(Matrix3x3 const& other) {
    return *this = *this * other;
}

Matrix3x3 Matrix3x3::createIdentity() {
    return Matrix3x3(1, 0, 0, 0, 1, 0, 0, 0, 1);
}

Matrix3x3 Matrix3x3::createXRotate(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return Matrix3x3(1, 0, 0, 0, c, -s, 0, s, c);
}

Matrix3x3 Matrix3x3::createYRotate(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return Matrix3x3(c, 0, s, 0, 1, 0, -s, 0, c);
}

Matrix3x3 Matrix3x3::createZRotate(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return Matrix3x3(c, -s, 0, s, c, 0, 0, 0, 1);
}

Matrix3x3 Matrix3x3::createScale(double sx, double sy, double sz) {
    return Matrix3x3(sx, 0, 0, 0, sy, 0, 0, 0, sz);
}

Matrix3x3 Matrix3x3::createTranslate(double tx, double ty, double tz) {
    return Matrix3x3(1, 0, 0, 0, 1, 0, tx, ty, tz);
}

} // namespace zelvane
