#include "Primitive/PrimitivePolygon.h"

#include "ACAPI/ShapePrims.hpp"
#include "Attribute/Pen.h"
#include "Environment/DataBufferOut.h"
#include "Environment/ToString.h"
#include "Geometry/CadArc.h"

#include <cmath>

namespace zelvane {

namespace {

constexpr double tolerance = 0.00001;

} // namespace

PrimitivePolygon::PrimitivePolygon(API_PrimPoly const& record, CadPolygon const& polygon,
                                   attribute_index fillPen, bool is2D, bool is3D)
    : CadPolygon(polygon), Primitive(record.head, attribute_index(record.ltypeInd), is2D, is3D),
      m_fillPen(short(fillPen) != 0 ? fillPen : attribute_index(record.head.pen)),
      m_solidFilled(record.solid) {}

PrimitivePolygon::PrimitivePolygon(API_PrimPLine const& record, CadPolygon const& polygon, bool is2D,
                                   bool is3D)
    : CadPolygon(polygon), Primitive(record.head, attribute_index(record.ltypeInd), is2D, is3D) {}

PrimitivePolygon::PrimitivePolygon(API_PrimTri const& record, CadPolygon const& polygon, bool is2D, bool is3D)
    : CadPolygon(polygon), Primitive(record.head, attribute_index(1), is2D, is3D), m_fillPen(record.head.pen),
      m_solidFilled(record.solid) {}

int PrimitivePolygon::write2DVertices(DataBufferOut& out, CadPoint const& offset, unsigned short indent,
                                      bool put) const {
    if (!is2D() || !isValid(true, tolerance))
        return 0;
    int holes = getHoleCount();
    bool closing = holes > 0 || isClosed();
    if (put) {
        writeTabs(out, indent);
        out << "put ";
    }
    int triples = 0;
    bool firstLine = true;
    for (int c = 0; c <= holes; ++c) {
        CadPolygon const& contour = c == 0 ? static_cast<CadPolygon const&>(*this) : getHole(c - 1);
        int count = contour.vertSize();
        if (count == 0)
            continue;
        int n = count + (contour.isClosed() || holes > 0 ? 1 : 0);
        if (!firstLine)
            writeTabs(out, indent + 1);
        firstLine = false;
        write2DPoint(out, contour[0], offset, true);
        out << " 1,\n";
        ++triples;
        for (int i = 1; i < n; ++i) {
            PolyPoint const& from = contour[i - 1];
            PolyPoint const& to = contour[i % count];
            writeTabs(out, indent + 1);
            if (std::fabs(to.getSweep()) <= tolerance) {
                write2DPoint(out, to, offset, true);
                out << " 1";
                ++triples;
            } else {
                CadArc arc(from, to);
                write2DPoint(out, arc.centre(), offset, true);
                out << " 901,\n";
                writeTabs(out, indent + 1);
                out << "0, ";
                writeAngle(out, to.getSweep());
                out << ", 4001";
                triples += 2;
            }
            if (i < n - 1 || closing)
                out << ",";
            out << "\n";
        }
        if (closing) {
            writeTabs(out, indent + 1);
            if (holes == 0) {
                out << "0, 0, 700\n";
            } else {
                write2DPoint(out, contour[0], offset, true);
                out << " -1";
                if (c < holes)
                    out << ",";
                out << "\n";
            }
            ++triples;
        }
    }
    return triples;
}

bool PrimitivePolygon::write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                     unsigned short indent) const {
    int n = write2DVertices(out, offset, indent, true);
    if (n == 0)
        return isGood(out);
    writeLineAttributes(out, builder, indent, 0);
    writeTabs(out, indent);
    if (!m_solidFilled) {
        out << "poly2_a " << n << ", 1, " << ToString(short(getPen()));
    } else {
        out << "poly2_b " << n << ", " << (short(getPen()) > 0 ? 3 : 2) << ", ";
        if (builder == nullptr) {
            out << ToString(short(m_fillPen)) << ", " << ToString(short(m_fillPen));
        } else {
            writeAttribute(Pen(m_fillPen), out, builder, 0, 2, false, false, true);
            out << ", ";
            writeAttribute(Pen(m_fillPen), out, builder, 0, 3, false, false, true);
        }
    }
    out << ", get(" << 3 * n << ")\n";
    return isGood(out);
}

} // namespace zelvane
