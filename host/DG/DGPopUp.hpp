// The dialog library's pop-up item: rows with a text, an icon, a value, a status and a style,
// separators between them, and one selected row. Rows are numbered from 1.
#pragma once

#include "DG/DGImage.hpp"
#include "DG/DGPanel.hpp"

// The row count of a pop-up (of either kind) by dialog and item; 0 when there is none.
short DGPopUpGetItemCount(short dialId, short item);

namespace DG {

class PopUp : public Item {
public:
    // Item statuses.
    static constexpr short Enabled = 0;
    static constexpr short Disabled = 2;
    // Item text styles, combined.
    static constexpr short Plain = 0;
    static constexpr short Bold = 0x10;
    static constexpr short Italic = 0x20;
    static constexpr short Underline = 0x30;

    PopUp(const Panel& panel, short itemId) : Item(panel, itemId, "popup") {}

    short GetItemCount() const;
    // Inserts an empty row before the row (rows past the end append).
    void InsertItem(short popupItem) const;
    void AppendItem() const;
    void InsertSeparator(short popupItem) const;
    void AppendSeparator() const;
    void DeleteItem(short popupItem) const;

    GS::UniString GetItemText(short popupItem) const;
    void SetItemText(short popupItem, const GS::UniString& text) const;
    Icon GetItemIcon(short popupItem) const;
    void SetItemIcon(short popupItem, const Icon& icon) const;
    Int64 GetItemValue(short popupItem) const;
    void SetItemValue(short popupItem, Int64 value) const;
    short GetItemStatus(short popupItem) const;
    void SetItemStatus(short popupItem, short status) const;
    short GetItemStyle(short popupItem) const;
    void SetItemStyle(short popupItem, short style) const;
    bool IsSeparator(short popupItem) const;

    // The selected row; 0 none.
    short GetSelectedItem() const;
    void SelectItem(short popupItem) const;
};

} // namespace DG
