#include "Preset/UniqueNameScan.h"

#include <cstring>
#include <string_view>

namespace zelvane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal texts without leading zeros: the longer is the larger, equal lengths compare by digits.
bool lessNumber(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string increment(std::string number) {
    std::size_t pos = number.size();
    while (pos > 0 && number[pos - 1] == '9') {
        number[--pos] = '0';
    }
    if (pos == 0) {
        number.insert(number.begin(), '1');
    } else {
        ++number[pos - 1];
    }
    return number;
}

} // namespace

UniqueNameScan::UniqueNameScan(String const& name) : m_name(name) {
    // Digits are single bytes in UTF-8, so the split can work on bytes.
    std::string_view text(m_name.data(), m_name.dataLength());
    std::size_t end = text.size();
    while (end > 0 && isDigit(text[end - 1])) {
        --end;
    }
    m_base.assign(text.substr(0, end));
    m_width = text.size() - end;
}

bool UniqueNameScan::take(String const& text) {
    std::string_view candidate(text.data(), text.dataLength());
    if (!m_base.empty() && candidate.compare(0, m_base.size(), m_base) != 0) {
        return false;
    }
    bool same = candidate == std::string_view(m_name.data(), m_name.dataLength());
    m_clash = m_clash || same;
    // Padding to the width adds only leading zeros, which a number ignores; an empty rest is 0.
    std::string_view rest = candidate.substr(m_base.size());
    for (char c : rest) {
        if (!isDigit(c)) {
            return same;
        }
    }
    std::size_t first = 0;
    while (first < rest.size() && rest[first] == '0') {
        ++first;
    }
    rest.remove_prefix(first);
    if (lessNumber(m_largest, rest)) {
        m_largest.assign(rest);
    }
    return same;
}

String UniqueNameScan::result() const {
    if (!m_clash) {
        return m_name;
    }
    std::string number = increment(m_largest);
    if (number.size() < m_width) {
        number.insert(0, m_width - number.size(), '0');
    }
    return String((m_base + number).c_str());
}

} // namespace zelvane
