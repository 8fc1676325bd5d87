#include "XML/XMLGlossary.h"

namespace zelvane {

XMLGlossary::XMLGlossary() {
    m_entries.reserve(5);
    m_entries.emplace_back(String("amp"), String("&"));
    m_entries.emplace_back(String("apos"), String("'"));
    m_entries.emplace_back(String("gt"), String(">"));
    m_entries.emplace_back(String("lt"), String("<"));
    m_entries.emplace_back(String("quot"), String("\""));
}

String const* XMLGlossary::find(std::string_view name) const {
    for (auto const& entry : m_entries) {
        if (std::string_view(entry.first.data(), entry.first.dataLength()) == name) {
            return &entry.second;
        }
    }
    return nullptr;
}

} // namespace zelvane
