#include "Geometry/Matrix4x4.h"

#include <cmath>
#include <stdexcept>

namespace zelvane {

Matrix4x4::Matrix4x4(double m00, double m01, double m02, double m03, double m10, double m11, double m12,
                     double m13, double m20, double m21, double m22, double m23, double m30, double m31,
                     double m32, double m33)
    : m_value{m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33} {}

Matrix4x4::Matrix4x4(API_Tranmat const& tran) {
    for (int i = 0; i < 12; ++i)
        m_value[i] = tran.tmx[i];
    m_value[15] = 1.0;
}

Matrix4x4::operator API_Tranmat() const {
    API_Tranmat tran{};
    for (int i = 0; i < 12; ++i)
        tran.tmx[i] = m_value[i];
    return tran;
}

double& Matrix4x4::operator()(UInt16 row, UInt16 column) {
    if (row >= 4 || column >= 4)
        throw std::out_of_range("");
    return m_value[4 * row + column];
}

double const& Matrix4x4::operator()(UInt16 row, UInt16 column) const {
    if (row >= 4 || column >= 4)
        throw std::out_of_range("");
    return m_value[4 * row + column];
}

Matrix3x3 Matrix4x4::getSubmatrix(UInt16 row, UInt16 column) const {
    Matrix3x3 result;
    UInt16 r = 0;
    for (UInt16 i = 0; i < 4; ++i) {
        if (i == row)
            continue;
        UInt16 c = 0;
        for (UInt16 j = 0; j < 4; ++j) {
            if (j == column)
                continue;
            result(r, c++) = (*this)(i, j);
        }
        ++r;
    }
    return result;
}

double Matrix4x4::getDeterminant() const {
    double sum = 0.0;
    for (UInt16 j = 0; j < 4; ++j) {
        double term = m_value[j] * getSubmatrix(0, j).getDeterminant();
        sum += (j % 2 == 0) ? term : -term;
    }
    return sum;
}

Matrix4x4 Matrix4x4::getInverse() const {
    double d = getDeterminant();
    if (std::fabs(d) <= 1e-5)
        return createIdentity();
    Matrix4x4 result;
    for (UInt16 r = 0; r < 4; ++r)
        for (UInt16 c = 0; c < 4; ++c) {
            double cofactor = getSubmatrix(r, c).getDeterminant();
            result(c, r) = ((r + c) % 2 == 0 ? cofactor : -cofactor) / d;
        }
    return result;
}

bool Matrix4x4::operator==(Matrix4x4 const& other) const {
    for (int i = 0; i < 16; ++i)
        if (std::fabs(m_value[i] - other.m_value[i]) > 1e-6)
            return false;
    return true;
}

bool Matrix4x4::operator!=(Matrix4x4 const& other) const {
    return !(*this == other);
}

Matrix4x4 Matrix4x4::operator*(Matrix4x4 const& other) const {
    Matrix4x4 result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += m_value[4 * r + k] * other.m_value[4 * k + c];
            result.m_value[4 * r + c] = sum;
        }
    return result;
}

Matrix4x4& Matrix4x4::operator*=(Matrix4x4 const& other) {
    return *this = *this * other;
}

Matrix4x4 Matrix4x4::createIdentity() {
    return Matrix4x4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

Matrix4x4 Matrix4x4::createXRotate(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return Matrix4x4(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
}

Matrix4x4 Matrix4x4::createYRotate(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return Matrix4x4(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
}

Matrix4x4 Matrix4x4::createZRotate(double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return Matrix4x4(c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

Matrix4x4 Matrix4x4::createScale(double sx, double sy, double sz) {
    return Matrix4x4(sx, 0, 0, 0, 0, sy, 0, 0, 0, 0, sz, 0, 0, 0, 0, 1);
}

Matrix4x4 Matrix4x4::createTranslate(double tx, double ty, double tz) {
    return Matrix4x4(1, 0, 0, tx, 0, 1, 0, ty, 0, 0, 1, tz, 0, 0, 0, 1);
}

} // namespace zelvane
