#include "Interface/ListControl.h"

#include "Addon/ActionEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/ListHeaderClickEvent.h"
#include "Addon/ListHeaderDragEvent.h"
#include "Addon/ListHeaderResizeEvent.h"
#include "Addon/Receiver.h"
#include "Attribute/CadColour.h"
#include "Attribute/TextStyle.h"
#include "DG/DGMessages.hpp"
#include "Environment/StringSetting.h"
#include "Interface/InterfacePanel.h"

#include <stdexcept>

namespace zelvane {
namespace {

// The host's row text style for a face code.
Int16 rowStyle(TextStyle::Face face) {
    switch (face) {
    case 0:
        return 0x10;
    case 1:
        return 0x20;
    case 3:
        return 0x30;
    default:
        return 0;
    }
}

} // namespace

ListControl::ProxyList::ProxyList(Int16 columns, Int16 rows) : m_rows(std::max<Int16>(rows, 0)) {
    for (Int16 c = 0; c < columns; ++c) {
        push_back(new FieldProxy(nullptr, m_rows));
    }
}

void ListControl::ProxyList::deleteRow(Int16 row, Int16 count) {
    for (FieldProxy* proxy : *this) {
        proxy->deleteRow(row, count);
    }
}

void ListControl::ProxyList::insertRow(Int16 row, Int16 count) {
    for (FieldProxy* proxy : *this) {
        proxy->insertRow(row, count);
    }
}

void ListControl::ProxyList::insertColumn(Int16 column, Int16 count) {
    column = std::clamp<Int16>(column, 0, Int16(size()));
    for (Int16 i = 0; i < count; ++i) {
        insert(begin() + column, new FieldProxy(nullptr, m_rows));
    }
}

void ListControl::ProxyList::deleteColumn(Int16 column, Int16 count) {
    if (column < 0 || count < 1 || std::size_t(column) >= size()) {
        return;
    }
    std::size_t last = std::min(size(), std::size_t(column) + std::size_t(count));
    erase(begin() + column, begin() + std::ptrdiff_t(last));
}

bool ListControl::Node::isEnded() const {
    return m_list == nullptr || m_row < 0 || m_row >= m_list->getRows();
}

bool ListControl::Node::moveForward(ViewScope scope) {
    if (isEnded()) {
        throw std::out_of_range("");
    }
    m_row = scope == selectedRows ? m_list->getSelectedRow(Int16(m_row + 1)) : Int16(m_row + 1);
    return !isEnded();
}

bool ListControl::Node::moveBackward(ViewScope scope) {
    if (isEnded()) {
        throw std::out_of_range("");
    }
    Int16 row = Int16(m_row - 1);
    if (scope == selectedRows) {
        while (row >= 0 && !m_list->isSelected(row, 0)) {
            --row;
        }
    }
    m_row = row;
    return !isEnded();
}

bool ListControl::Node::isLess(const Node* node, const Node* other) {
    bool ended = node == nullptr || node->isEnded();
    bool otherEnded = other == nullptr || other->isEnded();
    if (ended || otherEnded) {
        return !ended && otherEnded;
    }
    return node->m_row < other->m_row;
}

Setting* ListControl::Node::getSetting(Int16 column) const {
    return isEnded() ? nullptr : m_list->getSetting(m_row, column);
}

String ListControl::Node::getLabel(Int16 column) const {
    return isEnded() ? String() : m_list->getLabel(m_row, column);
}

CadColour ListControl::Node::getColour(Int16 column) const {
    return isEnded() ? CadColour() : m_list->getColour(m_row, column);
}

ListControl::Status ListControl::Node::getStatus(Int16 column) const {
    return isEnded() ? Status(0) : m_list->getStatus(m_row, column);
}

Image ListControl::Node::getImage(Int16 column) const {
    return isEnded() ? Image() : m_list->getImage(m_row, column);
}

bool ListControl::Node::isSelected() const {
    return !isEnded() && m_list->isSelected(m_row, 0);
}

Int64 ListControl::Node::getUserData() const {
    return isEnded() ? 0 : m_list->getUserData(m_row);
}

void ListControl::Node::setSetting(const Setting& value, Int16 column) {
    if (!isEnded()) {
        m_list->setSetting(value, m_row, column);
    }
}

void ListControl::Node::setLabel(const String& label, Int16 column) {
    if (!isEnded()) {
        m_list->setLabel(label, m_row, column);
    }
}

void ListControl::Node::setColour(const CadColour& colour, Int16 column) {
    if (!isEnded()) {
        m_list->setColour(colour, m_row, column);
    }
}

void ListControl::Node::setImage(const Image& image, Int16 column) {
    if (!isEnded()) {
        m_list->setImage(image, m_row, column);
    }
}

void ListControl::Node::setStatus(Status status, Int16 column) {
    if (!isEnded()) {
        m_list->setStatus(status, m_row, column);
    }
}

void ListControl::Node::setStyle(const TextStyle& style, Int16 column) {
    if (!isEnded()) {
        m_list->setStyle(style, m_row, column);
    }
}

void ListControl::Node::setSelected(bool selected) {
    if (!isEnded()) {
        m_list->setSelected(selected, m_row, 0);
    }
}

void ListControl::Node::setUserData(Int64 value) {
    if (!isEnded()) {
        m_list->setUserData(value, m_row);
    }
}

void ListControl::Node::setBackgroundColour(const CadColour& colour) {
    if (!isEnded()) {
        m_list->setBackgroundColour(colour, m_row);
    }
}

void ListControl::Node::redraw() {
    if (!isEnded()) {
        m_list->redraw(m_row);
    }
}

ListControl::ListControl(const ControlLink& link, Int16 rows, Int16 columns, const ListColumnStyle& style)
    : DialogControl(link, 0, 0) {
    setTableSize(rows, columns);
    for (ListColumnStyle* column : m_columns) {
        *column = style;
    }
    applyTableStyle();
}

ListControl::ListControl(const ListControl& other)
    : DialogControl(other), m_list(other.m_list), m_columns(other.m_columns),
      m_proxies(other.m_proxies ? new ProxyList(*other.m_proxies) : nullptr), m_proxyRow(other.m_proxyRow),
      m_mouse(other.m_mouse), m_gap(other.m_gap), m_proxiesEnabled(other.m_proxiesEnabled) {}

const DG::Panel* ListControl::hostPanel() const {
    InterfacePanel* panel = getLink().getPanel();
    return panel != nullptr && getIndex(0) > 0 ? panel->getPanel() : nullptr;
}

std::shared_ptr<DG::ListBox> ListControl::host() const {
    if (m_list) {
        return m_list;
    }
    const DG::Panel* panel = hostPanel();
    if (panel == nullptr) {
        return nullptr;
    }
    if (!m_unreferenced || m_unreferenced->GetPanelId() != panel->GetId() ||
        m_unreferenced->GetId() != getIndex(0)) {
        m_unreferenced = std::make_shared<DG::MultiSelListBox>(*panel, getIndex(0));
    }
    return m_unreferenced;
}

void ListControl::addReference(const DG::Panel& panel) {
    m_list = std::make_shared<DG::MultiSelListBox>(panel, getIndex(0));
}

String ListControl::getText(Int16 row, Int16 column) const {
    auto list = host();
    if (!list || !isValidCell(row, column)) {
        return String();
    }
    return String(list->GetTabItemText(Int16(row + 1), Int16(column + 1)));
}

void ListControl::setText(const String& text, Int16 row, Int16 column) {
    auto list = host();
    if (list && isValidCell(row, column)) {
        list->SetTabItemText(Int16(row + 1), Int16(column + 1), GS::UniString(text));
    }
}

DialogControl* ListControl::getProxyControl(Int16 column) const {
    if (!m_proxiesEnabled || !m_proxies || column < 0 || std::size_t(column) >= m_proxies->size()) {
        return nullptr;
    }
    return (*m_proxies)[std::size_t(column)]->getEditor();
}

Setting* ListControl::getSetting(Int16 row, Int16 column) const {
    if (!isValidCell(row, column)) {
        return nullptr;
    }
    DialogControl* editor = getProxyControl(column);
    if (editor == nullptr) {
        return new StringSetting(getText(row, column));
    }
    FieldProxy& proxy = *(*m_proxies)[std::size_t(column)];
    if (row == m_proxyRow) {
        if (Setting* current = editor->getSetting(0, 0)) {
            return current;
        }
    } else if (const Setting* stored = proxy.getValue(row)) {
        return stored->clone();
    }
    // The editor's kind of value holding the cell's text, made without loading the text into the
    // editor: the editor's host item shows the row being edited, not this one.
    std::unique_ptr<Setting> value(editor->getSetting(0, 0));
    if (!value) {
        return new StringSetting(getText(row, column));
    }
    *value = StringSetting(getText(row, column));
    if (row != m_proxyRow) {
        proxy.setValue(row, value->clone());
    }
    return value.release();
}

void ListControl::setSetting(const Setting& value, Int16 row, Int16 column) {
    if (!isValidCell(row, column)) {
        return;
    }
    if (DialogControl* editor = getProxyControl(column)) {
        (*m_proxies)[std::size_t(column)]->setValue(row, value.clone());
        // Only the row being edited shows in the editor; any other row's value would be written
        // into the edited row when the editors move on.
        if (row == m_proxyRow) {
            editor->setSetting(value, 0, 0);
        }
    }
    String text;
    value.getValue(text);
    setText(text, row, column);
}

String ListControl::getLabel(Int16 row, Int16 column) const {
    DialogControl* editor = isValidCell(row, column) ? getProxyControl(column) : nullptr;
    return editor != nullptr ? editor->getLabel(0, 0) : String();
}

void ListControl::setLabel(const String& text, Int16 row, Int16 column) {
    if (!isValidCell(row, column)) {
        return;
    }
    if (DialogControl* editor = getProxyControl(column)) {
        editor->setLabel(text, 0, 0);
    }
    setText(text, row, column);
}

Image ListControl::getImage(Int16 row, Int16 column) const {
    if (!isValidCell(row, column)) {
        return Image();
    }
    if (DialogControl* editor = getProxyControl(column)) {
        return editor->getImage(0, 0);
    }
    auto list = host();
    DG::Icon icon = list ? list->GetTabItemIcon(Int16(row + 1), Int16(column + 1)) : DG::Icon();
    return icon.GetResourceId() > 0 ? Image(icon) : Image();
}

void ListControl::setImage(const Image& image, Int16 row, Int16 column) {
    auto list = host();
    if (list && isValidCell(row, column) && !image.isEmpty()) {
        list->SetTabItemIcon(Int16(row + 1), Int16(column + 1), DG::Icon(image));
    }
}

CadColour ListControl::getColour(Int16 row, Int16) const {
    auto list = host();
    if (!list || !isValidRow(row)) {
        return CadColour();
    }
    UInt16 red = 0, green = 0, blue = 0;
    list->GetItemColor(Int16(row + 1), &red, &green, &blue);
    return CadColour(red, green, blue, UInt16(65535));
}

void ListControl::setColour(const CadColour& colour, Int16 row, Int16) {
    auto list = host();
    if (list && isValidRow(row)) {
        UInt16 red = 0, green = 0, blue = 0;
        colour.rgb(red, green, blue);
        list->SetItemColor(Int16(row + 1), red, green, blue);
    }
}

void ListControl::setBackgroundColour(const CadColour& colour, Int16 row) {
    auto list = host();
    if (list && isValidRow(row)) {
        UInt16 red = 0, green = 0, blue = 0;
        colour.rgb(red, green, blue);
        list->SetItemBackground(Int16(row + 1), red, green, blue);
    }
}

ListControl::Status ListControl::getStatus(Int16 row, Int16) const {
    auto list = host();
    return list && isValidRow(row) ? list->GetItemStatus(Int16(row + 1)) : Status(0);
}

void ListControl::setStatus(Status status, Int16 row, Int16) {
    auto list = host();
    if (list && isValidRow(row)) {
        list->SetItemStatus(Int16(row + 1), status);
    }
}

Int64 ListControl::getUserData(Int16 row) const {
    auto list = host();
    return list && isValidRow(row) ? list->GetItemValue(Int16(row + 1)) : 0;
}

void ListControl::setUserData(Int64 value, Int16 row) {
    auto list = host();
    if (list && isValidRow(row)) {
        list->SetItemValue(Int16(row + 1), value);
    }
}

void ListControl::setStyle(const TextStyle& style, Int16 row, Int16 column) {
    if (row == npos) {
        DialogControl::setStyle(style, row, column);
        return;
    }
    auto list = host();
    if (!list || !isValidRow(row)) {
        return;
    }
    list->SetItemStyle(Int16(row + 1), rowStyle(style.getFace()));
    setColour(style.getColour(), row, column);
}

bool ListControl::isSelected(Int16 row, Int16) const {
    auto list = host();
    return list && isValidRow(row) && list->IsItemSelected(Int16(row + 1));
}

Int16 ListControl::getSelectedRow(Int16 from) const {
    auto list = host();
    if (!list) {
        return npos;
    }
    Int16 found = list->GetSelectedItem(Int16(std::max<Int16>(from, 0) + 1));
    return found > 0 && found <= getRows() ? Int16(found - 1) : npos;
}

void ListControl::setSelected(bool selected, Int16 row, Int16) {
    auto list = host();
    if (!list || !isValidRow(row)) {
        return;
    }
    if (selected) {
        list->SelectItem(Int16(row + 1));
    } else {
        list->DeselectItem(Int16(row + 1));
    }
    setProxyRow(selected ? row : npos);
}

void ListControl::selectAll() {
    if (auto list = host()) {
        list->SelectItem(DG_ALL_ITEMS);
    }
}

void ListControl::deselectAll() {
    if (auto list = host()) {
        list->DeselectItem(DG_ALL_ITEMS);
    }
}

Int16 ListControl::getScrollHorizontal() const {
    auto list = host();
    return list ? list->GetHScrollPosition() : Int16(0);
}

Int16 ListControl::getScrollVertical() const {
    auto list = host();
    return list ? list->GetScrollPosition() : Int16(0);
}

void ListControl::setScrollHorizontal(Int16 position) {
    if (auto list = host()) {
        list->SetHScrollPosition(position);
    }
}

void ListControl::setScrollVertical(Int16 position) {
    if (auto list = host()) {
        list->SetScrollPosition(position);
    }
}

Int16 ListControl::getRowHeight() const {
    auto list = host();
    return list ? list->GetItemHeight() : Int16(0);
}

Int16 ListControl::getColumnIndex(const ScreenPoint& point, bool local) const {
    Int32 x = point.getX();
    if (!local) {
        x -= getOrigin(0).getX();
    }
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c]->getStart() <= x && x <= m_columns[c]->getEnd()) {
            return Int16(c);
        }
    }
    return npos;
}

