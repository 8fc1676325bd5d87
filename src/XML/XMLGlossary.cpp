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
        // Compared up to the entry's terminator, without measuring it first.
        char const* entryName = entry.first.data();
        std::size_t same = 0;
        while (same < name.size() && entryName[same] != 0 && entryName[same] == name[same]) {
            ++same;
        }
        if (same == name.size() && entryName[same] == 0) {
            return &entry.second;
        }
    }
    return nullptr;
}

} // namespace zelvane
