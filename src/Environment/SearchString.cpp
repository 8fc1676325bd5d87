#include "Environment/SearchString.h"

#include <cstring>

namespace zelvane {

SearchString::SearchString(String const& pattern, String const& wildcard) : m_wildcard(wildcard) {
    parse(pattern);
}

SearchString& SearchString::operator=(String const& pattern) {
    parse(pattern);
    return *this;
}

void SearchString::parse(String const& pattern) {
    m_prefix.clear();
    m_middle.clear();
    m_suffix.clear();
    m_matchAll = pattern.empty();
    unsigned int first = pattern.find(m_wildcard);
    m_noWildcard = first == String::npos;
    if (m_matchAll) {
        return;
    }
    if (m_noWildcard) {
        m_middle = pattern;
        return;
    }
    m_prefix = pattern.substr(0, first);
    unsigned int last = pattern.rfind(m_wildcard);
    if (last + 1 != pattern.size()) {
        m_suffix = pattern.substr(last + 1);
    }
    if (last > first + 1) {
        m_middle = pattern.substr(first + 1, last - first - 1);
    }
}

bool SearchString::operator==(String const& text) const {
    if (m_matchAll) {
        return true;
    }
    if (m_noWildcard) {
        return text == m_middle;
    }
    // Prefix and suffix are whole characters, so equal bytes at either end are equal characters.
    const char* t = text.data();
    std::size_t length = text.dataLength();
    std::size_t prefix = m_prefix.dataLength();
    std::size_t suffix = m_suffix.dataLength();
    if (prefix > length || std::memcmp(t, m_prefix.data(), prefix) != 0) {
        return false;
    }
    if (suffix > length || std::memcmp(t + length - suffix, m_suffix.data(), suffix) != 0) {
        return false;
    }
    if (m_middle.empty()) {
        return true;
    }
    if (prefix + suffix >= length) {
        return false; // nothing lies between them
    }
    String between;
    between.append(t + prefix, unsigned(length - prefix - suffix));
    return between.find(m_middle) != String::npos;
}

String SearchString::getString() const {
    if (m_noWildcard) {
        return m_middle;
    }
    // A middle lies between two wildcards; without one, a single wildcard matches the same texts.
    String result = m_prefix;
    result += m_wildcard;
    if (!m_middle.empty()) {
        result += m_middle;
        result += m_wildcard;
    }
    result += m_suffix;
    return result;
}

} // namespace zelvane
