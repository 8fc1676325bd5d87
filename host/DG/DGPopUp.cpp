#include "DG/DGPopUp.hpp"

#include "sim/Lists.h"
#include "sim/Sim.h"

short DGPopUpGetItemCount(short dialId, short item) {
    sim::RowModel* model = sim::findRows(dialId, item);
    return model != nullptr && sim::findRows(dialId, item, "listBox") == nullptr ? model->rowCount() : 0;
}

namespace DG {
namespace {

sim::ListRow* rowOf(short panelId, short itemId, const char* kind, short popupItem) {
    sim::RowModel* model = sim::findRows(panelId, itemId, kind);
    return model != nullptr ? model->row(popupItem) : nullptr;
}

} // namespace

short PopupRows::GetItemCount() const {
    sim::RowModel* model = sim::findRows(m_panelId, m_itemId, m_kind);
    return model != nullptr ? model->rowCount() : 0;
}

void PopupRows::InsertItem(short popupItem) const {
    if (sim::RowModel* model = sim::findRows(m_panelId, m_itemId, m_kind)) {
        sim::internal::insertRow(*model, popupItem);
    }
    sim::internal::mirrorSelection(m_panelId, m_itemId);
}

void PopupRows::AppendItem() const {
    InsertItem(0);
}

void PopupRows::InsertSeparator(short popupItem) const {
    if (sim::RowModel* model = sim::findRows(m_panelId, m_itemId, m_kind)) {
        sim::internal::insertRow(*model, popupItem, true);
    }
    sim::internal::mirrorSelection(m_panelId, m_itemId);
}

void PopupRows::AppendSeparator() const {
    InsertSeparator(0);
}

void PopupRows::DeleteItem(short popupItem) const {
    if (sim::RowModel* model = sim::findRows(m_panelId, m_itemId, m_kind)) {
        sim::internal::deleteRow(*model, popupItem);
    }
    sim::internal::mirrorSelection(m_panelId, m_itemId);
}

GS::UniString PopupRows::GetItemText(short popupItem) const {
    sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem);
    return row != nullptr ? GS::UniString(row->cells[0].c_str(), GS::USize(row->cells[0].size()))
                          : GS::UniString();
}

void PopupRows::SetItemText(short popupItem, const GS::UniString& text) const {
    if (sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem)) {
        row->cells[0] = text.ToUTF8();
    }
}

Icon PopupRows::GetItemIcon(short popupItem) const {
    sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem);
    return row != nullptr && row->icons[0] != 0 ? Icon(row->icons[0]) : Icon();
}

void PopupRows::SetItemIcon(short popupItem, const Icon& icon) const {
    if (sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem)) {
        row->icons[0] = icon.GetResourceId() > 0 ? icon.GetResourceId() : 0;
    }
}

Int64 PopupRows::GetItemValue(short popupItem) const {
    sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem);
    return row != nullptr ? row->userData : 0;
}

void PopupRows::SetItemValue(short popupItem, Int64 value) const {
    if (sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem)) {
        row->userData = value;
    }
}

short PopupRows::GetItemStatus(short popupItem) const {
    sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem);
    return row != nullptr ? row->status : 0;
}

void PopupRows::SetItemStatus(short popupItem, short status) const {
    if (sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem)) {
        row->status = status;
    }
}

short PopupRows::GetItemStyle(short popupItem) const {
    sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem);
    return row != nullptr ? row->style : 0;
}

void PopupRows::SetItemStyle(short popupItem, short style) const {
    if (sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem)) {
        row->style = style;
    }
}

short PopupRows::selectedRow() const {
    sim::RowModel* model = sim::findRows(m_panelId, m_itemId, m_kind);
    return model != nullptr ? model->selected : 0;
}

void PopupRows::selectRow(short popupItem) const {
    sim::RowModel* model = sim::findRows(m_panelId, m_itemId, m_kind);
    if (model != nullptr && model->isRow(popupItem) && !model->row(popupItem)->separator) {
        model->selected = popupItem;
    }
    sim::internal::mirrorSelection(m_panelId, m_itemId);
}

bool PopupRows::isSeparatorRow(short popupItem) const {
    sim::ListRow* row = rowOf(m_panelId, m_itemId, m_kind, popupItem);
    return row != nullptr && row->separator;
}

bool PopUp::IsSeparator(short popupItem) const {
    return isSeparatorRow(popupItem);
}

short PopUp::GetSelectedItem() const {
    return selectedRow();
}

void PopUp::SelectItem(short popupItem) const {
    selectRow(popupItem);
}

} // namespace DG
