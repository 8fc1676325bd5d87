#include "sim/Lists.h"

#include "DG/DGListBox.hpp"
#include "DG/DGPopUp.hpp"
#include "UC/UCPopupMenu.hpp"
#include "sim/Escaped.h"
#include "sim/Resources.h"

#include <algorithm>

namespace sim {
namespace {

bool hasRows(const std::string& kind) {
    return kind == "popup" || kind == "userControl" || kind == "listBox";
}

std::vector<std::string> splitTabs(const std::string& text) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = text.find('\t', start);
        cells.push_back(text.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) {
            return cells;
        }
        start = tab + 1;
    }
}

std::shared_ptr<RowModel> makeModel(const PanelState& panel, const ItemState& item) {
    auto model = std::make_shared<RowModel>();
    short columns = 1;
    if (item.kind == "listBox") {
        const ResourceFile* file = resources(panel.module);
        const DialogTemplate* dialog = file != nullptr ? file->findDialog(panel.resourceID) : nullptr;
        const ItemTemplate* source = dialog != nullptr ? dialog->findItem(item.number) : nullptr;
        if (source != nullptr && source->columns > 1) {
            columns = source->columns;
        }
    }
    model->columns = columns;
    model->tabFields.resize(std::size_t(columns));
    short width = short(item.right - item.left);
    for (short c = 0; c < columns; ++c) {
        model->tabFields[std::size_t(c)].begin = short(width * c / columns);
        model->tabFields[std::size_t(c)].end = short(width * (c + 1) / columns);
    }
    for (const std::string& text : item.rows) {
        ListRow row = model->newRow();
        std::vector<std::string> cells =
            item.kind == "listBox" ? splitTabs(text) : std::vector<std::string>{text};
        for (std::size_t c = 0; c < cells.size() && c < row.cells.size(); ++c) {
            row.cells[c] = cells[c];
        }
        model->rows.push_back(row);
    }
    if (item.kind != "listBox" && item.value >= 1 && item.value <= model->rowCount()) {
        model->selected = item.value;
    }
    return model;
}

void selectOnly(RowModel& model, short row) {
    for (ListRow& each : model.rows) {
        each.selected = false;
    }
    if (ListRow* chosen = model.row(row)) {
        chosen->selected = true;
    }
    model.anchor = row;
}

std::vector<bool> selection(const RowModel& model) {
    std::vector<bool> flags;
    for (const ListRow& row : model.rows) {
        flags.push_back(row.selected);
    }
    return flags;
}

// A user's click on a row: the selection changes as the modifier keys say.
void clickSelect(RowModel& model, short row, bool command, bool shift) {
    if (!model.multiSelection || (!command && !shift)) {
        selectOnly(model, row);
        return;
    }
    if (command) {
        model.row(row)->selected = !model.row(row)->selected;
        model.anchor = row;
        return;
    }
    short anchor = model.isRow(model.anchor) ? model.anchor : row;
    for (short r = 1; r <= model.rowCount(); ++r) {
        model.row(r)->selected = r >= std::min(anchor, row) && r <= std::max(anchor, row);
    }
}

struct Target {
    short panel = 0;
    short item = 0;
    RowModel* model = nullptr;
};

std::string selectPopUpRow(short id, const ItemState& item, RowModel& model, Int32 row) {
    if (row < 0 || row >= model.rowCount()) {
        return "no row " + std::to_string(row);
    }
    if (model.rows[std::size_t(row)].separator) {
        return "row " + std::to_string(row) + " is a separator";
    }
    if (model.rows[std::size_t(row)].status != 0) {
        return "row " + std::to_string(row) + " is disabled";
    }
    model.selected = short(row + 1);
    internal::mirrorSelection(id, item.number);
    DG::ItemEvent event(id, item.number);
    if (item.kind == "popup") {
        notifyItem<DG::PopUpObserver>(id, item.number, [&](auto& o) { o.PopUpChanged(event); });
    } else {
        notifyItem<DG::UserControlObserver>(id, item.number, [&](auto& o) { o.UserControlChanged(event); });
    }
    return "";
}

void notifySelection(short id, short number) {
    DG::ListBoxSelectionEvent event(id, number);
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxSelectionChanged(event); });
}

