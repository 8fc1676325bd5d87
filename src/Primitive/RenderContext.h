// Draws drawing primitives as a preview into a host drawing surface: world coordinates (y up)
// become screen pixels (y down) through a scale, a turn about z and a screen centre. The pen and
// line style are kept so the surface changes only when they do.
#pragma once

#include "Attribute/AttributeIndex.h"
#include "Geometry/CadPoint.h"
#include "Geometry/Rotater.h"
#include "Interface/ScreenPoint.h"
#include "Interface/ScreenRect.h"

#include <memory>

namespace NewDisplay {
class NativeContext;
}

namespace zelvane {

class CadColour;
class Cube;
class PrimitiveArc;
class PrimitiveLine;
class PrimitivePolygon;
class PrimitiveText;

class RenderContext {
public:
    // Takes the context over; empty bounds with a context take its dirty rectangle.
    RenderContext(NewDisplay::NativeContext* context, ScreenRect const& bounds);
    ~RenderContext();
    RenderContext(RenderContext const&) = delete;
    RenderContext& operator=(RenderContext const&) = delete;

    void setNativeContext(NewDisplay::NativeContext* context);
    void clear();
    // Changes the surface only for another pen: its colour (unless fixed) and its width in points
    // at the present scale (unless fixed). The pen becomes current even without a surface.
    void setPen(attribute_index pen, unsigned char unused = 0);
    // Recorded only: the surface draws solid lines.
    void setLineStyle(attribute_index style);
    void setPenColour(CadColour const& colour, bool fix);
    void setPenWeight(double weight, bool fix);
    void setBackgroundColour(CadColour const& colour) const;

    void drawLine(PrimitiveLine const& line, CadPoint const& offset);
    // Circular: an elliptic arc's ratio and rotation are not applied.
    void drawArc(PrimitiveArc const& arc, CadPoint const& offset);
    // The outline's straight edges; holes and arc edges are not drawn.
    void drawPolygon(PrimitivePolygon const& polygon, CadPoint const& offset);
    void drawText(PrimitiveText const& text, CadPoint const& offset);

    CadPoint transformPoint(CadPoint const& p) const;
    // Clamped to the 16-bit range; a coordinate that is not finite becomes 0.
    ScreenPoint toScreenPoint(CadPoint const& p) const;
    CadPoint toWorldCoordinates(ScreenPoint const& p) const;
    // The scale that fits the box, turned by the world rotation, into the bounds, centred on them.
    void zoomToFit(Cube const& box);

    void setScale(double scale) { m_scale = scale; }
    double getScale() const { return m_scale; }
    void setCentre(ScreenPoint const& centre) { m_centre = centre; }
    ScreenPoint const& getCentre() const { return m_centre; }
    void setRotation(double angle) { m_rotation.setAngle(angle, 0.00001); }
    double getRotation() const { return m_rotation.getAngle(); }
    ScreenRect const& getBounds() const { return m_bounds; }
    attribute_index getPen() const { return m_pen; }
    attribute_index getLineStyle() const { return m_lineStyle; }

private:
    std::shared_ptr<NewDisplay::NativeContext> m_context;
    ZRotater m_rotation{0.0, 0.00001};
    ScreenRect m_bounds;
    ScreenPoint m_centre;
    double m_scale = 1.0;
    attribute_index m_lineStyle;
    attribute_index m_unused;
    attribute_index m_pen;
    std::unique_ptr<CadColour> m_fixedColour;
    double m_fixedWeight = 0.0;
};

} // namespace zelvane
