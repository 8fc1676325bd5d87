#include "Display/NativeContext.hpp"

#include <utility>

namespace NewDisplay {

void NativeContext::record(char const* name, std::vector<double> arguments, std::string text) {
    m_recording->calls.push_back(Call{name, std::move(arguments), std::move(text)});
}

void NativeContext::Clear() {
    record("Clear", {});
}

void NativeContext::SetForeColor(UInt8 red, UInt8 green, UInt8 blue, UInt8 alpha) {
    record("SetForeColor", {double(red), double(green), double(blue), double(alpha)});
}

void NativeContext::SetLineWidth(double width) {
    record("SetLineWidth", {width});
}

void NativeContext::FillRect(Rect const& rect, UInt8 red, UInt8 green, UInt8 blue, UInt8 alpha) {
    record("FillRect", {rect.left, rect.top, rect.right, rect.bottom, double(red), double(green),
                        double(blue), double(alpha)});
}

void NativeContext::MoveTo(double x, double y) {
    record("MoveTo", {x, y});
}

void NativeContext::LineTo(double x, double y) {
    record("LineTo", {x, y});
}

void NativeContext::ArcTo(Rect const& box, double startAngle, double sweep) {
    record("ArcTo", {box.left, box.top, box.right, box.bottom, startAngle, sweep});
}

void NativeContext::BeginPolygon() {
    record("BeginPolygon", {});
}

void NativeContext::EndPolygon() {
    record("EndPolygon", {});
}

void NativeContext::DrawPlainText(std::string const& text, Font const& font, double x, double y,
                                  double angle) {
    record("DrawPlainText", {x, y, angle, font.size}, text + "|" + font.family);
}

} // namespace NewDisplay
