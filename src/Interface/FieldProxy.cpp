#include "Interface/FieldProxy.h"

#include <algorithm>
#include <memory>

namespace zelvane {

FieldProxy::FieldProxy(DialogControl* editor, Int16 rows) : m_editor(editor) {
    m_values.resize(std::size_t(std::max<Int16>(rows, 0)));
}

void FieldProxy::deleteRow(Int16 row, Int16 count) {
    if (row < 0 || count < 1 || std::size_t(row) >= m_values.size()) {
        return;
    }
    std::size_t end = std::min(m_values.size(), std::size_t(row) + std::size_t(count));
    m_values.erase(m_values.begin() + row, m_values.begin() + std::ptrdiff_t(end));
}

void FieldProxy::insertRow(Int16 row, Int16 count) {
    if (row < 0 || count < 1) {
        return;
    }
    if (std::size_t(row) > m_values.size()) {
        m_values.resize(std::size_t(row));
    }
    // The empty values go on the end and turn to the row in one pass: a list of thousands of rows
    // filled a row at a time would move every value after the row once per row.
    std::size_t end = m_values.size();
    m_values.resize(end + std::size_t(count));
    std::rotate(m_values.begin() + row, m_values.begin() + std::ptrdiff_t(end), m_values.end());
}

const Setting* FieldProxy::getValue(Int16 row) const {
    return row >= 0 && std::size_t(row) < m_values.size() ? m_values[std::size_t(row)] : nullptr;
}

void FieldProxy::setValue(Int16 row, Setting* value) {
    std::unique_ptr<Setting> held(value);
    if (row < 0) {
        return;
    }
    if (std::size_t(row) >= m_values.size()) {
        m_values.resize(std::size_t(row) + 1);
    }
    // The old value goes in its slot: the values after it stay where they are.
    Setting*& slot = m_values[std::size_t(row)];
    delete slot;
    slot = held.release();
}

} // namespace zelvane
