#include "DG/DGPopUp.hpp"

#include "sim/Lists.h"
#include "sim/Sim.h"

namespace {

sim::RowModel* rowsOf(const DG::Item& item) {
    return sim::findRows(item.GetPanelId(), item.GetId(), "popup");
}

sim::ListRow* rowOf(const DG::Item& item, short popupItem) {
    sim::RowModel* model = rowsOf(item);
    return model != nullptr ? model->row(popupItem) : nullptr;
}

} // namespace

short DGPopUpGetItemCount(short dialId, short item) {
    sim::RowModel* model = sim::findRows(dialId, item);
    return model != nullptr && sim::findRows(dialId, item, "listBox") == nullptr ? model->rowCount() : 0;
}

namespace DG {

short PopUp::GetItemCount() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->rowCount() : 0;
}

void PopUp::InsertItem(short popupItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::insertRow(*model, popupItem);
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

void PopUp::AppendItem() const {
    InsertItem(0);
}

void PopUp::InsertSeparator(short popupItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::insertRow(*model, popupItem, true);
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

void PopUp::AppendSeparator() const {
    InsertSeparator(0);
}

void PopUp::DeleteItem(short popupItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::deleteRow(*model, popupItem);
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

GS::UniString PopUp::GetItemText(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? GS::UniString(row->cells[0].c_str(), GS::USize(row->cells[0].size()))
                          : GS::UniString();
}

void PopUp::SetItemText(short popupItem, const GS::UniString& text) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->cells[0] = text.ToUTF8();
    }
}

Icon PopUp::GetItemIcon(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr && row->icons[0] != 0 ? Icon(row->icons[0]) : Icon();
}

void PopUp::SetItemIcon(short popupItem, const Icon& icon) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->icons[0] = icon.GetResourceId() > 0 ? icon.GetResourceId() : 0;
    }
}

Int64 PopUp::GetItemValue(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? row->userData : 0;
}

void PopUp::SetItemValue(short popupItem, Int64 value) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->userData = value;
    }
}

short PopUp::GetItemStatus(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? row->status : 0;
}

void PopUp::SetItemStatus(short popupItem, short status) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->status = status;
    }
}

short PopUp::GetItemStyle(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? row->style : 0;
}

void PopUp::SetItemStyle(short popupItem, short style) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->style = style;
    }
}

bool PopUp::IsSeparator(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr && row->separator;
}

short PopUp::GetSelectedItem() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->selected : 0;
}

void PopUp::SelectItem(short popupItem) const {
    sim::RowModel* model = rowsOf(*this);
    if (model != nullptr && model->isRow(popupItem) && !model->row(popupItem)->separator) {
        model->selected = popupItem;
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

} // namespace DG
