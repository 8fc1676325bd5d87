#include "Environment/ToString.h"

#include "Environment/Guid.h"

#include "ACAPI/Preferences.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "DG/DGUnitFormat.hpp"
#include "IO/Location.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>
#include <type_traits>

namespace zelvane {

namespace {

constexpr double squareFeetPerSquareMetre = 10.763910416709724;

// A project is open and its working length unit is feet or inches; a host that cannot tell
// counts as metric.
bool isImperialProjectOpen() {
    API_ProjectInfo info;
    GSErrCode err = ACAPI_Environment(APIEnv_ProjectID, &info);
    delete info.location;
    if (err != NoError) {
        return false;
    }
    API_WorkingUnitPrefs units{};
    void* kind = reinterpret_cast<void*>(std::intptr_t(APIPrefs_WorkingUnitsID));
    return ACAPI_Environment(APIEnv_GetPreferencesID, &units, kind) == NoError &&
           units.lengthUnit >= API_FootFracInch;
}
constexpr double cubicFeetPerCubicMetre = 35.31466672148859;
constexpr Int32 hostTextSize = 256;

double roundToStep(double value, double step) {
    return step != 0 ? std::floor(value / step + 0.5) * step : value;
}

// As a standard output stream writes the value with default flags, in the classic locale.
template <typename T>
void write(String& text, T value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    std::string written = out.str();
    text.assign(written.c_str(), static_cast<unsigned int>(written.size()));
}

bool beginsWithMinus(String const& text) {
    for (char const* p = text.data(); *p != '\0'; ++p) {
        if (!std::isspace(*p, std::locale::classic())) {
            return *p == '-';
        }
    }
    return false;
}

// As a standard input stream reads the value with default flags, in the classic locale.
template <typename T>
bool read(String const& text, T& value) {
    value = 0;
    if (text.empty()) {
        return false;
    }
    std::istringstream in(text.data());
    in.imbue(std::locale::classic());
    in >> value;
    if (std::is_unsigned<T>::value && beginsWithMinus(text)) {
        // A stream takes "-1" for the largest value of an unsigned type.
        bool zero = !in.fail() && value == 0;
        value = 0;
        return zero;
    }
    return !in.fail() && !in.bad();
}

} // namespace

ToString::ToString(double value, double step) {
    write(*this, roundToStep(value, step));
}

ToString::ToString(double value, DoubleMeasure measure, double) {
    char text[hostTextSize];
    if (DGDoubleToStringUnit(value, static_cast<Int16>(measure), text, hostTextSize) == NoError) {
        assign(text);
    }
}

ToString::ToString(double value, NonLinearMeasure measure, double step) {
    value = roundToStep(value, step);
    if (isImperialProjectOpen()) {
        value *= measure == NonLinearMeasure::area ? squareFeetPerSquareMetre : cubicFeetPerCubicMetre;
    }
    write(*this, value);
}

ToString::ToString(bool value) : String(value ? "1" : "0") {}

ToString::ToString(short value) {
    write(*this, value);
}

ToString::ToString(unsigned short value) {
    write(*this, value);
}

ToString::ToString(int value) {
    write(*this, value);
}

ToString::ToString(unsigned int value) {
    write(*this, value);
}

ToString::ToString(long value) {
    write(*this, value);
}

ToString::ToString(unsigned long value) {
    write(*this, value);
}

ToString::ToString(long long value) {
    write(*this, value);
}

ToString::ToString(unsigned long long value) {
    write(*this, value);
}

ToString::ToString(int value, IntegerMeasure measure) {
    char text[hostTextSize];
    if (DGIntToStringUnit(value, static_cast<Int16>(measure), text, hostTextSize) == NoError) {
        assign(text);
    }
}

ToString::ToString(attribute_index index) {
    write(*this, index.getIndex());
}

ToString::ToString(Guid const& guid) {
    char text[Guid::textLength + 1];
    assign(guid.copyTo(text));
}

ToDouble::ToDouble(String const& text) {
    setValue(text);
}

ToDouble::ToDouble(String const& text, ToString::DoubleMeasure measure) {
    double value = 0;
    m_valid = DGStringToDoubleUnit(text.data(), static_cast<Int16>(measure), &value) == NoError;
    m_value = m_valid ? value : 0;
}

ToDouble& ToDouble::setValue(String const& text) {
    m_valid = read(text, m_value);
    return *this;
}

ToInt32::ToInt32(String const& text) {
    setValue(text);
}

ToInt32& ToInt32::setValue(String const& text) {
    m_valid = read(text, m_value);
    return *this;
}

ToUInt32::ToUInt32(String const& text) {
    setValue(text);
}

ToUInt32& ToUInt32::setValue(String const& text) {
    m_valid = read(text, m_value);
    return *this;
}

ToInt64::ToInt64(String const& text) {
    setValue(text);
}

ToInt64& ToInt64::setValue(String const& text) {
    m_valid = read(text, m_value);
    return *this;
}

ToUInt64::ToUInt64(String const& text) {
    setValue(text);
}

ToUInt64& ToUInt64::setValue(String const& text) {
    m_valid = read(text, m_value);
    return *this;
}

FromHex::FromHex(String const& text) {
    static const char digits[] = "0123456789ABCDEF";
    if (text.empty()) {
        return;
    }
    for (char const* p = text.data(); *p != '\0'; ++p) {
        char const* digit = std::char_traits<char>::find(digits, 16, *p);
        if (digit == nullptr) {
            return;
        }
        unsigned long long next = static_cast<unsigned long long>(digit - digits);
        if (m_value > (~0ULL - next) / 16) {
            return; // more than 64 bits
        }
        m_value = m_value * 16 + next;
    }
    m_valid = true;
}

FromOSType::FromOSType(unsigned int code) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((code >> shift) & 0xFF);
        if (c < 'A' || c > 'Z') {
            m_valid = false;
            return;
        }
        *this += c;
    }
}

String getVersionString(double version) {
    double hundredths = std::floor(version * 100 + 0.5);
    if (!(std::fabs(hundredths) < 9e18)) {
        return ToString(version); // not a finite number that two decimals can carry
    }
    long long whole = static_cast<long long>(hundredths);
    unsigned long long magnitude = whole < 0 ? 0ULL - static_cast<unsigned long long>(whole) : whole;
    String text;
    if (whole < 0) {
        text += '-';
    }
    text += ToString(magnitude / 100);
    text += '.';
    unsigned long long fraction = magnitude % 100;
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
    return text;
}

} // namespace zelvane
