#include "Primitive/RenderContext.h"

#include "Attribute/CadColour.h"
#include "Attribute/Pen.h"
#include "Database/AttributeLink.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Display/NativeContext.hpp"
#include "Environment/Host.h"
#include "Geometry/Cube.h"
#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitivePolygon.h"
#include "Primitive/PrimitiveText.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

constexpr double tolerance = 0.00001;
constexpr double millimetresPerPoint = 0.3527777777778;

Int16 toInt16(double value) {
    if (!std::isfinite(value))
        return 0;
    return Int16(std::clamp(value, -32768.0, 32767.0));
}

} // namespace

RenderContext::RenderContext(NewDisplay::NativeContext* context, ScreenRect const& bounds)
    : m_context(context), m_bounds(bounds) {
    if (context != nullptr && bounds == ScreenRect()) {
        NewDisplay::Rect dirty = context->GetDirtyRect();
        m_bounds = ScreenRect(ScreenPoint(toInt16(dirty.left), toInt16(dirty.top)),
                              ScreenPoint(toInt16(dirty.right), toInt16(dirty.bottom)));
    }
}

RenderContext::~RenderContext() = default;

void RenderContext::setNativeContext(NewDisplay::NativeContext* context) {
    m_context.reset(context);
}

void RenderContext::clear() {
    if (m_context)
        m_context->Clear();
}

void RenderContext::setPen(attribute_index pen, unsigned char) {
    if (short(pen) == short(m_pen))
        return;
    if (m_context) {
        // The project's attribute set, or the host's tables directly without a project.
        Project* project = host.getProject();
        Specification* specification = project != nullptr ? project->getSpecification() : nullptr;
        Specification own;
        Pen attribute(AttributeLink(pen, Pen::ID, specification != nullptr ? specification : &own));
        if (m_fixedColour == nullptr)
            setPenColour(attribute.getColour(), false);
        if (std::fabs(m_fixedWeight) <= tolerance)
            m_context->SetLineWidth(m_scale * attribute.getThickness() / millimetresPerPoint);
    }
    m_pen = pen;
}

void RenderContext::setLineStyle(attribute_index style) {
    if (short(style) != short(m_lineStyle))
        m_lineStyle = style;
}

void RenderContext::setPenColour(CadColour const& colour, bool fix) {
    if (m_context)
        m_context->SetForeColor(colour.red8(), colour.green8(), colour.blue8(), colour.alpha8());
    if (fix)
        m_fixedColour = std::make_unique<CadColour>(colour);
}

void RenderContext::setPenWeight(double weight, bool fix) {
    if (m_context)
        m_context->SetLineWidth(weight);
    if (fix)
        m_fixedWeight = weight;
}

void RenderContext::setBackgroundColour(CadColour const& colour) const {
    if (!m_context)
        return;
    double width = std::abs(m_bounds.getEnd().getX() - m_bounds.getOrigin().getX());
    double height = std::abs(m_bounds.getEnd().getY() - m_bounds.getOrigin().getY());
    m_context->FillRect(NewDisplay::Rect{0.0, 0.0, width, height}, colour.red8(), colour.green8(),
                        colour.blue8(), 255);
}

void RenderContext::drawLine(PrimitiveLine const& line, CadPoint const& offset) {
    if (!m_context)
        return;
    setPen(line.getPen());
    setLineStyle(line.getLineStyle());
    CadPoint a = transformPoint(line.origin()) + offset;
    CadPoint b = transformPoint(line.end()) + offset;
    m_context->MoveTo(a.x(), a.y());
    m_context->LineTo(b.x(), b.y());
}

void RenderContext::drawArc(PrimitiveArc const& arc, CadPoint const& offset) {
    if (!m_context)
        return;
    setPen(arc.getPen());
    setLineStyle(arc.getLineStyle());
    CadPoint start = transformPoint(arc.getOrigin()) + offset;
    CadPoint centre = transformPoint(arc.centre()) + offset;
    double half = arc.getRadius() * m_scale;
    m_context->MoveTo(start.x(), start.y());
    m_context->ArcTo(
        NewDisplay::Rect{centre.x() - half, centre.y() - half, centre.x() + half, centre.y() + half},
        arc.getStartAngle(), arc.getSweep());
}

void RenderContext::drawPolygon(PrimitivePolygon const& polygon, CadPoint const& offset) {
    int n = polygon.vertSize();
    if (!m_context || n == 0)
        return;
    setPen(polygon.getPen());
    setLineStyle(polygon.getLineStyle());
    m_context->BeginPolygon();
    CadPoint first = transformPoint(polygon[0]) + offset;
    m_context->MoveTo(first.x(), first.y());
    for (int i = 1; i <= n; ++i) {
        CadPoint p = transformPoint(polygon[i % n]) + offset;
        m_context->LineTo(p.x(), p.y());
    }
    m_context->EndPolygon();
}

void RenderContext::drawText(PrimitiveText const& text, CadPoint const& offset) {
    if (!m_context || text.empty())
        return;
    CadPoint anchor = transformPoint(static_cast<CadPoint const&>(text)) + offset;
    NewDisplay::Font font;
    font.size = 12.0;
    m_context->DrawPlainText(text.data(), font, anchor.x(), anchor.y(), text.getAngle());
}

CadPoint RenderContext::transformPoint(CadPoint const& p) const {
    CadPoint screen(p.x() * m_scale, -p.y() * m_scale, p.z() * m_scale);
    m_rotation.transformPt(screen);
    return CadPoint(screen.x() + m_centre.getX(), screen.y() + m_centre.getY(), screen.z());
}

ScreenPoint RenderContext::toScreenPoint(CadPoint const& p) const {
    CadPoint screen = transformPoint(p);
    return ScreenPoint(toInt16(screen.x()), toInt16(screen.y()));
}

CadPoint RenderContext::toWorldCoordinates(ScreenPoint const& p) const {
    CadPoint world(double(p.getX()) - m_centre.getX(), double(p.getY()) - m_centre.getY(), 0.0);
    ZRotater back(m_rotation);
    back.reverse();
    back.transformPt(world);
    world.y() = -world.y();
    return world / m_scale;
}

void RenderContext::zoomToFit(Cube const& box) {
    double width = std::abs(m_bounds.getEnd().getX() - m_bounds.getOrigin().getX());
    double height = std::abs(m_bounds.getEnd().getY() - m_bounds.getOrigin().getY());
    if (std::fabs(box.getMaxLength()) <= tolerance || width == 0 || height == 0)
        return;
    Cube turned(box);
    turned.rotate(m_rotation.getAngle());
    double boxWidth = std::fabs(turned.getWidth()), boxDepth = std::fabs(turned.getDepth());
    // A side of no size sets no limit; with neither, nothing changes.
    if (boxWidth <= tolerance && boxDepth <= tolerance)
        return;
    double scale = boxWidth > tolerance ? width / boxWidth : height / boxDepth;
    if (boxWidth > tolerance && boxDepth > tolerance)
        scale = std::min(scale, height / boxDepth);
    m_scale = scale;
    m_centre = m_bounds.getCentre();
}

} // namespace zelvane