Int16 ListControl::getRowIndex(const ScreenPoint& point, bool local) const {
    Int32 y = point.getY();
    if (!local) {
        y -= getOrigin(0).getY();
    }
    Int32 height = getRowHeight();
    Int32 top = getHeaderHeight();
    for (Int16 row = 0; row < getRows(); ++row, top += height) {
        if (top <= y && y <= top + height) {
            return row;
        }
    }
    return npos;
}

void ListControl::redraw(Int16 row) {
    auto list = host();
    if (!list) {
        return;
    }
    if (row == npos) {
        list->Redraw();
    } else if (isValidRow(row)) {
        list->RedrawItem(Int16(row + 1));
    }
}

void ListControl::setAutoRedraw(bool on) {
    if (auto list = host()) {
        if (on) {
            list->EnableDraw();
        } else {
            list->DisableDraw();
        }
    }
}

bool ListControl::setTableSize(Int16 rows, Int16 columns) {
    setProxyVisible(true, npos);
    bool done = true;
    rows = std::max<Int16>(rows, 0);
    columns = std::max<Int16>(columns, 0);
    if (rows < getRows()) {
        done = deleteRow(rows, Int16(getRows() - rows));
    } else if (rows > getRows()) {
        done = addRow(Int16(rows - getRows()));
    }
    bool columnsDone = true;
    if (columns < getColumns()) {
        columnsDone = deleteColumn(columns, Int16(getColumns() - columns));
    } else if (columns > getColumns()) {
        columnsDone = addColumn(ListColumnStyle(40, 0), Int16(columns - getColumns()));
    }
    return done && columnsDone;
}

