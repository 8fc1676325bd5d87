#include "DG/DGUnitFormat.hpp"

#include "ACAPI/Preferences.hpp"
#include "sim/Sim.h"
#include "sim/Units.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Unit {
    long double size;                // the unit in metres, square or cubic metres, or degrees
    const char* sign;                // as written
    bool spaced;                     // a space between number and sign
    std::vector<const char*> spells; // what the parser accepts besides the sign
};

const Unit metre{1.0L, "m", true, {}};
const Unit centimetre{0.01L, "cm", true, {}};
const Unit millimetre{0.001L, "mm", true, {}};
const Unit foot{0.3048L, "'", false, {"ft"}};
const Unit inch{0.0254L, "\"", false, {"in"}};

const Unit squareMetre{1.0L, "m\xC2\xB2", true, {"m2", "sq m"}};
const Unit squareCentimetre{1e-4L, "cm\xC2\xB2", true, {"cm2"}};
const Unit squareMillimetre{1e-6L, "mm\xC2\xB2", true, {"mm2"}};
const Unit squareInch{0.00064516L, "sq in", true, {"in\xC2\xB2", "in2"}};
const Unit squareFoot{0.09290304L, "sq ft", true, {"ft\xC2\xB2", "ft2"}};

const Unit cubicMetre{1.0L, "m\xC2\xB3", true, {"m3", "cu m"}};
const Unit cubicCentimetre{1e-6L, "cm\xC2\xB3", true, {"cm3"}};
const Unit cubicMillimetre{1e-9L, "mm\xC2\xB3", true, {"mm3"}};
const Unit cubicFoot{0.028316846592L, "cu ft", true, {"ft\xC2\xB3", "ft3"}};
const Unit cubicInch{1.6387064e-5L, "cu in", true, {"in\xC2\xB3", "in3"}};
const Unit cubicYard{0.764554857984L, "cu yd", true, {"yd\xC2\xB3", "yd3"}};
const Unit gallon{0.003785411784L, "gal", true, {}};

const Unit degree{1.0L, "\xC2\xB0", false, {"deg"}};
const Unit grad{0.9L, "gr", true, {"grad"}};
const Unit radian{57.295779513082320876798L, "rad", true, {}};

const std::vector<const Unit*> lengthUnits{&metre, &centimetre, &millimetre, &foot, &inch};
const std::vector<const Unit*> areaUnits{&squareMetre, &squareCentimetre, &squareMillimetre, &squareInch,
                                         &squareFoot};
const std::vector<const Unit*> volumeUnits{&cubicMetre, &cubicCentimetre, &cubicMillimetre, &cubicFoot,
                                           &cubicInch,  &cubicYard,       &gallon};
const std::vector<const Unit*> angleUnits{&degree, &grad, &radian};
const std::vector<const Unit*> noUnits;

bool isKnownKind(Int16 kind) {
    return kind >= DG_UNIT_REAL && kind <= DG_UNIT_INTEGER;
}

const std::vector<const Unit*>& unitsOf(Int16 kind) {
    switch (kind) {
    case DG_UNIT_LENGTH:
        return lengthUnits;
    case DG_UNIT_AREA:
        return areaUnits;
    case DG_UNIT_VOLUME:
        return volumeUnits;
    case DG_UNIT_ANGLE:
        return angleUnits;
    default:
        return noUnits;
    }
}

// The working unit of a kind; null for the plain kinds.
const Unit* workingUnit(Int16 kind) {
    sim::UnitPreferences prefs = sim::unitPreferences();
    switch (kind) {
    case DG_UNIT_LENGTH:
        switch (prefs.length) {
        case API_Centimeter:
            return &centimetre;
        case API_Millimeter:
            return &millimetre;
        case API_FootFracInch:
        case API_FootDecInch:
        case API_DecFoot:
            return &foot;
        case API_FracInch:
        case API_DecInch:
            return &inch;
        default:
            return &metre;
        }
    case DG_UNIT_AREA:
        switch (prefs.area) {
        case API_SqCentimeter:
            return &squareCentimetre;
        case API_SqMillimeter:
            return &squareMillimetre;
        case API_SqInch:
            return &squareInch;
        case API_SqFoot:
            return &squareFoot;
        default:
            return &squareMetre;
        }
    case DG_UNIT_VOLUME:
        switch (prefs.volume) {
        case API_CuCentimeter:
            return &cubicCentimetre;
        case API_CuMillimeter:
            return &cubicMillimetre;
        case API_CuFoot:
        case API_CuFoot + 1:
        case API_CuFoot + 2:
            return &cubicFoot;
        case API_CuInch:
        case API_CuInch + 1:
            return &cubicInch;
        case API_CuYard:
            return &cubicYard;
        case API_Gallon:
            return &gallon;
        default:
            return &cubicMetre;
        }
    case DG_UNIT_ANGLE:
        switch (prefs.angle) {
        case API_Grad:
            return &grad;
        case API_Radian:
            return &radian;
        default:
            return &degree;
        }
    default:
        return nullptr;
    }
}

// The value rounded to a number of significant digits (0: as many as it takes to read back the
// value itself), in the shorter of the fixed and the exponent form.
template <typename Number>
std::string number(Number value, int precision) {
    char digits[80];
    if (precision > 0) {
        std::to_chars_result r =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, precision);
        std::from_chars(digits, r.ptr, value);
    }
    std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, r.ptr);
}

