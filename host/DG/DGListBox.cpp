#include "DG/DGListBox.hpp"

#include "sim/Lists.h"

#include <algorithm>

namespace {

sim::RowModel* rowsOf(const DG::Item& item) {
    return sim::findRows(item.GetPanelId(), item.GetId(), "listBox");
}

sim::ListRow* rowOf(const DG::Item& item, short listItem) {
    sim::RowModel* model = rowsOf(item);
    return model != nullptr ? model->row(listItem) : nullptr;
}

sim::HeaderItem* headerOf(const DG::Item& item, short headerItem) {
    sim::RowModel* model = rowsOf(item);
    if (model == nullptr || headerItem < 1 || std::size_t(headerItem) > model->header.size()) {
        return nullptr;
    }
    return &model->header[std::size_t(headerItem - 1)];
}

GS::UniString uni(const std::string& text) {
    return GS::UniString(text.c_str(), GS::USize(text.size()));
}

} // namespace

namespace DG {

ListBox::ListBox(const Panel& panel, short itemId, bool multiSelection) : Item(panel, itemId, "listBox") {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->multiSelection = multiSelection;
    }
}

short ListBox::GetItemCount() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->rowCount() : 0;
}

void ListBox::InsertItem(short listItem) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::insertRow(*model, listItem);
    }
}

void ListBox::AppendItem() const {
    InsertItem(0);
}

void ListBox::DeleteItem(short listItem) const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr) {
        return;
    }
    if (listItem == DG_ALL_ITEMS) {
        model->rows.clear();
        model->anchor = 0;
        return;
    }
    sim::internal::deleteRow(*model, listItem);
}

short ListBox::GetTabFieldCount() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->columns : 0;
}

void ListBox::SetTabFieldCount(short count) const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr || count < 1) {
        return;
    }
    model->columns = count;
    model->tabFields.resize(std::size_t(count));
    for (sim::ListRow& row : model->rows) {
        row.cells.resize(std::size_t(count));
        row.icons.resize(std::size_t(count));
    }
    for (auto it = model->onTab.begin(); it != model->onTab.end();) {
        it = it->first > count ? model->onTab.erase(it) : std::next(it);
    }
}

void ListBox::SetTabData(short count, const DGListTabData* fields) const {
    if (fields == nullptr || count < 1) {
        return;
    }
    SetTabFieldCount(count);
    if (sim::RowModel* model = rowsOf(*this)) {
        for (short i = 0; i < count; ++i) {
            sim::TabField& field = model->tabFields[std::size_t(i)];
            field.begin = fields[i].begPos;
            field.end = fields[i].endPos;
            field.justification = fields[i].justFlag;
            field.truncation = fields[i].truncFlag;
            field.flags = fields[i].flags;
        }
    }
}

bool ListBox::GetTabData(short tabIndex, DGListTabData* field) const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr || field == nullptr || tabIndex < 1 || tabIndex > model->columns) {
        return false;
    }
    const sim::TabField& found = model->tabFields[std::size_t(tabIndex - 1)];
    field->begPos = found.begin;
    field->endPos = found.end;
    field->justFlag = found.justification;
    field->truncFlag = found.truncation;
    field->flags = found.flags;
    return true;
}

GS::UniString ListBox::GetTabItemText(short listItem, short tabIndex) const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? uni(sim::internal::cellText(*model, listItem, tabIndex)) : GS::UniString();
}

void ListBox::SetTabItemText(short listItem, short tabIndex, const GS::UniString& text) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        sim::internal::setCellText(*model, listItem, tabIndex, text.ToUTF8());
    }
}

Icon ListBox::GetTabItemIcon(short listItem, short tabIndex) const {
    sim::ListRow* row = rowOf(*this, listItem);
    if (row == nullptr || tabIndex < 1 || std::size_t(tabIndex) > row->icons.size()) {
        return Icon();
    }
    short icon = row->icons[std::size_t(tabIndex - 1)];
    return icon != 0 ? Icon(icon) : Icon();
}

void ListBox::SetTabItemIcon(short listItem, short tabIndex, const Icon& icon) const {
    sim::ListRow* row = rowOf(*this, listItem);
    if (row != nullptr && tabIndex >= 1 && std::size_t(tabIndex) <= row->icons.size()) {
        row->icons[std::size_t(tabIndex - 1)] = icon.GetResourceId() > 0 ? icon.GetResourceId() : 0;
    }
}