bool ListControl::addRow(Int16 count) {
    return insertRow(getRows(), count);
}

bool ListControl::insertRow(Int16 row, Int16 count) {
    if (count < 0 || Int32(getRows()) + count > 32767) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    if (row < 0 || row > getRows()) {
        row = getRows();
    }
    if (m_proxies) {
        m_proxies->insertRow(row, count);
    }
    // The row being edited moves down with its values.
    if (m_proxyRow != npos && m_proxyRow >= row) {
        m_proxyRow = Int16(m_proxyRow + count);
    }
    DialogControl::setTableSize(Int16(getRows() + count), getColumns());
    if (auto list = host()) {
        list->DisableDraw();
        // Each blank row after the last, so that the host moves only the rows that follow them.
        for (Int16 i = 0; i < count; ++i) {
            list->InsertItem(Int16(row + 1 + i));
        }
        list->EnableDraw();
        list->Redraw();
    }
    return true;
}

bool ListControl::deleteRow(Int16 row, Int16 count) {
    if (count == 0) {
        return true;
    }
    if (count < 0 || row < 0 || row >= getRows()) {
        return false;
    }
    count = std::min<Int16>(count, Int16(getRows() - row));
    Int16 rows = getRows();
    bool all = row == 0 && count == rows;
    if (all) {
        m_proxyRow = npos;
    } else if (m_proxyRow != npos && m_proxyRow >= row) {
        if (m_proxyRow >= row + count) {
            // The editors already show that row: it only moves up.
            m_proxyRow = Int16(m_proxyRow - count);
        } else {
            Int16 next = row + count < rows ? Int16(row + count) : Int16(row - 1);
            setProxyRow(next);
            if (next >= row + count) {
                m_proxyRow = Int16(m_proxyRow - count);
            }
        }
    }
    if (m_proxies) {
        m_proxies->deleteRow(row, count);
    }
    DialogControl::setTableSize(Int16(rows - count), getColumns());
    if (auto list = host()) {
        list->DisableDraw();
        if (all) {
            list->DeleteItem(DG_ALL_ITEMS);
        } else {
            std::vector<Int16> selected;
            for (Int16 r = 0; r < rows; ++r) {
                if (list->IsItemSelected(Int16(r + 1)) && (r < row || r >= row + count)) {
                    selected.push_back(r < row ? r : Int16(r - count));
                }
            }
            list->DeselectItem(DG_ALL_ITEMS);
            for (Int16 i = 0; i < count; ++i) {
                list->DeleteItem(Int16(row + 1));
            }
            for (Int16 r : selected) {
                list->SelectItem(Int16(r + 1));
            }
        }
        list->EnableDraw();
        list->Redraw();
    }
    return true;
}

