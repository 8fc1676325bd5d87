#include "Interface/ScreenRect.h"

namespace zelvane {

ScreenRect::operator GSRect() const {
    GSRect rect;
    rect.top = m_origin.getY();
    rect.left = m_origin.getX();
    rect.bottom = m_end.getY();
    rect.right = m_end.getX();
    return rect;
}

bool ScreenRect::operator==(ScreenRect const& other) const {
    return m_origin.getX() == other.m_origin.getX() && m_origin.getY() == other.m_origin.getY() &&
           m_end.getX() == other.m_end.getX() && m_end.getY() == other.m_end.getY();
}

ScreenRect& ScreenRect::operator+=(ScreenPoint const& offset) {
    m_origin += offset;
    m_end += offset;
    return *this;
}

void ScreenRect::moveTo(ScreenPoint const& point) {
    ScreenPoint offset = point;
    offset -= m_origin;
    *this += offset;
}

ScreenPoint ScreenRect::getCentre() const {
    Int32 x = (Int32(m_origin.getX()) + Int32(m_end.getX())) / 2;
    Int32 y = (Int32(m_origin.getY()) + Int32(m_end.getY())) / 2;
    return ScreenPoint(Int16(x), Int16(y), m_origin.getType(), m_origin.getContext());
}

} // namespace zelvane
