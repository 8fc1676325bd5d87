// The host's drawing surface of a window or dialog item, with a dirty rectangle to redraw. This
// one records every call with its arguments, in order, for the caller to inspect.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <string>
#include <vector>

namespace NewDisplay {

struct Font {
    std::string family; // empty: the default family
    double size = 12.0;
};

struct Rect {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

class NativeContext {
public:
    struct Call {
        std::string name;
        std::vector<double> arguments;
        std::string text; // DrawPlainText's text and font family
    };

    NativeContext() = default;
    explicit NativeContext(Rect const& dirty) : m_dirty(dirty) {}
    virtual ~NativeContext() = default;

    Rect GetDirtyRect() const { return m_dirty; }
    void SetDirtyRect(Rect const& dirty) { m_dirty = dirty; }

    void Clear();
    // Channels 0 to 255.
    void SetForeColor(UInt8 red, UInt8 green, UInt8 blue, UInt8 alpha);
    void SetLineWidth(double width);
    void FillRect(Rect const& rect, UInt8 red, UInt8 green, UInt8 blue, UInt8 alpha);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    // The arc of the ellipse in the box from the start angle through the sweep, radians,
    // anticlockwise as seen on screen.
    void ArcTo(Rect const& box, double startAngle, double sweep);
    void BeginPolygon();
    void EndPolygon();
    void DrawPlainText(std::string const& text, Font const& font, double x, double y, double angle);

    std::vector<Call> const& GetCalls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }

private:
    void record(char const* name, std::vector<double> arguments, std::string text = std::string());

    Rect m_dirty;
    std::vector<Call> m_calls;
};

} // namespace NewDisplay
