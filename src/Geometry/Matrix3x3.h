// A 3x3 matrix in row order: element (r, c) is value 3r + c. Vectors are columns: M . v.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class Matrix3x3 {
public:
    Matrix3x3() = default;
    Matrix3x3(double m00, double m01, double m02, double m10, double m11, double m12, double m20, double m21,
              double m22);
    Matrix3x3(Matrix3x3 const&) = default;
    Matrix3x3& operator=(Matrix3x3 const&) = default;
    virtual ~Matrix3x3() = default;

    // Throws std::out_of_range for a row or column of 3 or more.
    double& operator()(UInt16 row, UInt16 column);
    double const& operator()(UInt16 row, UInt16 column) const;

    double getDeterminant() const;
    // The identity when the matrix is singular (determinant or pivot within 1e-5).
    Matrix3x3 getInverse() const;

    // Element-wise within 1e-5.
    bool operator==(Matrix3x3 const& other) const;
    bool operator!=(Matrix3x3 const& other) const;
    // this x other
    Matrix3x3 operator*(Matrix3x3 const& other) const;
    Matrix3x3& operator*=(Matrix3x3 const& other);

    static Matrix3x3 createIdentity();
    static Matrix3x3 createXRotate(double angle);
    static Matrix3x3 createYRotate(double angle);
    static Matrix3x3 createZRotate(double angle);
    static Matrix3x3 createScale(double sx, double sy, double sz);
    // The translation in the last row: for row-vector use; under M . v it moves no point.
    static Matrix3x3 createTranslate(double tx, double ty, double tz);

private:
    double m_value[9] = {};
};

} // namespace zelvane
