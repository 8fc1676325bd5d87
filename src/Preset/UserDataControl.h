// A record list on a table control: each row stores an index of its own in its user value, and
// the control maps these indexes to record keys, so rows and records find each other. Rows show
// deprecated records in italic and records linking a deprecated one in red.
#pragma once

#include "Attribute/CadColour.h"
#include "Attribute/TextStyle.h"
#include "Interface/ListControl.h"
#include "Preset/UserDataFilteredControl.h"

#include <map>

namespace zelvane {

template <typename D>
class UserDataControl : public UserDataFilteredControl<D> {
public:
    using Key = typename D::Pair::first_type;
    using RecordPtr = typename D::RecordPtr;

    // The face and size every row starts from.
    static constexpr double rowTextSize = 4.2333333333336;

    // The table control of the dialog; null until the list is made.
    ListControl* getList() const { return m_list; }

    // The key of the row's record; null for a row outside the list or one mapped to no record.
    Key getRecordIndex(Int16 row) const {
        if (m_list == nullptr || row < 0 || row >= m_list->getRows()) {
            return Key();
        }
        auto found = m_keys.find(m_list->getUserData(row));
        return found != m_keys.end() ? found->second : Key();
    }
    Key getChoice(Int16 row) const { return getRecordIndex(row); }
    // The row of the key, which becomes selected; -1 when no row shows it.
    Int16 selectRowWith(Key const& key) {
        Int16 row = findRow(key);
        if (row >= 0) {
            m_list->setSelected(true, row);
        }
        return row;
    }
    Int16 findRow(Key const& key) const {
        if (m_list == nullptr || key == Key()) {
            return -1;
        }
        for (Int16 row = 0; row < m_list->getRows(); ++row) {
            if (getRecordIndex(row) == key) {
                return row;
            }
        }
        return -1;
    }
    // A new row index standing for the key.
    Int64 mapRecordIndex(Key const& key) {
        Int64 index = ++m_lastIndex;
        m_keys[index] = key;
        return index;
    }
    void clearEditMap() { m_keys.clear(); }
    TextStyle getRecordStyling(RecordPtr const& record) const {
        TextStyle style(TextStyle::plain, rowTextSize);
        if (record != nullptr && record->isDeprecated()) {
            style.setFace(TextStyle::italic);
        }
        if (record != nullptr && record->hasDeprecatedLink()) {
            style.setColour(CadColour(1.0, 0.0, 0.0, 1.0));
        }
        return style;
    }
    // Lets a derived list fill the other cells of a row.
    virtual void updateRowProxy(typename D::Pair const& /*pair*/, Int16 /*row*/) {}

protected:
    void setList(ListControl* list) { m_list = list; }

private:
    ListControl* m_list = nullptr; // owned by the dialog
    std::map<Int64, Key> m_keys;
    Int64 m_lastIndex = 0;
};

} // namespace zelvane
