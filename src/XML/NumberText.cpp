#include "XML/NumberText.h"

#include "Environment/ToString.h"

#include <charconv>
#include <limits>
#include <locale>
#include <sstream>
#include <string_view>
#include <system_error>

namespace zelvane {

namespace {

std::string_view view(String const& text) {
    return std::string_view(text.data(), text.dataLength());
}

void assign(String& text, char const* first, char const* last) {
    text.assign(first, static_cast<unsigned int>(last - first));
}

// An optional minus sign and 1 to `maxDigits` decimal digits, nothing else: the form every
// conversion reads the same way.
bool isPlainInteger(std::string_view text, bool sign, std::size_t maxDigits) {
    if (sign && !text.empty() && text[0] == '-') {
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

template <typename T>
T plainInteger(std::string_view text) {
    T value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Digits with an optional sign and fraction: strtod and from_chars give the same nearest double.
bool isPlainReal(std::string_view text) {
    if (!text.empty() && text[0] == '-') {
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 40) {
        return false;
    }
    std::size_t digits = 0;
    bool point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.' && !point && digits > 0 && i + 1 < text.size()) {
            point = true;
        } else {
            return false;
        }
    }
    return digits > 0;
}

} // namespace

void writeNumber(String& text, long long value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    assign(text, buffer, result.ptr);
}

void writeNumber(String& text, unsigned long long value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    assign(text, buffer, result.ptr);
}

void writeNumber(String& text, double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, 6);
    if (result.ec == std::errc()) {
        assign(text, buffer, result.ptr);
    } else {
        text = ToString(value, 0.0);
    }
}

void writeFixed(String& text, double value, unsigned int precision) {
    char buffer[512];
    auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed,
                                static_cast<int>(precision));
    if (result.ec == std::errc()) {
        assign(text, buffer, result.ptr);
        return;
    }
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(precision);
    out << value;
    std::string written = out.str();
    assign(text, written.data(), written.data() + written.size());
}

int readInt32(String const& text) {
    std::string_view digits = view(text);
    if (isPlainInteger(digits, true, 10)) {
        long long value = plainInteger<long long>(digits);
        if (value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()) {
            return static_cast<int>(value);
        }
    }
    return ToInt32(text).getValue();
}

unsigned int readUInt32(String const& text) {
    std::string_view digits = view(text);
    if (isPlainInteger(digits, false, 10)) {
        unsigned long long value = plainInteger<unsigned long long>(digits);
        if (value <= std::numeric_limits<unsigned int>::max()) {
            return static_cast<unsigned int>(value);
        }
    }
    return ToUInt32(text).getValue();
}

unsigned long long readUInt64(String const& text) {
    std::string_view digits = view(text);
    return isPlainInteger(digits, false, 19) ? plainInteger<unsigned long long>(digits)
                                             : ToUInt64(text).getValue();
}

double readDouble(String const& text) {
    std::string_view digits = view(text);
    if (isPlainReal(digits)) {
        double value = 0;
        auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec == std::errc() && result.ptr == digits.data() + digits.size()) {
            return value;
        }
    }
    return ToDouble(text).getValue();
}

} // namespace zelvane
