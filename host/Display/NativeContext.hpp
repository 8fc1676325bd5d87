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

struct Call {
    std::string name;
    std::vector<double> arguments;
    std::string text; // DrawPlainText's text and font family
};

// What a window or item shows: the calls drawn into it and the part to redraw. A dialog item's
// update record carries a pointer to its recording as the drawing context.
struct Recording {
    Rect dirty;
    std::vector<Call> calls;
};

class NativeContext {
public:
    using Call = NewDisplay::Call;

    // Over a recording of its own.
    NativeContext() = default;
    explicit NativeContext(Rect const& dirty) { m_own.dirty = dirty; }
    // Over the host's drawing context (a Recording); one of its own when null.
    explicit NativeContext(void* drawContext)
        : m_recording(drawContext != nullptr ? static_cast<Recording*>(drawContext) : &m_own) {}
    NativeContext(NativeContext const&) = delete;
    NativeContext& operator=(NativeContext const&) = delete;
    virtual ~NativeContext() = default;

    Rect GetDirtyRect() const { return m_recording->dirty; }
    void SetDirtyRect(Rect const& dirty) { m_recording->dirty = dirty; }

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

    std::vector<Call> const& GetCalls() const { return m_recording->calls; }
    void ClearCalls() { m_recording->calls.clear(); }

private:
    void record(char const* name, std::vector<double> arguments, std::string text = std::string());

    Recording m_own;
    Recording* m_recording = &m_own;
};

} // namespace NewDisplay