void ListBox::GetItemColor(short listItem, UInt16* red, UInt16* green, UInt16* blue) const {
    sim::ListRow* row = rowOf(*this, listItem);
    UInt16 none[3] = {0, 0, 0};
    const UInt16* colour = row != nullptr ? row->colour : none;
    if (red != nullptr) {
        *red = colour[0];
    }
    if (green != nullptr) {
        *green = colour[1];
    }
    if (blue != nullptr) {
        *blue = colour[2];
    }
}

void ListBox::SetItemColor(short listItem, UInt16 red, UInt16 green, UInt16 blue) const {
    if (sim::ListRow* row = rowOf(*this, listItem)) {
        row->colour[0] = red;
        row->colour[1] = green;
        row->colour[2] = blue;
    }
}

void ListBox::SetItemBackground(short listItem, UInt16 red, UInt16 green, UInt16 blue) const {
    if (sim::ListRow* row = rowOf(*this, listItem)) {
        row->background[0] = red;
        row->background[1] = green;
        row->background[2] = blue;
    }
}

short ListBox::GetItemStatus(short listItem) const {
    sim::ListRow* row = rowOf(*this, listItem);
    return row != nullptr ? row->status : 0;
}

void ListBox::SetItemStatus(short listItem, short status) const {
    if (sim::ListRow* row = rowOf(*this, listItem)) {
        row->status = status;
    }
}

short ListBox::GetItemStyle(short listItem) const {
    sim::ListRow* row = rowOf(*this, listItem);
    return row != nullptr ? row->style : 0;
}

void ListBox::SetItemStyle(short listItem, short style) const {
    if (sim::ListRow* row = rowOf(*this, listItem)) {
        row->style = style;
    }
}

Int64 ListBox::GetItemValue(short listItem) const {
    sim::ListRow* row = rowOf(*this, listItem);
    return row != nullptr ? row->userData : 0;
}

void ListBox::SetItemValue(short listItem, Int64 value) const {
    if (sim::ListRow* row = rowOf(*this, listItem)) {
        row->userData = value;
    }
}

void ListBox::SelectItem(short listItem) const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr) {
        return;
    }
    if (listItem == DG_ALL_ITEMS) {
        if (model->multiSelection) {
            for (sim::ListRow& row : model->rows) {
                row.selected = true;
            }
        }
        return;
    }
    if (!model->isRow(listItem)) {
        return;
    }
    if (!model->multiSelection) {
        for (sim::ListRow& row : model->rows) {
            row.selected = false;
        }
    }
    model->row(listItem)->selected = true;
    model->anchor = listItem;
}

void ListBox::DeselectItem(short listItem) const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr) {
        return;
    }
    if (listItem == DG_ALL_ITEMS) {
        for (sim::ListRow& row : model->rows) {
            row.selected = false;
        }
    } else if (sim::ListRow* row = model->row(listItem)) {
        row->selected = false;
    }
}

bool ListBox::IsItemSelected(short listItem) const {
    sim::ListRow* row = rowOf(*this, listItem);
    return row != nullptr && row->selected;
}

short ListBox::GetSelectedItem(short startFrom) const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->firstSelected(startFrom) : 0;
}

short ListBox::GetSelectedCount() const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr) {
        return 0;
    }
    return short(std::count_if(model->rows.begin(), model->rows.end(),
                               [](const sim::ListRow& row) { return row.selected; }));
}

short ListBox::GetScrollPosition() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->vScroll : 0;
}

void ListBox::SetScrollPosition(short position) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->vScroll = std::clamp<short>(position, 0, std::max<short>(0, short(model->rowCount() - 1)));
    }
}

short ListBox::GetHScrollPosition() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->hScroll : 0;
}

void ListBox::SetHScrollPosition(short position) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->hScroll = std::max<short>(position, 0);
    }
}

short ListBox::GetItemHeight() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->rowHeight : 0;
}

void ListBox::GetHeaderFlags(bool* synchron, bool* pushable, bool* dragable) const {
    sim::RowModel* model = rowsOf(*this);
    bool* out[3] = {synchron, pushable, dragable};
    for (int i = 0; i < 3; ++i) {
        if (out[i] != nullptr) {
            *out[i] = model != nullptr && model->headerFlags[i];
        }
    }
}

void ListBox::SetHeaderFlags(bool synchron, bool pushable, bool dragable) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->headerFlags[0] = synchron;
        model->headerFlags[1] = pushable;
        model->headerFlags[2] = dragable;
    }
}

short ListBox::GetHeaderHeight() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? model->headerHeight() : 0;
}

short ListBox::GetHeaderItemCount() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr ? short(model->header.size()) : 0;
}

