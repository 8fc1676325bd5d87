#include "Interface/DialogControl.h"

#include "Attribute/TextStyle.h"
#include "DG/DGItems.hpp"
#include "Interface/InterfacePanel.h"

#include <algorithm>
#include <cstdlib>

namespace zelvane {
namespace {

Int16 extent(Int16 from, Int16 to) {
    return Int16(std::abs(int(to) - int(from)));
}

ScreenPoint difference(const ScreenPoint& a, const ScreenPoint& b) {
    return ScreenPoint(Int16(a.getX() - b.getX()), Int16(a.getY() - b.getY()));
}

} // namespace

DialogControl::DialogControl(const ControlLink& link, Int16 rows, Int16 columns) : m_link(link) {
    setTableSize(rows, columns);
    if (m_link.getPanel() != nullptr && m_link.getItem() != -1) {
        m_link.getPanel()->addControl(this);
    }
}

DialogControl::DialogControl(const DialogControl& other)
    : Publisher(other), m_link(other.m_link), m_rows(other.m_rows), m_columns(other.m_columns),
      m_container(other.m_container), m_sizes(other.m_sizes), m_origins(other.m_origins),
      m_sizeValid(other.m_sizeValid), m_originValid(other.m_originValid) {}

Int16 DialogControl::getDialogID() const {
    return m_link.getPanel() != nullptr ? m_link.getPanel()->getDialogID() : 0;
}

Int16 DialogControl::getIndex(Int16) const {
    return m_link.getItem();
}

bool DialogControl::hostBounds(Int16 cell, ScreenRect& bounds) const {
    short left = 0, top = 0, right = 0, bottom = 0;
    if (!DGGetItemRect(getDialogID(), getIndex(cell), &left, &top, &right, &bottom)) {
        bounds = ScreenRect();
        return false;
    }
    bounds = ScreenRect(ScreenPoint(left, top), ScreenPoint(right, bottom));
    return true;
}

ScreenRect DialogControl::getBounds(Int16 cell) const {
    ScreenRect bounds;
    bool known = hostBounds(cell, bounds);
    if (!inCache(cell)) {
        return bounds;
    }
    std::size_t row = std::size_t(cell);
    ScreenPoint hostSize = difference(bounds.getEnd(), bounds.getOrigin());
    if (m_originValid[row]) {
        bounds.moveTo(m_origins[row]);
    } else if (known) {
        setLastOrigin(bounds.getOrigin(), cell);
    }
    if (m_sizeValid[row]) {
        ScreenPoint end = bounds.getOrigin();
        end += m_sizes[row];
        bounds.setEnd(end);
    } else if (known) {
        setLastSize(hostSize, cell);
    }
    return bounds;
}

ScreenPoint DialogControl::getOrigin(Int16 cell) const {
    return getBounds(cell).getOrigin();
}

ScreenPoint DialogControl::getSize(Int16 cell) const {
    ScreenRect bounds = getBounds(cell);
    return ScreenPoint(extent(bounds.getOrigin().getX(), bounds.getEnd().getX()),
                       extent(bounds.getOrigin().getY(), bounds.getEnd().getY()));
}

Int16 DialogControl::getWidth(Int16 cell) const {
    return getSize(cell).getX();
}

Int16 DialogControl::getDepth(Int16 cell) const {
    return getSize(cell).getY();
}

bool DialogControl::isEnabled(Int16 cell) const {
    return DGIsItemEnabled(getDialogID(), getIndex(cell));
}

bool DialogControl::isVisible(Int16 cell) const {
    return DGIsItemVisible(getDialogID(), getIndex(cell));
}

Int16 DialogControl::getSelectedRow(Int16) const {
    return 0;
}

bool DialogControl::isSelected(Int16, Int16) const {
    return false;
}

bool DialogControl::isValidCell(Int16 row, Int16 column) const {
    return row != -1 && column != -1 && row < m_rows && column < m_columns;
}

String DialogControl::getLabel(Int16, Int16) const {
    return String();
}

Image DialogControl::getImage(Int16, Int16) const {
    return Image();
}

void DialogControl::redraw(Int16 cell) {
    DGRedrawItem(getDialogID(), getIndex(cell));
}

void* DialogControl::getRenderContext(Int16) const {
    return nullptr;
}

void DialogControl::setLink(const ControlLink& link, Int16 cell) {
    if (m_link.getPanel() != nullptr && m_link.getItem() != -1) {
        return;
    }
    if (m_link.getPanel() == nullptr) {
        m_link.setPanel(link.getPanel());
        m_link.setItem(-1);
    }
    setIndex(link.getItem(), cell);
}

void DialogControl::setIndex(Int16 item, Int16) {
    if (m_link.getItem() != -1) {
        return;
    }
    m_link.setItem(item);
    if (item != -1 && m_link.getPanel() != nullptr) {
        m_link.getPanel()->addControl(this);
    }
}

void DialogControl::setBounds(const ScreenRect& bounds, Int16 cell) {
    ScreenRect old = getBounds(0);
    ScreenPoint size = difference(bounds.getEnd(), bounds.getOrigin());
    setLastOrigin(bounds.getOrigin(), cell);
    setLastSize(size, cell);
    ScreenPoint move = difference(bounds.getOrigin(), old.getOrigin());
    DGMoveGrowItem(getDialogID(), getIndex(cell), move.getX(), move.getY(),
                   Int16(size.getX() - extent(old.getOrigin().getX(), old.getEnd().getX())),
                   Int16(size.getY() - extent(old.getOrigin().getY(), old.getEnd().getY())));
}

void DialogControl::setOrigin(const ScreenPoint& origin, Int16 cell) {
    ScreenPoint old = getBounds(cell).getOrigin();
    setLastOrigin(origin, cell);
    ScreenPoint move = difference(origin, old);
    DGMoveItem(getDialogID(), getIndex(cell), move.getX(), move.getY());
}

void DialogControl::setSize(const ScreenPoint& size, Int16 cell) {
    ScreenRect old = getBounds(0);
    setLastSize(size, cell);
    DGGrowItem(getDialogID(), getIndex(cell),
               Int16(size.getX() - extent(old.getOrigin().getX(), old.getEnd().getX())),
               Int16(size.getY() - extent(old.getOrigin().getY(), old.getEnd().getY())));
}

void DialogControl::setWidth(Int16 width, Int16 cell) {
    setSize(ScreenPoint(width, getDepth(cell)), cell);
}

void DialogControl::setDepth(Int16 depth, Int16 cell) {
    setSize(ScreenPoint(getWidth(cell), depth), cell);
}

void DialogControl::setVisible(bool visible, Int16 cell) {
    if (visible) {
        DGShowItem(getDialogID(), getIndex(cell));
    } else {
        DGHideItem(getDialogID(), getIndex(cell));
    }
}

void DialogControl::setEnabled(bool enabled, Int16 cell) {
    if (enabled) {
        DGEnableItem(getDialogID(), getIndex(cell));
    } else {
        DGDisableItem(getDialogID(), getIndex(cell));
    }
}

void DialogControl::takeFocus(Int16 cell) {
    DGSetFocus(getDialogID(), getIndex(cell));
}

void DialogControl::offset(const ScreenPoint& delta, Int16 cell) {
    ScreenRect bounds = getBounds(cell);
    bounds += delta;
    setLastOrigin(bounds.getOrigin(), cell);
    DGMoveItem(getDialogID(), getIndex(cell), delta.getX(), delta.getY());
}

void DialogControl::resize(const ScreenPoint& delta, Int16 cell) {
    ScreenRect bounds = getBounds(cell);
    ScreenPoint size = difference(bounds.getEnd(), bounds.getOrigin());
    size += delta;
    setLastSize(size, cell);
    DGGrowItem(getDialogID(), getIndex(cell), delta.getX(), delta.getY());
}

void DialogControl::resizeAndMove(const ScreenPoint& sizeDelta, const ScreenPoint& offset, Int16 cell) {
    ScreenRect bounds = getBounds(cell);
    ScreenPoint size = difference(bounds.getEnd(), bounds.getOrigin());
    bounds += offset;
    size += sizeDelta;
    setLastOrigin(bounds.getOrigin(), cell);
    setLastSize(size, cell);
    DGMoveGrowItem(getDialogID(), getIndex(cell), offset.getX(), offset.getY(), sizeDelta.getX(),
                   sizeDelta.getY());
}

void DialogControl::setFont(Int16 font, Int16 cell) {
    DGSetItemFont(getDialogID(), getIndex(cell), font);
}

bool DialogControl::setTableSize(Int16 rows, Int16 columns) {
    m_rows = rows;
    m_columns = columns;
    std::size_t cached = std::size_t(std::max<Int16>(rows, 1));
    m_sizes.resize(cached);
    m_origins.resize(cached);
    m_sizeValid.resize(cached, false);
    m_originValid.resize(cached, false);
    return true;
}

void DialogControl::setLabel(const String&, Int16, Int16) {}

void DialogControl::setImage(const Image&, Int16, Int16) {}

Int16 DialogControl::fontForPoints(Int16 points) {
    if (points >= 1 && points <= 9) {
        return extraSmallFont;
    }
    if (points == 10 || points == 11) {
        return smallFont;
    }
    return largeFont;
}

void DialogControl::setStyle(const TextStyle& style, Int16 row, Int16) {
    setFont(fontForPoints(style.getPointSize()), row);
}

bool DialogControl::isCachedOrigin(Int16 cell) const {
    return inCache(cell) && m_originValid[std::size_t(cell)];
}

bool DialogControl::isCachedSize(Int16 cell) const {
    return inCache(cell) && m_sizeValid[std::size_t(cell)];
}

void DialogControl::setLastOrigin(const ScreenPoint& origin, Int16 cell) const {
    if (inCache(cell)) {
        m_origins[std::size_t(cell)] = origin;
        m_originValid[std::size_t(cell)] = true;
    }
}

void DialogControl::setLastSize(const ScreenPoint& size, Int16 cell) const {
    if (inCache(cell)) {
        m_sizes[std::size_t(cell)] = size;
        m_sizeValid[std::size_t(cell)] = true;
    }
}

} // namespace zelvane