std::string withSign(const std::string& digits, const Unit* unit) {
    if (unit == nullptr) {
        return digits;
    }
    return digits + (unit->spaced ? " " : "") + unit->sign;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

void skipSpace(const char*& p) {
    while (isSpace(*p)) {
        ++p;
    }
}

// An unsigned decimal number; not "inf" or "nan". Numbers in a unit other than the metric one are
// read in extended precision, so that the product with the unit's size can land on every double.
template <typename Number>
bool readMagnitude(const char*& p, Number& magnitude) {
    if (!((*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9'))) {
        return false;
    }
    std::from_chars_result r = std::from_chars(p, p + std::strlen(p), magnitude, std::chars_format::general);
    if (r.ec != std::errc()) {
        return false;
    }
    p = r.ptr;
    return true;
}

// The unit whose sign (or a spelling of it) comes next: the longest match wins ("m" against "mm").
const Unit* readUnit(const char*& p, const std::vector<const Unit*>& units) {
    const Unit* found = nullptr;
    std::size_t foundLength = 0;
    for (const Unit* unit : units) {
        std::vector<const char*> spells = unit->spells;
        spells.push_back(unit->sign);
        for (const char* spell : spells) {
            std::size_t n = std::strlen(spell);
            if (n > foundLength && std::strncmp(p, spell, n) == 0) {
                found = unit;
                foundLength = n;
            }
        }
    }
    p += foundLength;
    return found;
}

bool parse(const char* text, Int16 kind, double& value) {
    const char* p = text;
    skipSpace(p);
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* number = p;
    long double magnitude = 0;
    if (!readMagnitude(p, magnitude)) {
        return false;
    }
    const std::vector<const Unit*>& units = unitsOf(kind);
    const Unit* unit = nullptr;
    if (!units.empty()) {
        skipSpace(p);
        unit = readUnit(p, units);
        if (unit == nullptr) {
            unit = workingUnit(kind);
        }
    }
    double result = 0;
    if (unit == nullptr || unit->size == 1.0L) {
        if (!readMagnitude(number, result)) { // the nearest double to the decimal number itself
            return false;
        }
    } else {
        result = double(magnitude * unit->size);
    }
    if (unit == &foot) {
        // Feet may go on with inches: 3'-4" or 3' 4".
        const char* q = p;
        skipSpace(q);
        if (*q == '-') {
            ++q;
        }
        skipSpace(q);
        long double inches = 0;
        if (readMagnitude(q, inches)) {
            skipSpace(q);
            if (readUnit(q, lengthUnits) != &inch) {
                return false;
            }
            result = double((magnitude * 12 + inches) * inch.size);
            p = q;
        }
    }
    skipSpace(p);
    if (*p != '\0' || !std::isfinite(result)) {
        return false;
    }
    if (kind == DG_UNIT_INTEGER && (result != std::floor(result) ||
                                    result > std::numeric_limits<Int32>::max() + (negative ? 1.0 : 0.0))) {
        return false;
    }
    value = negative ? -result : result;
    return true;
}

std::string format(double value, Int16 kind) {
    if (kind == DG_UNIT_INTEGER) {
        return std::to_string(static_cast<long long>(value));
    }
    const Unit* unit = workingUnit(kind);
    if (unit == nullptr || unit->size == 1.0L) {
        return withSign(number(value, 0), unit);
    }
    long double quotient = value / unit->size;
    for (int precision = 1; precision <= std::numeric_limits<long double>::max_digits10; ++precision) {
        std::string text = withSign(number(quotient, precision), unit);
        double back = 0;
        if (parse(text.c_str(), kind, back) && back == value) {
            return text;
        }
    }
    // No text in the working unit reads back exactly: write the metric unit, which always does.
    return withSign(number(value, 0), unitsOf(kind).front());
}

GSErrCode copyOut(const std::string& text, char* buffer, Int32 size) {
    if (buffer == nullptr || size <= 0) {
        return ErrParam;
    }
    if (text.size() + 1 > std::size_t(size)) {
        buffer[0] = '\0';
        return ErrParam;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return NoError;
}

} // namespace

GSErrCode DGDoubleToStringUnit(double value, Int16 kind, char* buffer, Int32 size) {
    if (GSErrCode err = sim::enter("DGDoubleToStringUnit", kind); err != NoError) {
        return err;
    }
    if (!isKnownKind(kind) || !std::isfinite(value)) {
        return ErrParam;
    }
    if (kind == DG_UNIT_INTEGER &&
        (value != std::floor(value) || value < -2147483648.0 || value > 2147483647.0)) {
        return ErrParam;
    }
    return copyOut(format(value, kind), buffer, size);
}

GSErrCode DGIntToStringUnit(Int32 value, Int16 kind, char* buffer, Int32 size) {
    if (GSErrCode err = sim::enter("DGIntToStringUnit", kind); err != NoError) {
        return err;
    }
    if (!isKnownKind(kind)) {
        return ErrParam;
    }
    if (kind == DG_UNIT_REAL || kind == DG_UNIT_INTEGER) {
        return copyOut(std::to_string(value), buffer, size);
    }
    return copyOut(format(double(value), kind), buffer, size);
}

GSErrCode DGStringToDoubleUnit(const char* text, Int16 kind, double* value) {
    if (GSErrCode err = sim::enter("DGStringToDoubleUnit", kind); err != NoError) {
        return err;
    }
    double result = 0;
    if (text == nullptr || value == nullptr || !isKnownKind(kind) || !parse(text, kind, result)) {
        return ErrParam;
    }
    *value = result;
    return NoError;
}