void ListBox::SetHeaderItemCount(short count) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->header.resize(std::size_t(std::max<short>(count, 0)));
    }
}

GS::UniString ListBox::GetHeaderItemText(short headerItem) const {
    sim::HeaderItem* found = headerOf(*this, headerItem);
    return found != nullptr ? uni(found->text) : GS::UniString();
}

void ListBox::SetHeaderItemText(short headerItem, const GS::UniString& text) const {
    if (sim::HeaderItem* found = headerOf(*this, headerItem)) {
        found->text = text.ToUTF8();
    }
}

short ListBox::GetHeaderItemSize(short headerItem) const {
    sim::HeaderItem* found = headerOf(*this, headerItem);
    return found != nullptr ? found->size : 0;
}

void ListBox::SetHeaderItemSize(short headerItem, short size) const {
    if (sim::HeaderItem* found = headerOf(*this, headerItem)) {
        found->size = std::max(size, found->minSize);
    }
}

short ListBox::GetHeaderItemMinSize(short headerItem) const {
    sim::HeaderItem* found = headerOf(*this, headerItem);
    return found != nullptr ? found->minSize : 0;
}

void ListBox::SetHeaderItemMinSize(short headerItem, short size) const {
    if (sim::HeaderItem* found = headerOf(*this, headerItem)) {
        found->minSize = std::max<short>(size, 0);
        found->size = std::max(found->size, found->minSize);
    }
}

ListBox::ArrowType ListBox::GetHeaderItemArrowType(short headerItem) const {
    sim::HeaderItem* found = headerOf(*this, headerItem);
    return found != nullptr ? ArrowType(found->arrow) : NoArrow;
}

void ListBox::SetHeaderItemArrowType(short headerItem, ArrowType arrow) const {
    if (sim::HeaderItem* found = headerOf(*this, headerItem)) {
        found->arrow = arrow;
    }
}

short ListBox::GetHeaderItemFlags(short headerItem) const {
    sim::HeaderItem* found = headerOf(*this, headerItem);
    return found != nullptr ? found->flags : 0;
}

void ListBox::SetHeaderItemFlags(short headerItem, short flags, bool on) const {
    if (sim::HeaderItem* found = headerOf(*this, headerItem)) {
        found->flags = short(on ? found->flags | flags : found->flags & ~flags);
    }
}

short ListBox::GetHeaderItemStyle(short headerItem) const {
    sim::HeaderItem* found = headerOf(*this, headerItem);
    return found != nullptr ? found->style : 0;
}

void ListBox::SetHeaderItemStyle(short headerItem, short style) const {
    if (sim::HeaderItem* found = headerOf(*this, headerItem)) {
        found->style = style;
    }
}

void ListBox::DisableDraw() const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->drawingOff = true;
    }
}

void ListBox::EnableDraw() const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->drawingOff = false;
    }
}

bool ListBox::IsDrawEnabled() const {
    sim::RowModel* model = rowsOf(*this);
    return model != nullptr && !model->drawingOff;
}

void ListBox::Redraw() const {
    sim::RowModel* model = rowsOf(*this);
    if (model != nullptr && !model->drawingOff) {
        ++model->redraws;
    }
}

void ListBox::RedrawItem(short listItem) const {
    sim::RowModel* model = rowsOf(*this);
    if (model != nullptr && !model->drawingOff && model->isRow(listItem)) {
        ++model->rowRedraws[listItem];
    }
}

void ListBox::SetOnTabItem(short tabIndex, const Item& item) const {
    sim::RowModel* model = rowsOf(*this);
    if (model != nullptr && tabIndex >= 1 && tabIndex <= model->columns &&
        item.GetPanelId() == GetPanelId()) {
        model->onTab[tabIndex] = item.GetId();
        // The item shows in the row, wherever it stood before.
        sim::PanelState* panel = sim::findPanel(GetPanelId());
        if (sim::ItemState* shown = panel != nullptr ? panel->findItem(item.GetId()) : nullptr) {
            shown->visible = true;
        }
    }
}

void ListBox::RemoveOnTabItem(short tabIndex) const {
    if (sim::RowModel* model = rowsOf(*this)) {
        model->onTab.erase(tabIndex);
    }
}

short ListBox::GetOnTabItem(short tabIndex) const {
    sim::RowModel* model = rowsOf(*this);
    if (model == nullptr) {
        return 0;
    }
    auto it = model->onTab.find(tabIndex);
    return it != model->onTab.end() ? it->second : 0;
}

} // namespace DG
