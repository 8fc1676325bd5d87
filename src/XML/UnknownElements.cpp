#include "XML/UnknownElements.h"

#include <algorithm>

namespace zelvane {

bool UnknownElements::empty() const {
    return m_markup.empty() && std::all_of(m_inside.begin(), m_inside.end(),
                                           [](auto const& entry) { return entry.second.empty(); });
}

void UnknownElements::clear() {
    m_markup.clear();
    m_packages.clear();
    m_inside.clear();
}

KeptMarkup const* UnknownElements::findInside(unsigned int code) const {
    auto it = m_inside.find(code);
    return it != m_inside.end() ? &it->second : nullptr;
}

} // namespace zelvane
