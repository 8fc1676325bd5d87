// The dialog library's list box: rows of tab-field cells (text and icon), with a colour, a
// background, a status, a style, a value and a selection flag per row; tab fields, a header, scroll
// positions, a fixed row height, items shown over a tab field of the selected row, and the
// notifications of selection, clicks, cell edits, the header and drag and drop. Rows, tab fields and
// header items are numbered from 1.
#pragma once

#include "DG/DGImage.hpp"
#include "DG/DGPanel.hpp"

// Deletes, selects or deselects every row.
constexpr short DG_ALL_ITEMS = 0;

// One tab field of a list box: its horizontal extent and how its texts are laid out.
struct DGListTabData {
    short begPos = 0;
    short endPos = 0;
    short justFlag = 0;
    short truncFlag = 0;
    short flags = 0;
};

namespace DG {

class ListBoxSelectionEvent : public EventBase {
public:
    using EventBase::EventBase;
};

class ListBoxClickEvent : public EventBase {
public:
    ListBoxClickEvent(short panelId, short itemId, short listItem, short x, short y, bool command,
                      bool option, bool shift)
        : EventBase(panelId, itemId), m_listItem(listItem), m_x(x), m_y(y), m_command(command),
          m_option(option), m_shift(shift) {}
    short GetListItem() const { return m_listItem; }
    // The mouse position inside the list box.
    short GetMouseOffsetX() const { return m_x; }
    short GetMouseOffsetY() const { return m_y; }
    bool IsCommandPressed() const { return m_command; }
    bool IsOptionPressed() const { return m_option; }
    bool IsShiftPressed() const { return m_shift; }

private:
    short m_listItem;
    short m_x, m_y;
    bool m_command, m_option, m_shift;
};

using ListBoxDoubleClickEvent = ListBoxClickEvent;

class ListBoxTabFieldUpdateEvent : public EventBase {
public:
    ListBoxTabFieldUpdateEvent(short panelId, short itemId, short listItem, short tabIndex)
        : EventBase(panelId, itemId), m_listItem(listItem), m_tabIndex(tabIndex) {}
    short GetListItem() const { return m_listItem; }
    short GetTabIndex() const { return m_tabIndex; }

private:
    short m_listItem, m_tabIndex;
};

class ListBoxHeaderItemClickEvent : public EventBase {
public:
    ListBoxHeaderItemClickEvent(short panelId, short itemId, short headerItem)
        : EventBase(panelId, itemId), m_headerItem(headerItem) {}
    short GetHeaderItem() const { return m_headerItem; }

private:
    short m_headerItem;
};

class ListBoxHeaderItemDragEvent : public EventBase {
public:
    ListBoxHeaderItemDragEvent(short panelId, short itemId, short oldPos, short newPos)
        : EventBase(panelId, itemId), m_oldPos(oldPos), m_newPos(newPos) {}
    short GetOldPos() const { return m_oldPos; }
    short GetNewPos() const { return m_newPos; }

private:
    short m_oldPos, m_newPos;
};

class ListBoxHeaderItemResizeEvent : public EventBase {
public:
    ListBoxHeaderItemResizeEvent(short panelId, short itemId, short headerItem, short sizeChange)
        : EventBase(panelId, itemId), m_headerItem(headerItem), m_sizeChange(sizeChange) {}
    short GetHeaderItem() const { return m_headerItem; }
    short GetSizeChange() const { return m_sizeChange; }

private:
    short m_headerItem, m_sizeChange;
};

// The list box rows are dragged from.
class ListBoxDragSourceEvent : public EventBase {
public:
    using EventBase::EventBase;
};

// The list box something is dragged over: the mouse position, the row it would go before, and where
// the mouse is on that row (-1 above its middle, 1 below, 0 on no row).
class ListBoxDropTargetEvent : public EventBase {
public:
    ListBoxDropTargetEvent(short panelId, short itemId, short x, short y, short insertPos, short relativePos)
        : EventBase(panelId, itemId), m_x(x), m_y(y), m_insertPos(insertPos), m_relativePos(relativePos) {}
    short GetX() const { return m_x; }
    short GetY() const { return m_y; }
    short GetInsertPosition() const { return m_insertPos; }
    short GetRelativePosition() const { return m_relativePos; }

private:
    short m_x, m_y, m_insertPos, m_relativePos;
};

class ListBoxObserver : public virtual ItemObserver {
public:
    virtual void ListBoxSelectionChanged(const ListBoxSelectionEvent&) {}
    virtual void ListBoxClicked(const ListBoxClickEvent&) {}
    virtual void ListBoxDoubleClicked(const ListBoxDoubleClickEvent&) {}
    virtual void ListBoxTabFieldUpdate(const ListBoxTabFieldUpdateEvent&) {}
    virtual void ListBoxHeaderItemClicked(const ListBoxHeaderItemClickEvent&) {}
    virtual void ListBoxHeaderItemDragged(const ListBoxHeaderItemDragEvent&) {}
    virtual void ListBoxHeaderItemResizeEntered(const ListBoxHeaderItemResizeEvent&) {}
    virtual void ListBoxHeaderItemResized(const ListBoxHeaderItemResizeEvent&) {}
    virtual void ListBoxHeaderItemResizeExited(const ListBoxHeaderItemResizeEvent&) {}
    // Clear *canStart to refuse the drag.
    virtual void ListBoxDragStarting(const ListBoxDragSourceEvent&, bool* /*canStart*/) {}
    // *effect: the effects the drag offers (0 when the host offers none).
    virtual void ListBoxDragStarted(const ListBoxDragSourceEvent&, DragDropEffect* /*effect*/) {}
    virtual void ListBoxDragEnded(const ListBoxDragSourceEvent&, DragDropEffect /*effect*/) {}
    // Set *accept to take the drag.
    virtual void ListBoxDragEntered(const ListBoxDropTargetEvent&, DragDropEffect* /*effect*/,
                                    bool* /*accept*/) {}
    // The host calls this form; *frameItem asks the host to frame the whole list.
    virtual void ListBoxDragEntered(const ListBoxDropTargetEvent& event, DragDropEffect* effect, bool* accept,
                                    bool* /*frameItem*/) {
        ListBoxDragEntered(event, effect, accept);
    }
    virtual void ListBoxDragMoved(const ListBoxDropTargetEvent&, DragDropEffect* /*effect*/) {}
    virtual void ListBoxDragLeft(const ListBoxDropTargetEvent&) {}
    virtual void ListBoxDropped(const ListBoxDropTargetEvent&, DragDropEffect* /*effect*/) {}
};

class ListBox : public Item {
public:
    // Header arrows.
    enum ArrowType : short { NoArrow = 0, Up = 1, Down = 2 };