bool ListControl::addColumn(const ListColumnStyle& style, Int16 count) {
    return insertColumn(getColumns(), style, count);
}

bool ListControl::insertColumn(Int16 column, const ListColumnStyle& style, Int16 count) {
    if (count < 1) {
        return count == 0;
    }
    column = std::clamp<Int16>(column, 0, getColumns());
    if (m_proxies) {
        m_proxies->insertColumn(column, count);
    }
    DialogControl::setTableSize(getRows(), Int16(getColumns() + count));
    for (Int16 i = 0; i < count; ++i) {
        m_columns.insert(m_columns.begin() + column, style.clone());
    }
    applyTableStyle();
    return true;
}

bool ListControl::deleteColumn(Int16 column, Int16 count) {
    column = std::clamp<Int16>(column, 0, getColumns());
    count = std::clamp<Int16>(count, 0, Int16(getColumns() - column));
    if (count == 0) {
        return true;
    }
    if (m_proxies) {
        m_proxies->deleteColumn(column, count);
    }
    DialogControl::setTableSize(getRows(), Int16(getColumns() - count));
    m_columns.erase(m_columns.begin() + column, m_columns.begin() + column + count);
    applyTableStyle();
    return true;
}

const ListColumnStyle& ListControl::getColumnStyle(Int16 column) const {
    if (column < 0 || std::size_t(column) >= m_columns.size()) {
        throw std::out_of_range("");
    }
    return *m_columns[std::size_t(column)];
}

