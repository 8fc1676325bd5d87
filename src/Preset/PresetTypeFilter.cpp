#include "Preset/PresetTypeFilter.h"

#include "Interface/PopupMenu.h"

#include <algorithm>
#include <vector>

namespace zelvane {

PresetTypeFilter::PresetTypeFilter(PopupMenu* popup)
    : m_popup(popup), m_name(PresetDatabase::getTypeNames()) {
    if (m_popup == nullptr) {
        return;
    }
    m_popup->setTableSize(0, 1);
    if (m_name.empty()) {
        return;
    }
    std::vector<String> labels;
    for (auto const& entry : m_name) {
        labels.push_back(entry.second);
    }
    std::sort(labels.begin(), labels.end());
    for (String const& label : labels) {
        m_popup->addRow(label);
    }
    auto const& first = *m_name.begin();
    PresetDatabase::setDefaultTemplate(first.first, true);
    m_popup->setSelected(first.second, 0);
}

bool PresetTypeFilter::isAccepted(PresetDatabase::Pair const& pair) const {
    if (pair.second == nullptr || m_popup == nullptr) {
        return false;
    }
    auto entry = m_name.find(pair.second->getTypeName());
    return entry != m_name.end() && entry->second == m_popup->getSelectedLabel();
}

} // namespace zelvane
