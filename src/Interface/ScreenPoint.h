// A point in dialog or screen pixels, with the tags that tell the host dialog library how to
// read it.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class ScreenPoint {
public:
    // Which measure a position or size is; for dialogs 0, 2 and 4 name the client area and 1, 3
    // and 5 the frame. Passed to the host unchanged.
    using Type = UInt32;
    using Context = UInt32;
    // The point that stays fixed when a panel is resized.
    using Anchor = UInt32;

    ScreenPoint(Int16 x = 0, Int16 y = 0, Type type = 0, Context context = 0)
        : m_x(x), m_y(y), m_type(type), m_context(context) {}

    Int16 getX() const { return m_x; }
    Int16 getY() const { return m_y; }
    Type getType() const { return m_type; }
    Context getContext() const { return m_context; }
    void setX(Int16 x) { m_x = x; }
    void setY(Int16 y) { m_y = y; }
    void setType(Type type) { m_type = type; }
    void setContext(Context context) { m_context = context; }

    // Coordinates only, wrapping at 16 bits; the tags stay.
    ScreenPoint& operator+=(ScreenPoint const& other);
    ScreenPoint& operator-=(ScreenPoint const& other);

private:
    Int16 m_x;
    Int16 m_y;
    Type m_type;
    Context m_context;
};

} // namespace zelvane