ListColumnStyle& ListControl::getColumnStyle(Int16 column) {
    if (column < 0 || std::size_t(column) >= m_columns.size()) {
        throw std::out_of_range("");
    }
    return *m_columns[std::size_t(column)];
}

void ListControl::setColumnStyle(const ListColumnStyle& style, Int16 column) {
    getColumnStyle(column) = style;
    applyTableStyle();
}

void ListControl::setColumnGap(Int16 gap) {
    m_gap = gap;
    applyTableStyle();
}

void ListControl::applyTableStyle() {
    if (m_columns.empty()) {
        return;
    }
    Int32 position = 0;
    std::vector<DGListTabData> fields;
    for (ListColumnStyle* style : m_columns) {
        if (style->getStart() < position) {
            Int16 shift = Int16(position - style->getStart());
            style->setStart(Int16(style->getStart() + shift));
            style->setEnd(Int16(style->getEnd() + shift));
        }
        position += style->getWidth() + m_gap;
        DGListTabData field;
        field.begPos = style->getStart();
        field.endPos = style->getEnd();
        field.justFlag = style->getJustification();
        field.truncFlag = style->getTruncation();
        field.flags = style->getFlags();
        fields.push_back(field);
    }
    if (auto list = host()) {
        list->DisableDraw();
        list->SetTabData(Int16(fields.size()), fields.data());
        list->EnableDraw();
        list->Redraw();
    }
}

void ListControl::getHeaderFlags(bool& first, bool& second, bool& third) const {
    first = second = third = false;
    if (auto list = host()) {
        list->GetHeaderFlags(&first, &second, &third);
    }
}

void ListControl::setHeaderFlags(bool first, bool second, bool third) {
    if (auto list = host()) {
        list->SetHeaderFlags(first, second, third);
    }
}

Int16 ListControl::getHeaderHeight() const {
    auto list = host();
    return list ? list->GetHeaderHeight() : Int16(0);
}

Int16 ListControl::getHeaderColumnCount() const {
    auto list = host();
    return list ? list->GetHeaderItemCount() : Int16(0);
}

void ListControl::setHeaderColumnCount(Int16 count) {
    if (auto list = host()) {
        list->SetHeaderItemCount(count);
    }
}

Int16 ListControl::headerColumn(Int16 column) const {
    return column >= 0 && column < getHeaderColumnCount() ? Int16(column + 1) : Int16(0);
}

String ListControl::getHeaderLabel(Int16 column) const {
    Int16 item = headerColumn(column);
    return item != 0 ? String(host()->GetHeaderItemText(item)) : String();
}

void ListControl::setHeaderLabel(const String& label, Int16 column) {
    if (Int16 item = headerColumn(column)) {
        host()->SetHeaderItemText(item, GS::UniString(label));
    }
}

Int16 ListControl::getHeaderColumnSize(Int16 column) const {
    Int16 item = headerColumn(column);
    return item != 0 ? host()->GetHeaderItemSize(item) : Int16(0);
}

void ListControl::setHeaderColumnSize(Int16 size, Int16 column) {
    if (Int16 item = headerColumn(column)) {
        host()->SetHeaderItemSize(item, size);
    }
}

void ListControl::setHeaderColumnMinSize(Int16 size, Int16 column) {
    if (Int16 item = headerColumn(column)) {
        host()->SetHeaderItemMinSize(item, size);
    }
}

ListControl::HeaderArrowType ListControl::getHeaderArrowType(Int16 column) const {
    Int16 item = headerColumn(column);
    return item != 0 ? HeaderArrowType(host()->GetHeaderItemArrowType(item)) : noArrow;
}

