// A rectangle in dialog or screen pixels from an origin corner to an end corner. The corners are
// kept as given, never normalised.
#pragma once

#include "GSRoot/GSRect.hpp"
#include "Interface/ScreenPoint.h"

namespace zelvane {

class ScreenRect {
public:
    ScreenRect() = default;
    ScreenRect(ScreenPoint const& origin, ScreenPoint const& end) : m_origin(origin), m_end(end) {}

    ScreenPoint const& getOrigin() const { return m_origin; }
    ScreenPoint const& getEnd() const { return m_end; }
    ScreenPoint& getOrigin() { return m_origin; }
    ScreenPoint& getEnd() { return m_end; }
    void setOrigin(ScreenPoint const& origin) { m_origin = origin; }
    void setEnd(ScreenPoint const& end) { m_end = end; }

    // The host record {top, left, bottom, right}.
    operator GSRect() const;
    // Compares the corners' coordinates; the tags play no part.
    bool operator==(ScreenRect const& other) const;
    bool operator!=(ScreenRect const& other) const { return !(*this == other); }

    // Moves both corners by the point.
    ScreenRect& operator+=(ScreenPoint const& offset);
    // Moves the rectangle so that its origin lands on the point; the size stays.
    void moveTo(ScreenPoint const& point);
    // Per axis the corners' mean, rounded towards zero, with the origin's tags. The sum is taken
    // in 32 bits, so corners near the 16-bit limits do not wrap.
    ScreenPoint getCentre() const;

private:
    ScreenPoint m_origin;
    ScreenPoint m_end;
};

} // namespace zelvane