    ListBox(const Panel& panel, short itemId) : Item(panel, itemId, "listBox") {}

    short GetItemCount() const;
    // Inserts an empty row before the row (rows past the end append).
    void InsertItem(short listItem) const;
    void AppendItem() const;
    // DG_ALL_ITEMS deletes every row.
    void DeleteItem(short listItem) const;

    short GetTabFieldCount() const;
    void SetTabFieldCount(short count) const;
    // Sets `count` tab fields from the records; the tab field count becomes count.
    void SetTabData(short count, const DGListTabData* fields) const;
    bool GetTabData(short tabIndex, DGListTabData* field) const;

    GS::UniString GetTabItemText(short listItem, short tabIndex) const;
    void SetTabItemText(short listItem, short tabIndex, const GS::UniString& text) const;
    Icon GetTabItemIcon(short listItem, short tabIndex) const;
    void SetTabItemIcon(short listItem, short tabIndex, const Icon& icon) const;

    void GetItemColor(short listItem, UInt16* red, UInt16* green, UInt16* blue) const;
    void SetItemColor(short listItem, UInt16 red, UInt16 green, UInt16 blue) const;
    void SetItemBackground(short listItem, UInt16 red, UInt16 green, UInt16 blue) const;
    short GetItemStatus(short listItem) const;
    void SetItemStatus(short listItem, short status) const;
    short GetItemStyle(short listItem) const;
    void SetItemStyle(short listItem, short style) const;
    Int64 GetItemValue(short listItem) const;
    void SetItemValue(short listItem, Int64 value) const;

    // DG_ALL_ITEMS selects or deselects every row. A list box without multiple selection keeps one.
    void SelectItem(short listItem) const;
    void DeselectItem(short listItem) const;
    bool IsItemSelected(short listItem) const;
    // The first selected row at or after startFrom; 0 none.
    short GetSelectedItem(short startFrom = 1) const;
    short GetSelectedCount() const;

    short GetScrollPosition() const;
    void SetScrollPosition(short position) const;
    short GetHScrollPosition() const;
    void SetHScrollPosition(short position) const;
    short GetItemHeight() const;

    void GetHeaderFlags(bool* synchron, bool* pushable, bool* dragable) const;
    void SetHeaderFlags(bool synchron, bool pushable, bool dragable) const;
    // The header's height; 0 while it has no items.
    short GetHeaderHeight() const;
    short GetHeaderItemCount() const;
    void SetHeaderItemCount(short count) const;
    GS::UniString GetHeaderItemText(short headerItem) const;
    void SetHeaderItemText(short headerItem, const GS::UniString& text) const;
    short GetHeaderItemSize(short headerItem) const;
    // Not below the item's minimum size.
    void SetHeaderItemSize(short headerItem, short size) const;
    short GetHeaderItemMinSize(short headerItem) const;
    void SetHeaderItemMinSize(short headerItem, short size) const;
    ArrowType GetHeaderItemArrowType(short headerItem) const;
    void SetHeaderItemArrowType(short headerItem, ArrowType arrow) const;
    short GetHeaderItemFlags(short headerItem) const;
    // Sets (on) or clears the flags.
    void SetHeaderItemFlags(short headerItem, short flags, bool on) const;
    short GetHeaderItemStyle(short headerItem) const;
    void SetHeaderItemStyle(short headerItem, short style) const;

    // While drawing is off, redraws are not counted.
    void DisableDraw() const;
    void EnableDraw() const;
    bool IsDrawEnabled() const;
    void Redraw() const;
    void RedrawItem(short listItem) const;

    // The item is shown over the tab field of the first selected row.
    void SetOnTabItem(short tabIndex, const Item& item) const;
    void RemoveOnTabItem(short tabIndex) const;
    // The item number shown over the tab field; 0 none.
    short GetOnTabItem(short tabIndex) const;

protected:
    ListBox(const Panel& panel, short itemId, bool multiSelection);
};

class SingleSelListBox : public ListBox {
public:
    SingleSelListBox(const Panel& panel, short itemId) : ListBox(panel, itemId, false) {}
};

class MultiSelListBox : public ListBox {
public:
    MultiSelListBox(const Panel& panel, short itemId) : ListBox(panel, itemId, true) {}
};

} // namespace DG
