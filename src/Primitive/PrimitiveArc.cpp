#include "Primitive/PrimitiveArc.h"

#include "ACAPI/ShapePrims.hpp"
#include "Environment/DataBufferOut.h"
#include "Primitive/RenderContext.h"

#include <cmath>
#include <utility>

namespace zelvane {

namespace {

constexpr double tolerance = 0.00001;
constexpr double fullTurn = 6.283185307179586;

} // namespace

namespace {

double recordSweep(API_PrimArc const& record) {
    double sweep = std::fmod(record.endAng - record.begAng, fullTurn);
    if (sweep < 0)
        sweep += fullTurn;
    // Begin and end angle meeting is a whole turn, not an arc of nothing.
    if (sweep <= tolerance || fullTurn - sweep <= tolerance)
        sweep = fullTurn;
    return record.reflected ? sweep - fullTurn : sweep;
}

} // namespace

PrimitiveArc::PrimitiveArc(API_PrimArc const& record, bool is2D, bool is3D)
    : CadArc(CadPoint(record.orig), record.r, recordSweep(record), record.begAng),
      Primitive(record.head, attribute_index(record.ltypeInd), is2D, is3D), m_ratio(record.ratio),
      m_rotation(record.angle) {}

bool PrimitiveArc::encloses2D(CadPoint const& p, double tol) const {
    return (positionOf2D(p, tol) & (CadPoint::atOrigin | CadPoint::along | CadPoint::atEnd)) != 0;
}

bool PrimitiveArc::write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                 unsigned short indent) const {
    if (!is2D())
        return isGood(out);
    writeLineAttributes(out, builder, indent, 0);
    bool elliptic = std::fabs(m_ratio - 1.0) > tolerance && std::fabs(m_ratio) > tolerance;
    CadPoint centre = this->centre() + offset;
    if (elliptic) {
        writeTabs(out, indent);
        out << "rot2 ";
        writeAngle(out, m_rotation);
        out << "\n";
        writeTabs(out, indent);
        out << "mulx ";
        writeNumber(out, m_ratio);
        out << "\n";
        // The statement's centre is in the turned and stretched frame: turn it back, unstretch x.
        double c = std::cos(m_rotation), s = std::sin(m_rotation);
        centre = CadPoint((centre.x() * c + centre.y() * s) / m_ratio, -centre.x() * s + centre.y() * c);
    }
    writeTabs(out, indent);
    double sweep = std::fmod(getSweep(), fullTurn);
    bool full = std::fabs(sweep) <= tolerance || std::fabs(std::fabs(sweep) - fullTurn) <= tolerance;
    if (full) {
        out << "circle2 ";
        write2DPoint(out, centre, CadPoint(), true);
        out << " ";
        writeNumber(out, getRadius());
        out << "\n";
    } else {
        double a = getStartAngle(), b = getEndAngle();
        if (getSweep() < 0)
            std::swap(a, b);
        out << "arc2 ";
        write2DPoint(out, centre, CadPoint(), true);
        out << " ";
        writeNumber(out, getRadius());
        out << ", ";
        writeAngle(out, a);
        out << ", ";
        writeAngle(out, b);
        out << "\n";
    }
    if (elliptic) {
        writeTabs(out, indent);
        out << "del 2\n";
    }
    return isGood(out);
}

bool PrimitiveArc::renderIn(RenderContext& context, CadPoint const& offset) const {
    if (is2D())
        context.drawArc(*this, offset);
    return true;
}

} // namespace zelvane
