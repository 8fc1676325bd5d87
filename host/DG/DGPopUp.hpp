// The dialog library's pop-up item: rows with a text, an icon, a value, a status and a style,
// separators between them, and one selected row. Rows are numbered from 1.
#pragma once

#include "DG/DGImage.hpp"
#include "DG/DGPanel.hpp"

// The row count of a pop-up (of either kind) by dialog and item; 0 when there is none.
short DGPopUpGetItemCount(short dialId, short item);

namespace DG {

// The rows shared by the dialog library's pop-up and the user-control pop-up, kept by the dialog
// manager for the item of that panel, number and kind.
class PopupRows {
public:
    short GetItemCount() const;
    // Inserts an empty row before the row (rows past the end append).
    void InsertItem(short popupItem) const;
    void AppendItem() const;
    void InsertSeparator(short popupItem) const;
    void AppendSeparator() const;
    void DeleteItem(short popupItem) const;

    GS::UniString GetItemText(short popupItem) const;
    void SetItemText(short popupItem, const GS::UniString& text) const;
    // An empty icon when the row has none.
    Icon GetItemIcon(short popupItem) const;
    // An empty icon clears the row's icon.
    void SetItemIcon(short popupItem, const Icon& icon) const;
    Int64 GetItemValue(short popupItem) const;
    void SetItemValue(short popupItem, Int64 value) const;
    short GetItemStatus(short popupItem) const;
    void SetItemStatus(short popupItem, short status) const;
    short GetItemStyle(short popupItem) const;
    void SetItemStyle(short popupItem, short style) const;

protected:
    PopupRows(short panelId, short itemId, const char* kind)
        : m_panelId(panelId), m_itemId(itemId), m_kind(kind) {}
    ~PopupRows() = default;

    // The selected row; 0 none.
    short selectedRow() const;
    // A separator or a row outside the pop-up leaves the selection as it is.
    void selectRow(short popupItem) const;
    bool isSeparatorRow(short popupItem) const;

private:
    short m_panelId;
    short m_itemId;
    const char* m_kind;
};

class PopUp : public Item, public PopupRows {
public:
    // Item statuses.
    static constexpr short Enabled = 0;
    static constexpr short Disabled = 2;
    // Item text styles, combined.
    static constexpr short Plain = 0;
    static constexpr short Bold = 0x10;
    static constexpr short Italic = 0x20;
    static constexpr short Underline = 0x30;

    PopUp(const Panel& panel, short itemId)
        : Item(panel, itemId, "popup"), PopupRows(GetPanelId(), itemId, "popup") {}

    bool IsSeparator(short popupItem) const;

    // The selected row; 0 none.
    short GetSelectedItem() const;
    void SelectItem(short popupItem) const;
};

} // namespace DG
