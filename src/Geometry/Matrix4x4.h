// A 4x4 matrix in row order: element (r, c) is value 4r + c. Vectors are columns: M . v, so a
// translation sits in column 3, as in the host's transformation record.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "Geometry/Matrix3x3.h"

namespace zelvane {

class Matrix4x4 {
public:
    Matrix4x4() = default;
    Matrix4x4(double m00, double m01, double m02, double m03, double m10, double m11, double m12, double m13,
              double m20, double m21, double m22, double m23, double m30, double m31, double m32, double m33);
    // The record's 12 values fill the first three rows; the last row is (0, 0, 0, 1).
    Matrix4x4(API_Tranmat const& tran);
    Matrix4x4(Matrix4x4 const&) = default;
    Matrix4x4& operator=(Matrix4x4 const&) = default;
    virtual ~Matrix4x4() = default;

    // The first three rows.
    operator API_Tranmat() const;

    // Throws std::out_of_range for a row or column of 4 or more.
    double& operator()(UInt16 row, UInt16 column);
    double const& operator()(UInt16 row, UInt16 column) const;

    // The matrix without that row and column.
    Matrix3x3 getSubmatrix(UInt16 row, UInt16 column) const;
    double getDeterminant() const;
    // The identity when the determinant is within 1e-5 of 0.
    Matrix4x4 getInverse() const;

    // Element-wise within 1e-6.
    bool operator==(Matrix4x4 const& other) const;
    bool operator!=(Matrix4x4 const& other) const;
    // this x other
    Matrix4x4 operator*(Matrix4x4 const& other) const;
    Matrix4x4& operator*=(Matrix4x4 const& other);

    static Matrix4x4 createIdentity();
    // The X and Y rotations are the transposes of the 3x3 ones: under M . v they turn by -angle.
    static Matrix4x4 createXRotate(double angle);
    static Matrix4x4 createYRotate(double angle);
    static Matrix4x4 createZRotate(double angle);
    static Matrix4x4 createScale(double sx, double sy, double sz);
    // The translation in column 3, so that it moves points under M . v.
    static Matrix4x4 createTranslate(double tx, double ty, double tz);

private:
    double m_value[16] = {};
};

} // namespace zelvane
