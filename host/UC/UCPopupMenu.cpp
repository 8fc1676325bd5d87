#include "UC/UCPopupMenu.hpp"

#include "sim/Lists.h"
#include "sim/Sim.h"

namespace {

sim::RowModel* rowsOf(const DG::Item& item) {
    return sim::findRows(item.GetPanelId(), item.GetId(), "userControl");
}

} // namespace

namespace UC {

short PopupMenu::GetValue() const {
    return selectedRow();
}

void PopupMenu::SetValue(short popupItem) const {
    selectRow(popupItem);
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
