#include "UC/UCPopupMenu.hpp"

#include "sim/Lists.h"
#include "sim/Sim.h"

namespace {

sim::RowModel* rowsOf(const DG::Item& item) {
    return sim::findRows(item.GetPanelId(), item.GetId(), "userControl");
}

sim::ListRow* rowOf(const DG::Item& item, short popupItem) {
    sim::RowModel* model = rowsOf(item);
    return model != nullptr ? model->row(popupItem) : nullptr;
}

} // namespace

namespace UC {

short PopupMenu::GetItemCount() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->rowCount() : 0;
}

void PopupMenu::InsertItem(short popupItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::insertRow(*model, popupItem);
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

void PopupMenu::AppendItem() const {
    InsertItem(0);
}

void PopupMenu::InsertSeparator(short popupItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::insertRow(*model, popupItem, true);
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

void PopupMenu::AppendSeparator() const {
    InsertSeparator(0);
}

void PopupMenu::DeleteItem(short popupItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::deleteRow(*model, popupItem);
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

GS::UniString PopupMenu::GetItemText(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? GS::UniString(row->cells[0].c_str(), GS::USize(row->cells[0].size()))
                          : GS::UniString();
}

void PopupMenu::SetItemText(short popupItem, const GS::UniString& text) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->cells[0] = text.ToUTF8();
    }
}

DG::Icon PopupMenu::GetItemIcon(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr && row->icons[0] != 0 ? DG::Icon(row->icons[0]) : DG::Icon();
}

void PopupMenu::SetItemIcon(short popupItem, const DG::Icon& icon) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->icons[0] = icon.GetResourceId() > 0 ? icon.GetResourceId() : 0;
    }
}

Int64 PopupMenu::GetItemValue(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? row->userData : 0;
}

void PopupMenu::SetItemValue(short popupItem, Int64 value) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->userData = value;
    }
}

short PopupMenu::GetItemStatus(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? row->status : 0;
}

void PopupMenu::SetItemStatus(short popupItem, short status) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->status = status;
    }
}

short PopupMenu::GetItemStyle(short popupItem) const {
    sim::ListRow* row = rowOf(*this, popupItem);
    return row != nullptr ? row->style : 0;
}

void PopupMenu::SetItemStyle(short popupItem, short style) const {
    if (sim::ListRow* row = rowOf(*this, popupItem)) {
        row->style = style;
    }
}

short PopupMenu::GetValue() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->selected : 0;
}

void PopupMenu::SetValue(short popupItem) const {
    sim::RowModel* model = rowsOf(*this);
    if (model != nullptr && model->isRow(popupItem) && !model->row(popupItem)->separator) {
        model->selected = popupItem;
    }
    sim::internal::mirrorSelection(GetPanelId(), GetId());
}

Int32 PopupMenu::GetControlKind() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->controlKind : 0;
}

void PopupMenu::SetControlKind(Int32 kind) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->controlKind = kind;
    }
}

GS::UniString PopupMenu::GetButtonText() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? GS::UniString(model->buttonText.c_str(), GS::USize(model->buttonText.size()))
                            : GS::UniString();
}

void PopupMenu::SetButtonText(const GS::UniString& text) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->buttonText = text.ToUTF8();
    }
}

DG::Icon PopupMenu::GetButtonIcon() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr && model->buttonIcon != 0 ? DG::Icon(model->buttonIcon) : DG::Icon();
}

void PopupMenu::SetButtonIcon(const DG::Icon& icon) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->buttonIcon = icon.GetResourceId() > 0 ? icon.GetResourceId() : 0;
    }
}

} // namespace UC
