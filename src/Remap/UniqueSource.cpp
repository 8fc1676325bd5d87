#include "Remap/UniqueSource.h"

#include "Environment/Host.h"
#include "Interface/PopupMenu.h"

namespace zelvane::remap {

UniqueSource::UniqueSource(PopupMenu const& menu, Int16 row) : m_row(row) {
    for (Int16 index = 0; index < menu.getRows(); ++index) {
        m_labels.push_back(menu.getLabel(index));
    }
}

bool UniqueSource::checkName(String const& name, String& message) const {
    // The last row of that label, as the menu finds one.
    for (auto index = Int16(m_labels.size()); index-- > 0;) {
        if (m_labels[std::size_t(index)] == name) {
            if (index == m_row) {
                return true;
            }
            message = host.getLocalString(32522, 7);
            return false;
        }
    }
    return true;
}

String getSourceName(PopupMenu const& menu, Int16 row) {
    UniqueSource filter(menu, row);
    NameRequest request(&filter, host.getLocalString(32520, 2),
                        host.getLocalString(32522, row == UniqueSource::none ? 8 : 9), String());
    String name = request.getName();
    return request.isCancelled() ? String() : name;
}

} // namespace zelvane::remap
