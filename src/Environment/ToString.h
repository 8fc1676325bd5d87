// Conversions between numbers and text. Each is an object whose constructor does the work.
// Number text is written and read in the classic "C" locale; no conversion throws for bad text
// (only std::bad_alloc escapes), each reports through its flag.
#pragma once

#include "Attribute/AttributeIndex.h"
#include "Environment/String.h"

namespace zelvane {

class Guid;

// The text of a number, boolean, attribute index or GUID.
class ToString : public String {
public:
    // Unit kinds of the host's unit-aware formatting, handed to it unchanged.
    enum class DoubleMeasure : short { real = 3, angle = 4, area = 5, length = 6, volume = 7 };
    enum class IntegerMeasure : short { integer = 8 };
    // 0 is an area, any other value a volume.
    enum class NonLinearMeasure : short { area = 0, volume = 1 };

    // Six significant digits in the shorter of the fixed and exponent forms ("0.1", "100",
    // "1.23457e+06"), after rounding to a multiple of step when step is not 0: floor(value / step
    // + 0.5) * step, so halves round up towards positive infinity.
    explicit ToString(double value, double step = 0);
    // The host's formatting in the user's working units (step is not used); an empty text when
    // the host cannot format the value.
    ToString(double value, DoubleMeasure measure, double step = 0);
    // Rounded like ToString(double, step) in metric units; then, in an open project whose units
    // are not metric, in square or cubic feet.
    ToString(double value, NonLinearMeasure measure, double step = 0);
    // "1" or "0".
    explicit ToString(bool value);
    explicit ToString(short value);
    explicit ToString(unsigned short value);
    explicit ToString(int value);
    explicit ToString(unsigned int value);
    explicit ToString(long value);
    explicit ToString(unsigned long value);
    explicit ToString(long long value);
    explicit ToString(unsigned long long value);
    // The host's formatting of an integer; an empty text when the host cannot format it.
    ToString(int value, IntegerMeasure measure);
    // The signed 16-bit index.
    explicit ToString(attribute_index index);
    // The GUID's text form.
    explicit ToString(Guid const& guid);
    // A C text is already text (and would otherwise be taken for a boolean).
    ToString(char const*) = delete;
};

namespace detail {

// A number read from text: the value (0 until one is read) and whether the text began with one.
template <typename T>
class FromText {
public:
    T getValue() const { return m_value; }
    operator T() const { return m_value; }
    bool isValid() const { return m_valid; }

protected:
    FromText() = default;

    T m_value = 0;
    bool m_valid = false;
};

} // namespace detail

// Leading white space is skipped and text after the number is ignored ("12abc" gives 12). Empty
// text, or text that does not begin with a number, gives false; so does a number out of range
// (the value then holds the nearest limit) and, for the unsigned kinds, a negative number
// (value 0).
class ToDouble : public detail::FromText<double> {
public:
    explicit ToDouble(String const& text);
    // The host's reading of text in the user's working units; 0 and false when it refuses it.
    ToDouble(String const& text, ToString::DoubleMeasure measure);
    ToDouble& setValue(String const& text);
};

class ToInt32 : public detail::FromText<int> {
public:
    explicit ToInt32(String const& text);
    ToInt32& setValue(String const& text);
};

class ToUInt32 : public detail::FromText<unsigned int> {
public:
    explicit ToUInt32(String const& text);
    ToUInt32& setValue(String const& text);
};

class ToInt64 : public detail::FromText<long long> {
public:
    explicit ToInt64(String const& text);
    ToInt64& setValue(String const& text);
};

class ToUInt64 : public detail::FromText<unsigned long long> {
public:
    explicit ToUInt64(String const& text);
    ToUInt64& setValue(String const& text);
};

// Upper-case hexadecimal digits ("0123456789ABCDEF"). The first other character, or a digit that
// would overflow 64 bits, ends the reading with false; the value keeps the digits read before.
// Empty text gives false.
class FromHex : public detail::FromText<unsigned long long> {
public:
    explicit FromHex(String const& text);
};

// The text of a four-character code, most significant byte first: its upper-case ASCII letters up
// to the first byte that is not one, which ends the text and clears the flag.
class FromOSType : public String {
public:
    explicit FromOSType(unsigned int code);
    bool isValid() const { return m_valid; }

private:
    bool m_valid = true;
};

// A version number with two decimals: 21.5 gives "21.50", 1.05 gives "1.05", 0.5 gives "0.50".
String getVersionString(double version);

} // namespace zelvane
