// Turns a sloped plane level (its normal onto +Z) and then undoes a plan rotation; reversible exactly.
#pragma once

#include "Geometry/Rotater.h"
#include "Geometry/Vector3.h"

#include <memory>

namespace zelvane {

class CadArc;
class CadPoint;
class CadPolygon;
class Line;

class Leveller {
public:
    Leveller();
    Leveller(Vector3 const& normal, double angle, double tol = 1e-5);
    Leveller(Leveller const& other);
    Leveller& operator=(Leveller const& other);
    virtual ~Leveller() = default;

    // The normal as given to setRotation.
    virtual Vector3 const& getNormal() const;
    virtual void setRotation(Vector3 const& normal, double angle, double tol = 1e-5);
    // Replaces the plan rotation: everything is turned by -angle about Z.
    virtual void setZRotation(double angle);
    virtual void transform(CadPoint& point) const;
    virtual void transform(Line& line) const;
    // The centre is moved and the normal turned; radius and angles are kept.
    virtual void transform(CadArc& arc) const;
    // Every vertex of the outline, then of each hole.
    virtual void transform(CadPolygon& polygon) const;

    // Afterwards transform applies the exact inverse of the transform before.
    void reverse();

private:
    Vector3 m_normal;
    std::unique_ptr<Rotater> m_zRotater;
    std::unique_ptr<Rotater> m_yRotater;
    std::unique_ptr<Rotater> m_xRotater;
};

} // namespace zelvane
