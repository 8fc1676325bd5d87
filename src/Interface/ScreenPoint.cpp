#include "Interface/ScreenPoint.h"

namespace zelvane {

ScreenPoint& ScreenPoint::operator+=(ScreenPoint const& other) {
    m_x = Int16(UInt16(m_x) + UInt16(other.m_x));
    m_y = Int16(UInt16(m_y) + UInt16(other.m_y));
    return *this;
}

ScreenPoint& ScreenPoint::operator-=(ScreenPoint const& other) {
    m_x = Int16(UInt16(m_x) - UInt16(other.m_x));
    m_y = Int16(UInt16(m_y) - UInt16(other.m_y));
    return *this;
}

} // namespace zelvane