bool parseModifiers(const std::string& text, bool& command, bool& option, bool& shift) {
    command = option = shift = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t plus = text.find('+', start);
        std::string key = text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        if (key == "command") {
            command = true;
        } else if (key == "option") {
            option = true;
        } else if (key == "shift") {
            shift = true;
        } else {
            return false;
        }
        if (plus == std::string::npos) {
            break;
        }
        start = plus + 1;
    }
    return true;
}

std::string clickRow(short id, short number, RowModel& model, const DialogAction& action, bool twice) {
    bool command = false, option = false, shift = false;
    if (!parseModifiers(action.text, command, option, shift)) {
        return "unknown modifier keys " + escaped(action.text);
    }
    short row = short(action.value + 1);
    if (!model.isRow(row)) {
        return "no row " + std::to_string(action.value);
    }
    int visible = row - 1 - model.vScroll;
    if (visible < 0) {
        return "row " + std::to_string(action.value) + " is scrolled out of sight";
    }
    short column = short(action.h + 1);
    if (column < 1 || column > short(model.tabFields.size())) {
        return "no tab field " + std::to_string(action.h);
    }
    const TabField& field = model.tabFields[std::size_t(column - 1)];
    short x = short((field.begin + field.end) / 2 - model.hScroll);
    short y = short(model.headerHeight() + visible * model.rowHeight + model.rowHeight / 2);
    std::vector<bool> before = selection(model);
    clickSelect(model, row, command, shift);
    if (selection(model) != before) {
        notifySelection(id, number);
    }
    DG::ListBoxClickEvent click(id, number, row, x, y, command, option, shift);
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxClicked(click); });
    if (twice) {
        notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxDoubleClicked(click); });
    }
    return "";
}

std::string editCell(short id, short number, RowModel& model, const DialogAction& action) {
    short row = short(action.value + 1);
    short column = short(action.h + 1);
    if (!model.isRow(row) || column < 1 || column > model.columns) {
        return "no cell (" + std::to_string(action.value) + ", " + std::to_string(action.h) + ")";
    }
    auto onTab = model.onTab.find(column);
    if (onTab == model.onTab.end()) {
        internal::setCellText(model, row, column, action.text);
        DG::ListBoxTabFieldUpdateEvent event(id, number, row, column);
        notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxTabFieldUpdate(event); });
        return "";
    }
    if (model.firstSelected() != row) {
        return "the editor of tab field " + std::to_string(action.h) + " is not on row " +
               std::to_string(action.value);
    }
    PanelState* panel = findPanel(id);
    ItemState* editor = panel->findItem(onTab->second);
    if (editor == nullptr || !editor->enabled || !editor->visible) {
        return "the editor of tab field " + std::to_string(action.h) + " cannot be used";
    }
    short editorNumber = editor->number;
    DG::ItemEvent event(id, editorNumber);
    if (editor->kind == "textEdit") {
        panel->focus = editorNumber;
        editor->text = action.text;
        notifyItem<DG::TextEditBaseObserver>(id, editorNumber, [&](auto& o) { o.TextEditChanged(event); });
        return "";
    }
    if (editor->kind == "popup" || editor->kind == "userControl") {
        RowModel* rows = findRows(id, editorNumber);
        for (short r = 0; rows != nullptr && r < rows->rowCount(); ++r) {
            if (!rows->rows[std::size_t(r)].separator && rows->rows[std::size_t(r)].cells[0] == action.text) {
                return selectPopUpRow(id, *editor, *rows, r);
            }
        }
        return "the editor has no row " + escaped(action.text);
    }
    return "the editor of tab field " + std::to_string(action.h) + " is a " + editor->kind;
}

