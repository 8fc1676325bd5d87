// What every drawing primitive carries beside its geometry: display order, pen, line style, the
// scripts it belongs to and whether it is a hatch's fill line or lies inside a hatch's border.
#pragma once

#include "Attribute/AttributeIndex.h"
#include "Geometry/Cube.h"

#include <memory>

struct API_Prim_Head;
struct API_PrimArc;
struct API_PrimHatchBorder;
struct API_PrimLine;
struct API_PrimPLine;
struct API_PrimPoint;
struct API_PrimPoly;
struct API_PrimText;
struct API_PrimTri;

namespace zelvane {

class Attribute;
class CadPoint;
class Element;
class DataBufferOut;
class ParameterBuilder;
class RenderContext;
class String;

class Primitive {
public:
    Primitive(short displayOrder, attribute_index pen, attribute_index lineStyle, bool is2D, bool is3D)
        : m_displayOrder(displayOrder), m_pen(pen), m_lineStyle(lineStyle), m_is2D(is2D), m_is3D(is3D) {}
    // Pen and display order from the host record's head.
    Primitive(API_Prim_Head const& head, attribute_index lineStyle, bool is2D, bool is3D);
    // The element's first pen and line style and its display order.
    Primitive(Element const& element, bool is2D, bool is3D);
    virtual ~Primitive() = default;

    // Moves the geometry by the vector.
    virtual void offset(CadPoint const& v) = 0;
    virtual bool encloses2D(CadPoint const& p, double tol) const = 0;
    // Null when there is no geometry.
    virtual std::unique_ptr<Cube> getBounds() const = 0;
    // Each writer answers the stream's state after writing.
    virtual bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                               unsigned short indent) const = 0;
    virtual bool write3DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                               unsigned short indent) const = 0;
    // Draws a preview of a 2D primitive; points, polygons, hatches and bodies draw nothing.
    virtual bool renderIn(RenderContext& context, CadPoint const& offset) const = 0;

    short getDisplayOrder() const { return m_displayOrder; }
    attribute_index getPen() const { return m_pen; }
    attribute_index getLineStyle() const { return m_lineStyle; }
    bool is2D() const { return m_is2D; }
    bool is3D() const { return m_is3D; }
    bool isHatchLine() const { return m_hatchLine; }
    bool isHatchBody() const { return m_hatchBody; }
    void setDisplayOrder(short order) { m_displayOrder = order; }
    void setPen(attribute_index pen) { m_pen = pen; }
    void setLineStyle(attribute_index style) { m_lineStyle = style; }
    void setHatchLine(bool state) { m_hatchLine = state; }
    void setHatchBody(bool state) { m_hatchBody = state; }

    // Script text pieces: `indent` tabs; a number rounded to 0.00001; an angle in degrees; a point
    // (plus the offset) as "x, y" or "x, y, z", with a trailing "," when asked.
    static void writeTabs(DataBufferOut& out, unsigned short indent);
    static void writeNumber(DataBufferOut& out, double value);
    static void writeAngle(DataBufferOut& out, double radians);
    static void write2DPoint(DataBufferOut& out, CadPoint const& p, CadPoint const& offset,
                             bool trailing = false);
    static void write3DPoint(DataBufferOut& out, CadPoint const& p, CadPoint const& offset,
                             bool trailing = false);
    // A GDL string literal of the text: delimited by a quote character the text does not hold,
    // pieces joined with "+" when it holds both; a line break becomes a space.
    static void writeQuoted(DataBufferOut& out, String const& text);
    static bool isGood(DataBufferOut const& out);

    // An attribute's value: through the builder a parameter name (with its row in brackets for an
    // array), else the index (a surface material by its quoted name). As a statement the kind's
    // keyword comes first and a line break after. Nothing is written for the builder's method -4,
    // when only changes are asked and the value is the last one written, or for an index below 1,
    // unless `literal` asks for the index then (inside another statement, where an empty argument
    // would break it). Answers whether a value was written.
    static bool writeAttribute(Attribute const& attribute, DataBufferOut& out, ParameterBuilder* builder,
                               unsigned short indent, int penType, bool onlyIfChanged, bool asStatement,
                               bool literal = false);

protected:
    // With a builder: the pen statement (of the pen type), then the line style statement, each
    // when it changed.
    void writeLineAttributes(DataBufferOut& out, ParameterBuilder* builder, unsigned short indent,
                             int penType) const;

private:
    short m_displayOrder;
    attribute_index m_pen;
    attribute_index m_lineStyle;
    bool m_is2D;
    bool m_is3D;
    bool m_hatchLine = false;
    bool m_hatchBody = false;
};

} // namespace zelvane
