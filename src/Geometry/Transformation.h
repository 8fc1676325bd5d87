// An element transformation: the host's edit record for one element edit, kept by an element until
// it is applied.
#pragma once

#include "ACAPI/APIGeometry.hpp"

namespace zelvane {

class Transformation {
public:
    virtual ~Transformation() = default;

    virtual Transformation* clone() const = 0;

    API_EditPars const& getEditPars() const { return m_editPars; }
    API_EditPars& getEditPars() { return m_editPars; }

protected:
    explicit Transformation(API_EditPars const& editPars) : m_editPars(editPars) {}
    Transformation(Transformation const&) = default;
    Transformation& operator=(Transformation const&) = default;

private:
    API_EditPars m_editPars;
};

} // namespace zelvane