std::string headerAction(short id, short number, RowModel& model, const DialogAction& action) {
    short item = short(action.value + 1);
    short count = short(model.header.size());
    if (item < 1 || item > count) {
        return "no header item " + std::to_string(action.value);
    }
    if (action.kind == DialogAction::clickHeader) {
        DG::ListBoxHeaderItemClickEvent event(id, number, item);
        notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxHeaderItemClicked(event); });
        return "";
    }
    if (action.kind == DialogAction::dragHeader) {
        short to = short(action.h + 1);
        if (!model.headerFlags[2]) {
            return "the header items cannot be dragged";
        }
        if (to < 1 || to > count) {
            return "no header position " + std::to_string(action.h);
        }
        HeaderItem moved = model.header[std::size_t(item - 1)];
        model.header.erase(model.header.begin() + (item - 1));
        model.header.insert(model.header.begin() + (to - 1), moved);
        DG::ListBoxHeaderItemDragEvent event(id, number, item, to);
        notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxHeaderItemDragged(event); });
        return "";
    }
    HeaderItem& resized = model.header[std::size_t(item - 1)];
    short change = short(std::max<int>(resized.minSize, resized.size + action.h) - resized.size);
    DG::ListBoxHeaderItemResizeEvent entered(id, number, item, 0);
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxHeaderItemResizeEntered(entered); });
    RowModel* live = findRows(id, number);
    if (live == nullptr || live->header.size() < std::size_t(item)) {
        return "";
    }
    live->header[std::size_t(item - 1)].size = short(live->header[std::size_t(item - 1)].size + change);
    DG::ListBoxHeaderItemResizeEvent event(id, number, item, change);
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxHeaderItemResized(event); });
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxHeaderItemResizeExited(event); });
    return "";
}

// Drags the selected rows of one list box onto another (or the same) at a row, or onto nothing.
std::string dragRows(short id, short number, RowModel& model, const DialogAction& action) {
    if (model.firstSelected() == 0) {
        return "no row is selected";
    }
    RowModel* target = nullptr;
    if (action.value != 0) {
        target = findRows(id, short(action.value), "listBox");
        if (target == nullptr) {
            return "no list box " + std::to_string(action.value);
        }
        if (action.h < 0 || action.h > target->rowCount()) {
            return "no row " + std::to_string(action.h) + " to drop at";
        }
    }
    DG::ListBoxDragSourceEvent source(id, number);
    bool canStart = true;
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxDragStarting(source, &canStart); });
    if (!canStart) {
        return "the drag was refused";
    }
    DG::DragDropEffect offered = DG::DragDropEffect(0);
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxDragStarted(source, &offered); });
    DG::DragDropEffect result = DG::DragDrop_Reject;
    if (action.value != 0 && findRows(id, short(action.value), "listBox") != nullptr) {
        short targetItem = short(action.value);
        target = findRows(id, targetItem, "listBox");
        short insertPos = short(action.h + 1);
        int visible = insertPos - 1 - target->vScroll;
        short y = short(target->headerHeight() + std::max(0, visible) * target->rowHeight + 2);
        short relative = target->isRow(insertPos) ? -1 : 0;
        DG::ListBoxDropTargetEvent over(id, targetItem, 4, y, insertPos, relative);
        DG::DragDropEffect effect = offered;
        bool accept = false;
        bool frame = false;
        notifyItem<DG::ListBoxObserver>(
            id, targetItem, [&](auto& o) { o.ListBoxDragEntered(over, &effect, &accept, &frame); });
        if (accept) {
            effect = offered;
            notifyItem<DG::ListBoxObserver>(id, targetItem,
                                            [&](auto& o) { o.ListBoxDragMoved(over, &effect); });
        }
        if (!accept || effect == DG::DragDrop_Reject) {
            notifyItem<DG::ListBoxObserver>(id, targetItem, [&](auto& o) { o.ListBoxDragLeft(over); });
        } else {
            notifyItem<DG::ListBoxObserver>(id, targetItem,
                                            [&](auto& o) { o.ListBoxDropped(over, &effect); });
            result = effect;
        }
    }
    notifyItem<DG::ListBoxObserver>(id, number, [&](auto& o) { o.ListBoxDragEnded(source, result); });
    return result == DG::DragDrop_Reject && action.value != 0 ? "the drop was refused" : "";
}

} // namespace

short RowModel::firstSelected(short from) const {
    for (short row = std::max<short>(from, 1); row <= rowCount(); ++row) {
        if (rows[std::size_t(row - 1)].selected) {
            return row;
        }
    }
    return 0;
}

ListRow RowModel::newRow() const {
    ListRow row;
    row.cells.resize(std::size_t(std::max<short>(columns, 1)));
    row.icons.resize(row.cells.size());
    return row;
}