void ListControl::setHeaderArrowType(HeaderArrowType arrow, Int16 column) {
    if (Int16 item = headerColumn(column)) {
        host()->SetHeaderItemArrowType(item, DG::ListBox::ArrowType(arrow));
    }
}

void ListControl::setHeaderColumnFlags(Int16 flags, bool on, Int16 column) {
    if (Int16 item = headerColumn(column)) {
        host()->SetHeaderItemFlags(item, flags, on);
    }
}

void ListControl::setHeaderStyle(const TextStyle& style, Int16 column) {
    Int16 item = headerColumn(column);
    if (item == 0) {
        return;
    }
    Int16 points = style.getPointSize();
    Int16 size = points >= 1 && points <= 9 ? 8 : points >= 10 && points <= 11 ? 4 : 0;
    host()->SetHeaderItemStyle(item, Int16(rowStyle(style.getFace()) | size));
}

bool ListControl::addProxy(DialogControl* editor, Int16 column) {
    if (column < 0 || column >= getColumns()) {
        return false;
    }
    if (editor != nullptr &&
        (editor->getLink().getPanel() != getLink().getPanel() || !isDrawnOver(*editor))) {
        return false;
    }
    if (!m_proxies) {
        m_proxies.reset(new ProxyList(getColumns(), getRows()));
    }
    while (m_proxies->size() < std::size_t(getColumns())) {
        m_proxies->push_back(new FieldProxy(nullptr, getRows()));
    }
    (*m_proxies)[std::size_t(column)]->setEditor(editor);
    return true;
}

bool ListControl::isDrawnOver(const DialogControl& editor) const {
    if (editor.getIndex(0) < getIndex(0)) {
        return true;
    }
    // Numbered after the list, it stands above it only as the list's own in-place editor: the
    // dialog lays it out within the list, where the list box shows it over the current row.
    ScreenRect list = getBounds(0);
    ScreenRect own = editor.getBounds(0);
    ScreenPoint top = list.getOrigin();
    ScreenPoint bottom = list.getEnd();
    if (bottom.getX() <= top.getX() || bottom.getY() <= top.getY()) {
        return false;
    }
    return own.getOrigin().getX() >= top.getX() && own.getOrigin().getY() >= top.getY() &&
           own.getEnd().getX() <= bottom.getX() && own.getEnd().getY() <= bottom.getY();
}

bool ListControl::isProxyVisible(Int16 column) const {
    return m_proxies && column >= 0 && std::size_t(column) < m_proxies->size() &&
           (*m_proxies)[std::size_t(column)]->isVisible();
}

void ListControl::setProxyVisible(bool visible, Int16 column) {
    if (!m_proxies) {
        return;
    }
    auto list = host();
    const DG::Panel* panel = hostPanel();
    for (Int16 c = 0; c < Int16(m_proxies->size()); ++c) {
        if (column != npos && c != column) {
            continue;
        }
        FieldProxy& proxy = *(*m_proxies)[std::size_t(c)];
        proxy.setVisible(visible);
        if (!list) {
            continue;
        }
        DialogControl* editor = getProxyControl(c);
        if (visible && editor != nullptr && panel != nullptr) {
            list->SetOnTabItem(Int16(c + 1), DG::Item(*panel, editor->getIndex(0)));
        } else {
            list->RemoveOnTabItem(Int16(c + 1));
        }
    }
}

void ListControl::setProxyRow(Int16 row) {
    auto list = host();
    const DG::Panel* panel = hostPanel();
    for (Int16 c = 0; m_proxies && c < getColumns() && std::size_t(c) < m_proxies->size(); ++c) {
        DialogControl* editor = getProxyControl(c);
        FieldProxy& proxy = *(*m_proxies)[std::size_t(c)];
        if (editor == nullptr) {
            if (list) {
                list->RemoveOnTabItem(Int16(c + 1));
            }
            continue;
        }
        if (m_proxyRow != npos && isValidRow(m_proxyRow)) {
            if (Setting* current = editor->getSetting(0, 0)) {
                String text;
                current->getValue(text);
                setText(text, m_proxyRow, c);
                proxy.setValue(m_proxyRow, current);
            }
        }
        if (row != npos) {
            // A row without a value of its own shows its cell's text, so that the editor never
            // carries another row's value into this one.
            if (const Setting* stored = proxy.getValue(row)) {
                editor->setSetting(*stored, 0, 0);
            } else if (isValidRow(row)) {
                editor->setSetting(StringSetting(getText(row, c)), 0, 0);
            }
            if (list) {
                list->RemoveOnTabItem(Int16(c + 1));
                if (proxy.isVisible() && panel != nullptr) {
                    list->SetOnTabItem(Int16(c + 1), DG::Item(*panel, editor->getIndex(0)));
                }
            }
        }
    }
    m_proxyRow = row;
}

