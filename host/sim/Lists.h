// The rows of pop-ups (the dialog library's and the user-control one) and of list boxes, kept with
// their item in the dialog manager, and the script actions on them. The model is made on first
// use from the item's template: the template's rows, each split at tabs into its tab fields.
//
// Host rows, tab fields and header items are numbered from 1, as the dialog library numbers them.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "sim/Dialogs.h"

#include <map>
#include <string>
#include <vector>

namespace sim {

struct ListRow {
    std::vector<std::string> cells; // UTF-8, one per tab field (pop-ups: one)
    std::vector<short> icons;       // per cell, an icon resource ID; 0 none
    UInt16 colour[3] = {0, 0, 0};
    UInt16 background[3] = {0xFFFF, 0xFFFF, 0xFFFF};
    short status = 0;
    short style = 0;
    Int64 userData = 0;
    bool selected = false;  // list boxes
    bool separator = false; // pop-ups
};

struct TabField {
    short begin = 0, end = 0, justification = 0, truncation = 0, flags = 0;
};

struct HeaderItem {
    std::string text;
    short size = 0, minSize = 0;
    short arrow = 0;
    short flags = 0;
    short style = 0;
};

struct RowModel {
    std::vector<ListRow> rows;
    short columns = 1;

    // Pop-ups.
    short selected = 0; // 1-based, 0 none; mirrored in the item's value
    Int32 controlKind = 0;
    std::string buttonText; // user-control pop-ups: what their button shows
    short buttonIcon = 0;

    // List boxes.
    bool multiSelection = false;
    short anchor = 0; // the row a shift-click extends from
    std::vector<TabField> tabFields;
    std::vector<HeaderItem> header;
    bool headerFlags[3] = {false, false, false};
    short rowHeight = 16;
    short hScroll = 0, vScroll = 0;
    bool drawingOff = false;
    int redraws = 0;                 // the whole list
    std::map<short, int> rowRedraws; // by row
    std::map<short, short> onTab;    // tab field to the item shown over it in the first selected row

    static constexpr short fullHeaderHeight = 20;
    // Rows start below the header, which has no height while it has no items.
    short headerHeight() const { return header.empty() ? 0 : fullHeaderHeight; }

    short rowCount() const { return short(rows.size()); }
    bool isRow(short row) const { return row >= 1 && row <= rowCount(); }
    ListRow* row(short row) { return isRow(row) ? &rows[std::size_t(row - 1)] : nullptr; }
    // The first selected row at or after `from`; 0 none.
    short firstSelected(short from = 1) const;
    // An empty row with a cell per tab field.
    ListRow newRow() const;
};

// The rows of a pop-up, user-control pop-up or list box of a live panel; null for any other item.
RowModel* findRows(short panelId, short item);
// The same for an item of the given kind ("popup", "userControl", "listBox").
RowModel* findRows(short panelId, short item, const char* kind);

namespace internal {

// Performs a script action on the rows of an item: selectRow on pop-ups and list boxes and the list
// actions. Answers false for an action it does not take; `failure` says why one it took failed.
bool performRowAction(short panelId, const DialogAction& action, std::string& failure);

// Row edits shared by the pop-ups and the list box. Rows past the end append; the selection and
// the shift-click anchor keep naming the same rows.
void insertRow(RowModel& model, short before, bool separator = false);
void deleteRow(RowModel& model, short row);
// A pop-up's selection is also its item's value (ItemState::value).
void mirrorSelection(short panelId, short item);
std::string cellText(const RowModel& model, short row, short column);
void setCellText(RowModel& model, short row, short column, const std::string& text);

} // namespace internal
} // namespace sim