RowModel* findRows(short panelId, short number) {
    PanelState* panel = findPanel(panelId);
    ItemState* item = panel != nullptr ? panel->findItem(number) : nullptr;
    if (item == nullptr || !hasRows(item->kind)) {
        return nullptr;
    }
    if (!item->rowModel) {
        item->rowModel = makeModel(*panel, *item);
    }
    return item->rowModel.get();
}

RowModel* findRows(short panelId, short number, const char* kind) {
    PanelState* panel = findPanel(panelId);
    ItemState* item = panel != nullptr ? panel->findItem(number) : nullptr;
    return item != nullptr && item->kind == kind ? findRows(panelId, number) : nullptr;
}

namespace internal {

void mirrorSelection(short panelId, short number) {
    PanelState* panel = findPanel(panelId);
    ItemState* item = panel != nullptr ? panel->findItem(number) : nullptr;
    if (item != nullptr && item->rowModel && item->kind != "listBox") {
        item->value = item->rowModel->selected;
    }
}

void insertRow(RowModel& model, short before, bool separator) {
    if (before < 1 || before > model.rowCount()) {
        before = short(model.rowCount() + 1);
    }
    ListRow row = model.newRow();
    row.separator = separator;
    model.rows.insert(model.rows.begin() + (before - 1), row);
    if (model.selected >= before) {
        ++model.selected;
    }
    if (model.anchor >= before) {
        ++model.anchor;
    }
}

void deleteRow(RowModel& model, short row) {
    if (!model.isRow(row)) {
        return;
    }
    model.rows.erase(model.rows.begin() + (row - 1));
    if (model.selected == row) {
        model.selected = 0;
    } else if (model.selected > row) {
        --model.selected;
    }
    if (model.anchor == row) {
        model.anchor = 0;
    } else if (model.anchor > row) {
        --model.anchor;
    }
}

std::string cellText(const RowModel& model, short row, short column) {
    if (!model.isRow(row) || column < 1) {
        return "";
    }
    const ListRow& found = model.rows[std::size_t(row - 1)];
    return std::size_t(column) <= found.cells.size() ? found.cells[std::size_t(column - 1)] : "";
}

void setCellText(RowModel& model, short row, short column, const std::string& text) {
    ListRow* found = model.row(row);
    if (found == nullptr || column < 1 || column > model.columns) {
        return;
    }
    if (found->cells.size() < std::size_t(column)) {
        found->cells.resize(std::size_t(column));
        found->icons.resize(std::size_t(column));
    }
    found->cells[std::size_t(column - 1)] = text;
}

bool performRowAction(short id, const DialogAction& action, std::string& failure) {
    PanelState* panel = findPanel(id);
    ItemState* item = panel != nullptr ? panel->findItem(action.item) : nullptr;
    bool listAction = action.kind >= DialogAction::clickRow && action.kind <= DialogAction::dragRows;
    if (item == nullptr ||
        (!listAction && !(action.kind == DialogAction::selectRow && hasRows(item->kind)))) {
        return false;
    }
    short number = item->number;
    RowModel* model = findRows(id, number);
    if (action.kind == DialogAction::selectRow) {
        if (item->kind != "listBox") {
            failure = selectPopUpRow(id, *item, *model, action.value);
            return true;
        }
        if (!model->isRow(short(action.value + 1))) {
            failure = "no row " + std::to_string(action.value);
            return true;
        }
        std::vector<bool> before = selection(*model);
        selectOnly(*model, short(action.value + 1));
        if (selection(*model) != before) {
            notifySelection(id, number);
        }
        return true;
    }
    if (item->kind != "listBox") {
        failure = "a " + item->kind + " is no list box";
        return true;
    }
    switch (action.kind) {
    case DialogAction::clickRow:
    case DialogAction::doubleClickRow:
        failure = clickRow(id, number, *model, action, action.kind == DialogAction::doubleClickRow);
        break;
    case DialogAction::editCell:
        failure = editCell(id, number, *model, action);
        break;
    case DialogAction::clickHeader:
    case DialogAction::dragHeader:
    case DialogAction::resizeHeader:
        failure = headerAction(id, number, *model, action);
        break;
    default:
        failure = dragRows(id, number, *model, action);
        break;
    }
    return true;
}

} // namespace internal
} // namespace sim