bool ListControl::publishEvent(Event& event) {
    auto* interfaceEvent = dynamic_cast<InterfaceEvent*>(&event);
    if (auto* action = dynamic_cast<ActionEvent*>(&event)) {
        if (const auto* message = action->getDataWord().getRecord<DGListMsgData>()) {
            m_mouse = ScreenPoint(message->xPos, message->yPos);
        }
    }
    bool taken = DialogControl::publishEvent(event);
    if (!m_proxies || interfaceEvent == nullptr) {
        return taken;
    }
    if (interfaceEvent->getID() == ItemEvent::defaultMessage && interfaceEvent->getData() == 0) {
        setProxyRow(getSelectedRow(0));
        redraw(npos);
    } else if (interfaceEvent->getID() == 1) {
        bool enabled = m_proxiesEnabled;
        m_proxiesEnabled = true;
        m_proxyRow = npos;
        auto list = host();
        for (Int16 c = 0; std::size_t(c) < m_proxies->size(); ++c) {
            if (list) {
                list->RemoveOnTabItem(Int16(c + 1));
            }
            if (DialogControl* editor = getProxyControl(c)) {
                editor->setVisible(false, 0);
            }
        }
        m_proxiesEnabled = enabled;
    }
    return taken;
}

} // namespace zelvane

namespace zelvane {

ListControl::iterator ListControl::begin(ViewScope scope) {
    if (getRows() <= 0) {
        return iterator(Node(this, -1), scope == selectedRows ? selectedRows : allRows);
    }
    if (scope == selectedRows) {
        return iterator(Node(this, getSelectedRow(0)), selectedRows);
    }
    return iterator(Node(this, 0), allRows);
}

ListControl::const_iterator ListControl::begin(ViewScope scope) const {
    return const_iterator(const_cast<ListControl*>(this)->begin(scope));
}

ListControl::iterator ListControl::end() {
    return iterator(Node(this, -1), allRows);
}

ListControl::const_iterator ListControl::end() const {
    return const_iterator(const_cast<ListControl*>(this)->end());
}

ListControl::iterator ListControl::last(ViewScope scope) {
    Int16 row = Int16(getRows() - 1);
    if (scope == selectedRows) {
        while (row >= 0 && !isSelected(row, 0)) {
            --row;
        }
    }
    return iterator(Node(this, row), scope == selectedRows ? selectedRows : allRows);
}

ListControl::const_iterator ListControl::last(ViewScope scope) const {
    return const_iterator(const_cast<ListControl*>(this)->last(scope));
}

namespace {

// Broadcasts the event made for the list's item through its panel; nothing escapes to the host.
template <class Make>
void broadcast(const DG::EventBase& source, Make make) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(source.GetPanelId())) {
            auto event = make(ControlLink(source.GetItemId(), panel));
            panel->broadcastEvent(event);
        }
    } catch (...) {
        InterfacePanel::reportFailure();
    }
}

void broadcastClick(const DG::ListBoxClickEvent& source, UInt32 message) {
    DGListMsgData record;
    record.listItem = source.GetListItem();
    record.xPos = source.GetMouseOffsetX();
    record.yPos = source.GetMouseOffsetY();
    record.modifiers = source.IsCommandPressed()  ? 1
                       : source.IsOptionPressed() ? 2
                       : source.IsShiftPressed()  ? 4
                                                  : 0;
    broadcast(source, [&](const ControlLink& link) {
        return ActionEvent(message, link, InterfaceEvent::Data::record(&record));
    });
}

DGDragDropMsgData dropRecord(short phase, Int32 effect) {
    DGDragDropMsgData record;
    record.subMessage = phase;
    record.effect = effect;
    return record;
}

DGDragDropMsgData dropRecord(short phase, Int32 effect, const DG::ListBoxDropTargetEvent& source) {
    DGDragDropMsgData record = dropRecord(phase, effect);
    record.x = source.GetX();
    record.y = source.GetY();
    record.insertPos = source.GetInsertPosition();
    record.relativePos = source.GetRelativePosition();
    return record;
}

// Broadcasts a drop event with the record and the receiver; nothing escapes to the host.
void broadcastDrop(const DG::EventBase& source, DGDragDropMsgData& record, ItemReceiver* receiver) {
    broadcast(source, [&](const ControlLink& link) {
        return DropEvent(DropEvent::defaultMessage, link, InterfaceEvent::Data::record(&record), receiver);
    });
}

constexpr Int32 anyEffect = 7;

} // namespace

void ListControl::Observer::attach(const DG::Panel&, const DialogControl& control) {
    auto* list = dynamic_cast<const ListControl*>(&control);
    if (list != nullptr && list->m_list) {
        list->m_list->Attach(*this);
    }
}

void ListControl::Observer::ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& event) {
    broadcast(event, [](const ControlLink& link) { return ItemEvent(link); });
}

void ListControl::Observer::ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& event) {
    broadcast(event, [](const ControlLink& link) { return ItemEvent(link); });
}

void ListControl::Observer::ListBoxClicked(const DG::ListBoxClickEvent& event) {
    broadcastClick(event, 4);
}

