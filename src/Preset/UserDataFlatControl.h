// A record list filled from the database's name list, one row per listed record in name order.
#pragma once

#include "Preset/UserDataControl.h"

namespace zelvane {

template <typename D>
class UserDataFlatControl : public UserDataControl<D> {
public:
    using Key = typename UserDataControl<D>::Key;

    // The name column of the rows.
    Int16 getNameColumn() const { return m_nameColumn; }
    void setNameColumn(Int16 column) { m_nameColumn = column; }

    // Lists the database's records the filters accept (and the record of `key` when the selection
    // is filtered) and selects the row of `key`, which it answers; -1, and no row selected, when
    // the key has no row.
    virtual Int16 refresh(D const& database, Key const& key) {
        ListControl* list = this->getList();
        if (list == nullptr) {
            return -1;
        }
        this->clearEditMap();
        list->setTableSize(0, list->getColumns() > 0 ? list->getColumns() : 1);
        Int16 selected = -1;
        auto names = database.getNameList();
        for (auto const& pair : *names) {
            if (pair.second == nullptr) {
                continue;
            }
            bool isKey = key != Key() && pair.first == key;
            if (!this->filterAccepts(pair) && !(isKey && this->isSelectionFiltered())) {
                continue;
            }
            Int16 row = addRow(pair);
            if (row < 0) {
                break;
            }
            if (isKey) {
                selected = row;
            }
        }
        if (selected >= 0) {
            list->setSelected(true, selected);
        }
        return selected;
    }

    // A row at the end for the pair: its name, its index and its styling; -1 when the list is full.
    virtual Int16 addRow(typename D::Pair const& pair) {
        ListControl* list = this->getList();
        Int16 row = list->getRows();
        if (!list->addRow()) {
            return -1;
        }
        list->setUserData(this->mapRecordIndex(pair.first), row);
        list->setText(pair.second->getName(), row, m_nameColumn);
        list->setStyle(this->getRecordStyling(pair.second), row, m_nameColumn);
        this->updateRowProxy(pair, row);
        return row;
    }

private:
    Int16 m_nameColumn = 0;
};

} // namespace zelvane
