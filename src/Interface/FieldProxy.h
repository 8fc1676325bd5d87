// The in-place editing of one list column: the control laid over the column's cell in the row
// being edited, whether it is shown, and the values the editor held for each row.
#pragma once

#include "Environment/Setting.h"
#include "Environment/Vector.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class DialogControl;

class FieldProxy {
public:
    explicit FieldProxy(DialogControl* editor = nullptr, Int16 rows = 0);
    FieldProxy(const FieldProxy& other) = default;
    FieldProxy& operator=(const FieldProxy& other) = default;
    virtual ~FieldProxy() = default;
    virtual FieldProxy* clone() const { return new FieldProxy(*this); }

    // Drops the values of the rows; the rows after them move up.
    virtual void deleteRow(Int16 row, Int16 count);
    // Empty values at the row; the rows from it move down.
    virtual void insertRow(Int16 row, Int16 count);

    // The editor (not owned); null for none.
    DialogControl* getEditor() const { return m_editor; }
    void setEditor(DialogControl* editor) { m_editor = editor; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    // The value stored for the row; null for none.
    const Setting* getValue(Int16 row) const;
    // Takes the value (null clears it), growing the store with empty values first.
    void setValue(Int16 row, Setting* value);

private:
    DialogControl* m_editor;
    bool m_visible = true;
    Vector<Setting> m_values;
};

} // namespace zelvane