void ListControl::Observer::ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& event) {
    broadcastClick(event, 5);
}

void ListControl::Observer::ListBoxHeaderItemClicked(const DG::ListBoxHeaderItemClickEvent& event) {
    DGListHeaderMsgData record;
    record.itemIndex = event.GetHeaderItem();
    record.newIndex = event.GetHeaderItem();
    broadcast(event, [&](const ControlLink& link) {
        return ListHeaderClickEvent(ListHeaderClickEvent::defaultMessage, link,
                                    InterfaceEvent::Data::record(&record));
    });
}

void ListControl::Observer::ListBoxHeaderItemDragged(const DG::ListBoxHeaderItemDragEvent& event) {
    DGListHeaderMsgData record;
    record.itemIndex = event.GetOldPos();
    record.newIndex = event.GetNewPos();
    broadcast(event, [&](const ControlLink& link) {
        return ListHeaderDragEvent(ListHeaderDragEvent::defaultMessage, link,
                                   InterfaceEvent::Data::record(&record));
    });
}

void ListControl::Observer::resize(const DG::ListBoxHeaderItemResizeEvent& event, Int16 phase) {
    DGListHeaderMsgData record;
    record.subMessage = phase;
    record.itemIndex = event.GetHeaderItem();
    record.newIndex = event.GetHeaderItem();
    record.sizeChange = event.GetSizeChange();
    broadcast(event, [&](const ControlLink& link) {
        return ListHeaderResizeEvent(ListHeaderResizeEvent::defaultMessage, link,
                                     InterfaceEvent::Data::record(&record));
    });
}

void ListControl::Observer::ListBoxHeaderItemResizeEntered(const DG::ListBoxHeaderItemResizeEvent& event) {
    resize(event, 0);
}

void ListControl::Observer::ListBoxHeaderItemResized(const DG::ListBoxHeaderItemResizeEvent& event) {
    resize(event, 1);
}

void ListControl::Observer::ListBoxHeaderItemResizeExited(const DG::ListBoxHeaderItemResizeEvent& event) {
    resize(event, 2);
}

void ListControl::Observer::ListBoxDragStarting(const DG::ListBoxDragSourceEvent& event, bool* canStart) {
    DGDragDropMsgData record = dropRecord(0, 0);
    ItemReceiver receiver(1);
    broadcastDrop(event, record, &receiver);
    if (canStart != nullptr) {
        *canStart = receiver.getItem() != 0;
    }
}

void ListControl::Observer::ListBoxDragStarted(const DG::ListBoxDragSourceEvent& event,
                                               DG::DragDropEffect* effect) {
    Int32 offered = effect != nullptr && *effect != 0 ? Int32(*effect) : anyEffect;
    DGDragDropMsgData record = dropRecord(1, offered);
    broadcastDrop(event, record, nullptr);
    if (effect != nullptr) {
        *effect = DG::DragDropEffect(record.effect);
    }
}

void ListControl::Observer::ListBoxDragEnded(const DG::ListBoxDragSourceEvent& event,
                                             DG::DragDropEffect effect) {
    DGDragDropMsgData record = dropRecord(2, Int32(effect));
    broadcastDrop(event, record, nullptr);
}

void ListControl::Observer::ListBoxDragEntered(const DG::ListBoxDropTargetEvent& event, DG::DragDropEffect*,
                                               bool* accept) {
    DGDragDropMsgData record = dropRecord(4, anyEffect, event);
    ItemReceiver receiver(accept != nullptr && *accept ? 1 : 0);
    broadcastDrop(event, record, &receiver);
    if (accept != nullptr) {
        *accept = receiver.getItem() != 0;
    }
}

void ListControl::Observer::ListBoxDragEntered(const DG::ListBoxDropTargetEvent& event,
                                               DG::DragDropEffect* effect, bool* accept, bool*) {
    ListBoxDragEntered(event, effect, accept);
}

void ListControl::Observer::ListBoxDragMoved(const DG::ListBoxDropTargetEvent& event,
                                             DG::DragDropEffect* effect) {
    DGDragDropMsgData record = dropRecord(5, effect != nullptr ? Int32(*effect) : 0, event);
    broadcastDrop(event, record, nullptr);
    if (effect != nullptr) {
        *effect = DG::DragDropEffect(record.effect);
    }
}

void ListControl::Observer::ListBoxDragLeft(const DG::ListBoxDropTargetEvent& event) {
    DGDragDropMsgData record = dropRecord(6, anyEffect, event);
    broadcastDrop(event, record, nullptr);
}

void ListControl::Observer::ListBoxDropped(const DG::ListBoxDropTargetEvent& event,
                                           DG::DragDropEffect* effect) {
    DGDragDropMsgData record = dropRecord(7, anyEffect, event);
    broadcastDrop(event, record, nullptr);
    if (effect != nullptr) {
        *effect = DG::DragDropEffect(record.effect);
    }
}

} // namespace zelvane
