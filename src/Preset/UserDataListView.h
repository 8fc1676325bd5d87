// The record list of a user-data dialog: makes the table control on the dialog's list item and
// lays its columns out over the list's width, each keeping its share, 4 points apart.
#pragma once

#include "Interface/ControlLink.h"
#include "Preset/UserDataFlatControl.h"

namespace zelvane {

template <typename D>
class UserDataListView : public UserDataFlatControl<D> {
public:
    static constexpr Int16 columnGap = 4;
    static constexpr Int16 defaultColumnWidth = 40;

    // The table control of `rows` rows and `columns` columns on the item; the panel owns it.
    UserDataListView(InterfacePanel& panel, Int16 item, Int16 rows, Int16 columns) {
        auto* list = new ListControl(ControlLink(item, &panel), rows, columns < 1 ? Int16(1) : columns,
                                     ListColumnStyle(defaultColumnWidth, 0));
        list->setColumnGap(columnGap);
        this->setList(list);
        resizeColumns();
    }
    UserDataListView(UserDataListView const&) = delete;
    UserDataListView& operator=(UserDataListView const&) = delete;

    ListControl::iterator begin(ViewScope scope = allRows) { return this->getList()->begin(scope); }
    ListControl::iterator end() { return this->getList()->end(); }
    ListControl::iterator last(ViewScope scope = allRows) { return this->getList()->last(scope); }
    Int16 getRowCount() const { return this->getList()->getRows(); }

    // Makes the name column's editor the control; the name column is the one the list shows
    // record names in.
    bool initialise(DialogControl* nameEditor) {
        return this->getList()->addProxy(nameEditor, this->getNameColumn());
    }

    void resize(ScreenPoint const& delta) {
        this->getList()->resize(delta);
        resizeColumns();
    }
    void resizeAndMove(ScreenPoint const& sizeDelta, ScreenPoint const& offset) {
        this->getList()->resizeAndMove(sizeDelta, offset);
        resizeColumns();
    }
    // The columns share the list's width in the proportion of their present widths.
    void resizeColumns() {
        ListControl* list = this->getList();
        Int16 columns = list->getColumns();
        if (columns < 1) {
            return;
        }
        int total = 0;
        for (Int16 column = 0; column < columns; ++column) {
            total += list->getColumnStyle(column).getWidth();
        }
        int available = list->getWidth() - columnGap * (columns - 1);
        if (available < columns) {
            return;
        }
        int start = 0;
        for (Int16 column = 0; column < columns; ++column) {
            ListColumnStyle style = list->getColumnStyle(column);
            int width = total > 0 ? style.getWidth() * available / total : available / columns;
            if (column == columns - 1) {
                width = available - (start - column * columnGap);
            }
            style.setStart(Int16(start));
            style.setEnd(Int16(start + width));
            list->setColumnStyle(style, column);
            start += width + columnGap;
        }
    }
};

} // namespace zelvane
