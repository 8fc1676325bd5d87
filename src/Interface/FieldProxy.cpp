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
    for (Int16 i = 0; i < count; ++i) {
        m_values.insert(m_values.begin() + row, nullptr);
    }
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
    auto slot = m_values.begin() + row;
    slot = m_values.erase(slot);
    m_values.insert(slot, held.release());
}

} // namespace zelvane
